#include "store/sql_helpers.h"

#include "store/sql_values.h"
#include "store/transaction.h"

namespace store {

namespace {

QString escapeLike(const QString& text, bool starIsWildcard) {
    QString out;
    out.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%') || c == QLatin1Char('_')) {
            out += QLatin1Char('\\');
            out += c;
        } else if (starIsWildcard && c == QLatin1Char('*')) {
            out += QLatin1Char('%');
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

QString containsPattern(const QString& userText) {
    return QLatin1Char('%') + escapeLike(userText, true) + QLatin1Char('%');
}

QString beginsWithPattern(const QString& userText) {
    return escapeLike(userText, true) + QLatin1Char('%');
}

QString asTypedPattern(const QString& userText) {
    return escapeLike(userText, true);
}

QString literalPattern(const QString& text) {
    return escapeLike(text, false);
}

QString literalPrefixPattern(const QString& text) {
    return escapeLike(text, false) + QLatin1Char('%');
}

std::optional<qint64> nextNumber(Database& db, const QString& table, const QString& column) {
    const QVariant largest =
        db.scalar(QStringLiteral("SELECT max(%1) AS mm FROM %2").arg(column, table));
    if (largest.isNull())
        return std::nullopt;
    return largest.toLongLong() + 1;
}

qint64 insertWithNextNumber(Database& db, const QString& table, const QString& column,
                            qint64 firstWhenEmpty, const std::function<void(qint64)>& insert) {
    Transaction tx(db);
    qint64 number = nextNumber(db, table, column).value_or(firstWhenEmpty);
    for (int attempt = 0;; ++attempt) {
        try {
            Transaction tryThis(db);
            insert(number);
            tryThis.commit();
            break;
        } catch (const DbError&) {
            if (attempt > 0)
                throw;
            number = std::max(number + 1, nextNumber(db, table, column).value_or(firstWhenEmpty));
        }
    }
    tx.commit();
    return number;
}

qint64 insertAndGetId(Database& db, const QString& table, const QString& key, const QString& sql,
                      const Binds& binds) {
    Transaction tx(db);
    db.exec(sql, binds);
    const qint64 id =
        db.scalar(QStringLiteral("SELECT max(%1) FROM %2").arg(key, table)).toLongLong();
    tx.commit();
    return id;
}

double sumOrZero(Database& db, const QString& sql, const Binds& binds) {
    return amountFromDb(db.scalar(sql, binds));
}

} // namespace store

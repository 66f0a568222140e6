#include "store/sqlite_functions.h"

#include "store/db_error.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QString>
#include <QStringDecoder>
#include <QVarLengthArray>
#include <sqlite3.h>

namespace store {

namespace {

// The matcher on texts already folded to one case.
bool matchesFolded(QStringView pattern, QStringView text, QChar escape);

QString argText(sqlite3_value* value) {
    const auto* data = static_cast<const char16_t*>(sqlite3_value_text16(value));
    const int bytes = sqlite3_value_bytes16(value);
    return QString::fromUtf16(data, bytes / 2);
}

void resultText(sqlite3_context* ctx, const QString& text) {
    sqlite3_result_text16(ctx, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

QString argUtf8(sqlite3_value* value) {
    const auto* data = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return QString::fromUtf8(data, sqlite3_value_bytes(value));
}

// Folds a row's text in place when it holds only letters whose folding is one character for
// one (ASCII and Cyrillic, nearly every text here); false leaves the rest to QString.
bool foldSimple(QChar* text, qsizetype size) {
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80) {
            if (c >= u'A' && c <= u'Z')
                text[i] = QChar(c + (u'a' - u'A'));
        } else if (c >= 0x400 && c <= 0x4FF) {
            text[i] = QChar(char16_t(QChar::toCaseFolded(char32_t(c))));
        } else {
            return false;
        }
    }
    return true;
}

// One row's text against the folded pattern, decoded into a buffer on the stack: LIKE runs
// once per row of a search, and an allocation per row was most of its cost.
bool rowMatches(const QString& pattern, sqlite3_value* value, QChar escape) {
    const auto* data = reinterpret_cast<const char*>(sqlite3_value_text(value));
    const QByteArrayView utf8(data, sqlite3_value_bytes(value));
    QVarLengthArray<QChar, 256> buffer(utf8.size() + 1); // never more units than bytes
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const qsizetype size = decoder.appendToBuffer(buffer.data(), utf8) - buffer.data();
    if (foldSimple(buffer.data(), size))
        return matchesFolded(pattern, QStringView(buffer.data(), size), escape);
    return matchesFolded(pattern, QString::fromUtf8(utf8).toCaseFolded(), escape);
}

// The pattern is folded once per statement and kept as the argument's auxiliary data while it
// stays the same.
void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    QChar escape;
    if (argc == 3) {
        const QString e = argUtf8(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.at(0);
    }
    if (const auto* kept = static_cast<const QString*>(sqlite3_get_auxdata(ctx, 0))) {
        sqlite3_result_int(ctx, rowMatches(*kept, argv[1], escape) ? 1 : 0);
        return;
    }
    const QString pattern = argUtf8(argv[0]).toCaseFolded();
    sqlite3_result_int(ctx, rowMatches(pattern, argv[1], escape) ? 1 : 0);
    sqlite3_set_auxdata(ctx, 0, new QString(pattern),
                        [](void* p) { delete static_cast<QString*>(p); });
}

void lowerFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
    else
        resultText(ctx, argText(argv[0]).toLower());
}

void upperFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        sqlite3_result_null(ctx);
    else
        resultText(ctx, argText(argv[0]).toUpper());
}

} // namespace

bool likeMatches(const QString& rawPattern, const QString& rawText, QChar escape) {
    return matchesFolded(rawPattern.toCaseFolded(), rawText.toCaseFolded(), escape);
}

namespace {

bool matchesFolded(QStringView pattern, QStringView text, QChar escape) {
    // Iterative wildcard match with one backtrack point for the last %.
    qsizetype p = 0, t = 0, starP = -1, starT = -1;
    while (t < text.size()) {
        if (p < pattern.size()) {
            const QChar c = pattern.at(p);
            if (!escape.isNull() && c == escape && p + 1 < pattern.size()) {
                if (pattern.at(p + 1) == text.at(t)) {
                    p += 2;
                    ++t;
                    continue;
                }
            } else if (c == QLatin1Char('%')) {
                starP = p++;
                starT = t;
                continue;
            } else if (c == QLatin1Char('_') || c == text.at(t)) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP < 0)
            return false;
        p = starP + 1;
        t = ++starT;
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('%'))
        ++p;
    return p == pattern.size();
}

} // namespace

void registerSqliteFunctions(QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("The database driver gives no SQLite handle"));
    sqlite3* raw = *static_cast<sqlite3* const*>(handle.constData());
    if (!raw)
        throw DbError(QStringLiteral("The database connection is not open"));
    const int flags = SQLITE_UTF16 | SQLITE_DETERMINISTIC;
    const int likeFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    int rc = sqlite3_create_function_v2(raw, "like", 2, likeFlags, nullptr, likeFunction, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(raw, "like", 3, likeFlags, nullptr, likeFunction, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(raw, "lower", 1, flags, nullptr, lowerFunction, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(raw, "upper", 1, flags, nullptr, upperFunction, nullptr,
                                        nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw DbError(QString::fromUtf8(sqlite3_errmsg(raw)));
}

} // namespace store

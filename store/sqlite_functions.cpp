#include "store/sqlite_functions.h"

#include "store/db_error.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QString>
#include <sqlite3.h>

namespace store {

namespace {

QString argText(sqlite3_value* value) {
    const auto* data = static_cast<const char16_t*>(sqlite3_value_text16(value));
    const int bytes = sqlite3_value_bytes16(value);
    return QString::fromUtf16(data, bytes / 2);
}

void resultText(sqlite3_context* ctx, const QString& text) {
    sqlite3_result_text16(ctx, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
}

void likeFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return;
        }
    }
    QChar escape;
    if (argc == 3) {
        const QString e = argText(argv[2]);
        if (e.size() != 1) {
            sqlite3_result_error(ctx, "ESCAPE expression must be a single character", -1);
            return;
        }
        escape = e.at(0);
    }
    sqlite3_result_int(ctx, likeMatches(argText(argv[0]), argText(argv[1]), escape) ? 1 : 0);
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
    const QString pattern = rawPattern.toCaseFolded();
    const QString text = rawText.toCaseFolded();
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

void registerSqliteFunctions(QSqlDatabase& db) {
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("The database driver gives no SQLite handle"));
    sqlite3* raw = *static_cast<sqlite3* const*>(handle.constData());
    if (!raw)
        throw DbError(QStringLiteral("The database connection is not open"));
    const int flags = SQLITE_UTF16 | SQLITE_DETERMINISTIC;
    int rc = sqlite3_create_function_v2(raw, "like", 2, flags, nullptr, likeFunction, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(raw, "like", 3, flags, nullptr, likeFunction, nullptr,
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

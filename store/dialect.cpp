#include "store/dialect.h"

#include "store/sql_values.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace store {

QString Dialect::driverName() const {
    return engine_ == Engine::SQLite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL");
}

QString Dialect::columnType(ColumnType type, int size) const {
    const bool lite = engine_ == Engine::SQLite;
    switch (type) {
    case ColumnType::AutoNumber:
        return lite ? QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT")
                    : QStringLiteral("SERIAL PRIMARY KEY");
    case ColumnType::Long:
        return QStringLiteral("INTEGER");
    case ColumnType::Short:
        return QStringLiteral("SMALLINT");
    case ColumnType::Float:
        return QStringLiteral("DOUBLE PRECISION");
    case ColumnType::Single:
        return QStringLiteral("REAL");
    case ColumnType::Text:
        return QStringLiteral("VARCHAR(%1)").arg(size > 0 ? size : 255);
    case ColumnType::Memo:
        return QStringLiteral("TEXT");
    case ColumnType::Date:
        return QStringLiteral("DATE");
    case ColumnType::Time:
        return QStringLiteral("TIME");
    case ColumnType::DateTime:
        return lite ? QStringLiteral("DATETIME") : QStringLiteral("TIMESTAMP");
    case ColumnType::Bool:
        return QStringLiteral("BOOLEAN");
    }
    return QStringLiteral("TEXT");
}

QString Dialect::booleanLiteral(bool value) const {
    if (engine_ == Engine::SQLite)
        return value ? QStringLiteral("1") : QStringLiteral("0");
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

QString Dialect::beginTransaction() const {
    return engine_ == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN");
}

QString Dialect::caseInsensitiveLike(const QString& column, const QString& placeholder) const {
    // SQLite's own LIKE folds ASCII only; the connection replaces it with a Unicode-aware one.
    const QString op = engine_ == Engine::SQLite ? QStringLiteral("LIKE") : QStringLiteral("ILIKE");
    return QStringLiteral("%1 %2 %3 ESCAPE '\\'").arg(column, op, placeholder);
}

QVariant Dialect::toStorage(const QVariant& value) const {
    if (engine_ != Engine::SQLite)
        return value;
    switch (value.typeId()) {
    case QMetaType::QDate:
        return storageDate(value.toDate());
    case QMetaType::QTime:
        return storageTime(value.toTime());
    case QMetaType::QDateTime:
        return storageDateTime(value.toDateTime());
    default:
        return value;
    }
}

QStringList Dialect::indexNames(const QSqlDatabase& db) const {
    QSqlQuery q(db);
    q.exec(engine_ == Engine::SQLite
               ? QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index'")
               : QStringLiteral("SELECT indexname FROM pg_indexes WHERE schemaname = "
                                "current_schema()"));
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QString Dialect::indexTable(const QSqlDatabase& db, const QString& index) const {
    QSqlQuery q(db);
    q.prepare(engine_ == Engine::SQLite
                  ? QStringLiteral("SELECT tbl_name FROM sqlite_master WHERE type = 'index' AND "
                                   "lower(name) = lower(:name)")
                  : QStringLiteral("SELECT tablename FROM pg_indexes WHERE schemaname = "
                                   "current_schema() AND lower(indexname) = lower(:name)"));
    q.bindValue(QStringLiteral(":name"), index);
    if (q.exec() && q.next())
        return q.value(0).toString();
    return {};
}

QString Dialect::createIndex(const QString& name, const QString& table, const QString& columns,
                             bool unique) const {
    return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
        .arg(unique ? QStringLiteral("UNIQUE ") : QString(), name, table, columns);
}

QString Dialect::dropIndex(const QString& name, const QString&) const {
    return QStringLiteral("DROP INDEX \"%1\"").arg(name);
}

} // namespace store

#pragma once

#include <QString>
#include <QVariant>

class QSqlDatabase;

namespace store {

enum class Engine { SQLite, PostgreSQL };

// Storage types of the schema, named after the type words the tables are described with.
enum class ColumnType {
    AutoNumber,
    Long,
    Short,
    Float,
    Single,
    Text,
    Memo,
    Date,
    Time,
    DateTime,
    Bool
};

// Every difference between the engines lives here, so callers write one SQL for both.
class Dialect {
public:
    explicit Dialect(Engine engine) : engine_(engine) {}

    Engine engine() const { return engine_; }
    QString driverName() const;

    // DDL type of a column; size applies to Text (0 = the default width).
    QString columnType(ColumnType type, int size = 0) const;
    QString booleanLiteral(bool value) const;

    // Write transactions take the write lock at once, so two workstations that both read
    // "largest number plus one" cannot both insert it.
    QString beginTransaction() const;

    // "column LIKE :placeholder" that ignores letter case (Cyrillic included); the pattern
    // uses % and _ as wildcards and a backslash as escape character.
    QString caseInsensitiveLike(const QString& column, const QString& placeholder) const;

    // Dates, times and date-times in the storage form of the engine.
    QVariant toStorage(const QVariant& value) const;

    QStringList indexNames(const QSqlDatabase& db) const;
    // Name of the table an index belongs to, empty when there is no such index.
    QString indexTable(const QSqlDatabase& db, const QString& index) const;
    QString createIndex(const QString& name, const QString& table, const QString& columns,
                        bool unique) const;
    QString dropIndex(const QString& name, const QString& table) const;

private:
    Engine engine_;
};

} // namespace store

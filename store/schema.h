#pragma once

#include "store/dialect.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace store {

class Database;

struct ColumnDef {
    QString name;
    ColumnType type;
    int size = 0;            // Text width; 0 = default
    bool primaryKey = false; // AutoNumber columns are always the key
    bool unique = false;     // unique and required
};

struct TableDef {
    QString name;
    std::vector<ColumnDef> columns;
};

struct IndexDef {
    QString name;
    QString table;
    QString columns; // comma separated
    bool unique = false;
};

// Every table of the program with its columns, in the order they are described.
const std::vector<TableDef>& schemaTables();
const TableDef* findTable(const QString& name); // letter case ignored
// Indexes for the columns that lists and look-ups filter and sort on.
const std::vector<IndexDef>& schemaIndexes();
// The tables present in every database of the program, whatever its version.
QStringList coreTableNames();

QString createTableStatement(const Dialect& dialect, const TableDef& table);
QString addColumnStatement(const Dialect& dialect, const QString& table, const ColumnDef& column);

// Creates every table and index in an empty database (inside the caller's transaction).
void createSchema(Database& db);
// The rows of a new database: the three currencies and the administrator (every right, no
// password yet).
void seedNewDatabase(Database& db);

} // namespace store

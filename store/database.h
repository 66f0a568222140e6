#pragma once

#include "store/db_error.h"
#include "store/dialect.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantMap>
#include <memory>

namespace store {

// Values bound to ":name" placeholders; keys are given without the colon.
using Binds = QVariantMap;

// One connection to the workshop's database. Every statement runs with bound values; a
// statement the engine refuses throws DbError with the engine's text.
class Database {
public:
    // Opens an existing file. Refuses (DbError, file untouched) a missing file, a file that is
    // not a database, and a database that does not hold the workshop's tables.
    static std::unique_ptr<Database> openFile(const QString& path);
    // Creates a new database file with every table and the first rows. Refuses an existing
    // file; a failed creation leaves no file behind.
    static std::unique_ptr<Database> createFile(const QString& path);

    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    const Dialect& dialect() const { return dialect_; }
    QSqlDatabase& connection() { return db_; }
    const QSqlDatabase& connection() const { return db_; }
    QString filePath() const { return path_; }

    // Runs one statement; returns the positioned-before-first query for reading.
    QSqlQuery exec(const QString& sql, const Binds& binds = {});
    // First column of the first row, or a null QVariant when there is no row.
    QVariant scalar(const QString& sql, const Binds& binds = {});

    // Names compare without regard to letter case, as the engines do.
    QStringList tables() const;
    bool hasTable(const QString& table) const;
    QStringList columns(const QString& table) const;
    bool hasColumn(const QString& table, const QString& column) const;

    // Exchanges the files two connections work on; every reference to this object then works
    // on the other file. Used to switch the program to another database without a restart of
    // the windows that hold it. Neither side may be inside a transaction.
    void swap(Database& other);

    // Used by Transaction: nesting depth of open transactions on this connection.
    int& transactionDepth() { return transactionDepth_; }

private:
    Database(Engine engine, const QString& path);
    void openConnection();
    void configureSqlite();

    Dialect dialect_;
    QString path_;
    QString connectionName_;
    QSqlDatabase db_;
    int transactionDepth_ = 0;
};

// The tables every database of this program has had since its first version; a file without
// them belongs to some other program.
bool holdsWorkshopTables(const Database& db);

} // namespace store

#include "store/database.h"

#include "store/schema.h"
#include "store/schema_upgrade.h"
#include "store/sqlite_functions.h"
#include "store/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QUuid>

namespace store {

namespace {

QString engineText(const QSqlError& error) {
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.text();
    return text;
}

} // namespace

Database::Database(Engine engine, const QString& path)
    : dialect_(engine), path_(path),
      connectionName_(QStringLiteral("workshop-") + QUuid::createUuid().toString(QUuid::Id128)) {}

Database::~Database() {
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
    }
}

void Database::openConnection() {
    db_ = QSqlDatabase::addDatabase(dialect_.driverName(), connectionName_);
    db_.setDatabaseName(path_);
    // Another workstation may hold the write lock for a moment; wait rather than fail.
    db_.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    if (!db_.open())
        throw DbError(engineText(db_.lastError()));
    configureSqlite();
}

void Database::configureSqlite() {
    registerSqliteFunctions(db_);
    // A committed posting must survive a power cut: sync the journal and the file on commit.
    exec(QStringLiteral("PRAGMA synchronous = FULL"));
}

std::unique_ptr<Database> Database::openFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile())
        throw DbError(QStringLiteral("File not found: %1").arg(path));
    std::unique_ptr<Database> db(new Database(Engine::SQLite, info.absoluteFilePath()));
    db->openConnection();
    // Reading the catalogue is the first read of the file: a file that is not a database
    // fails here, before anything could be written to it.
    db->scalar(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (!holdsWorkshopTables(*db))
        throw DbError(QStringLiteral("The file is not a database of this program: %1").arg(path));
    return db;
}

std::unique_ptr<Database> Database::createFile(const QString& path) {
    const QFileInfo info(path);
    if (info.exists())
        throw DbError(QStringLiteral("The file already exists: %1").arg(path));
    if (!info.absoluteDir().exists())
        throw DbError(QStringLiteral("The folder does not exist: %1").arg(info.absolutePath()));
    const QString absolute = info.absoluteFilePath();
    {
        // Probe that the folder takes a file before SQLite is asked to create one.
        QFile probe(absolute);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw DbError(
                QStringLiteral("Cannot write the file %1: %2").arg(absolute, probe.errorString()));
        probe.close();
        probe.remove();
    }
    std::unique_ptr<Database> db(new Database(Engine::SQLite, absolute));
    try {
        db->openConnection();
        Transaction tx(*db);
        createSchema(*db);
        seedNewDatabase(*db);
        markDataConversionsDone(*db);
        tx.commit();
    } catch (...) {
        db.reset();
        QFile::remove(absolute);
        QFile::remove(absolute + QStringLiteral("-journal"));
        throw;
    }
    return db;
}

void Database::swap(Database& other) {
    if (transactionDepth_ != 0 || other.transactionDepth_ != 0)
        throw DbError(QStringLiteral("Cannot switch a database inside a transaction"));
    std::swap(dialect_, other.dialect_);
    std::swap(path_, other.path_);
    std::swap(connectionName_, other.connectionName_);
    std::swap(db_, other.db_);
}

QSqlQuery Database::exec(const QString& sql, const Binds& binds) {
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (binds.isEmpty()) {
        if (!q.exec(sql))
            throw DbError(engineText(q.lastError()));
        return q;
    }
    if (!q.prepare(sql))
        throw DbError(engineText(q.lastError()));
    for (auto it = binds.cbegin(); it != binds.cend(); ++it)
        q.bindValue(QLatin1Char(':') + it.key(), dialect_.toStorage(it.value()));
    if (!q.exec())
        throw DbError(engineText(q.lastError()));
    return q;
}

QVariant Database::scalar(const QString& sql, const Binds& binds) {
    QSqlQuery q = exec(sql, binds);
    return q.next() ? q.value(0) : QVariant();
}

QStringList Database::tables() const {
    return db_.tables(QSql::Tables);
}

bool Database::hasTable(const QString& table) const {
    return tables().contains(table, Qt::CaseInsensitive);
}

QStringList Database::columns(const QString& table) const {
    // The engine matches the table name without regard to case; use the stored name so that
    // the driver's quoting does not make the match exact.
    QStringList names;
    for (const QString& stored : tables()) {
        if (stored.compare(table, Qt::CaseInsensitive) != 0)
            continue;
        const QSqlRecord record = db_.record(stored);
        for (int i = 0; i < record.count(); ++i)
            names << record.fieldName(i);
        break;
    }
    return names;
}

bool Database::hasColumn(const QString& table, const QString& column) const {
    return columns(table).contains(column, Qt::CaseInsensitive);
}

bool holdsWorkshopTables(const Database& db) {
    const QStringList present = db.tables();
    for (const QString& table : coreTableNames()) {
        if (!present.contains(table, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

} // namespace store

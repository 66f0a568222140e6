#include "orders/external_store.h"

#include "store/sql_helpers.h"
#include "store/sql_values.h"
#include "store/sqlite_functions.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace orders {

namespace {

QString failureText(ExternalFailure failure) {
    switch (failure) {
    case ExternalFailure::CannotOpen:
        return QStringLiteral("cannot open the external warehouse database");
    case ExternalFailure::GoodsNotFound:
        return QStringLiteral("no such goods");
    case ExternalFailure::NotEnough:
        return QStringLiteral("not enough goods");
    case ExternalFailure::Refused:
        return QStringLiteral("the external warehouse database refused");
    }
    return {};
}

Goods goodsFrom(const QSqlQuery& q) {
    return Goods{q.value(0).toString(), q.value(1).toString(), store::amountFromDb(q.value(2)),
                 store::amountFromDb(q.value(3)), store::amountFromDb(q.value(4))};
}

const QString kGoodsColumns =
    QStringLiteral("SELECT Good, Name, Q_2, Price1_2, Price2_2 FROM goods");

} // namespace

ExternalStoreError::ExternalStoreError(ExternalFailure failure, const QString& detail)
    : std::runtime_error((failureText(failure) + QStringLiteral(": ") + detail).toStdString()),
      failure_(failure) {}

ExternalStore::ExternalStore(const QString& path)
    : path_(path), connectionName_(QStringLiteral("external-") + QUuid::createUuid().toString()) {
    // The SQLite driver would create a missing file; another program's database is never made.
    if (!QFileInfo(path).isFile())
        throw ExternalStoreError(ExternalFailure::CannotOpen, path);
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    db_.setDatabaseName(path);
    if (!db_.open() || !db_.tables().contains(QStringLiteral("goods"), Qt::CaseInsensitive)) {
        const QString reason = db_.lastError().text();
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
        throw ExternalStoreError(ExternalFailure::CannotOpen, path + QStringLiteral(" ") + reason);
    }
    store::registerSqliteFunctions(db_);
}

ExternalStore::~ExternalStore() {
    if (db_.isValid())
        db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

QSqlQuery ExternalStore::run(const QString& sql, const QVariantMap& binds) {
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw ExternalStoreError(ExternalFailure::Refused, q.lastError().text());
    for (auto it = binds.cbegin(); it != binds.cend(); ++it)
        q.bindValue(QLatin1Char(':') + it.key(), it.value());
    if (!q.exec())
        throw ExternalStoreError(ExternalFailure::Refused, q.lastError().text());
    return q;
}

QList<Goods> ExternalStore::goodsInStock(const QString& nameSearch) {
    QString sql = kGoodsColumns + QStringLiteral(" WHERE Q_2 > 0");
    QVariantMap binds;
    if (!nameSearch.isEmpty()) {
        sql += QStringLiteral(" AND Name LIKE :n ESCAPE '\\'");
        binds.insert(QStringLiteral("n"), store::asTypedPattern(nameSearch));
    }
    QSqlQuery q = run(sql + QStringLiteral(" ORDER BY Name, Good"), binds);
    QList<Goods> list;
    while (q.next())
        list.append(goodsFrom(q));
    return list;
}

std::optional<Goods> ExternalStore::find(const QString& good) {
    QSqlQuery q =
        run(kGoodsColumns + QStringLiteral(" WHERE Good = :g"), {{QStringLiteral("g"), good}});
    if (!q.next())
        return std::nullopt;
    return goodsFrom(q);
}

void ExternalStore::take(const QString& good, int quantity) {
    if (!find(good))
        throw ExternalStoreError(ExternalFailure::GoodsNotFound, good);
    // Check and change in one statement, so that two workstations cannot both take the last.
    QSqlQuery q =
        run(QStringLiteral("UPDATE goods SET Q_2 = Q_2 - :q WHERE Good = :g AND Q_2 >= :q"),
            {{QStringLiteral("q"), quantity}, {QStringLiteral("g"), good}});
    if (q.numRowsAffected() < 1)
        throw ExternalStoreError(ExternalFailure::NotEnough, good);
}

void ExternalStore::giveBack(const QString& good, int quantity) {
    QSqlQuery q =
        run(QStringLiteral("UPDATE goods SET Q_2 = coalesce(Q_2, 0) + :q WHERE Good = :g"),
            {{QStringLiteral("q"), quantity}, {QStringLiteral("g"), good}});
    if (q.numRowsAffected() < 1)
        throw ExternalStoreError(ExternalFailure::GoodsNotFound, good);
}

std::optional<QString> externalDatabasePath(const QStringList& paths, int index) {
    if (index < 0 || index >= paths.size())
        return std::nullopt;
    return paths.at(index);
}

} // namespace orders

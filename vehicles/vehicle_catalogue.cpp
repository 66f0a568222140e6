#include "vehicles/vehicle_catalogue.h"

#include "store/database.h"
#include "store/sql_helpers.h"
#include "store/transaction.h"

#include <QSqlQuery>

namespace vehicles {

namespace {

QList<NamedRow> namedRows(QSqlQuery q) {
    QList<NamedRow> rows;
    while (q.next())
        rows.append({q.value(0).toLongLong(), q.value(1).toString()});
    return rows;
}

std::optional<qint64> firstId(QSqlQuery q) {
    if (q.next())
        return q.value(0).toLongLong();
    return std::nullopt;
}

const QString kRowColumns =
    QStringLiteral("ID, idMarka, idModel, Modification, period, engine, kw, ccm");

QList<CatalogueRow> catalogueRows(QSqlQuery q) {
    QList<CatalogueRow> rows;
    while (q.next()) {
        rows.append({q.value(0).toLongLong(), q.value(1).toLongLong(), q.value(2).toLongLong(),
                     q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
                     q.value(6).toString(), q.value(7).toString()});
    }
    return rows;
}

} // namespace

QList<NamedRow> brands(store::Database& db) {
    return namedRows(db.exec(QStringLiteral("SELECT id, Marka FROM marka ORDER BY Marka, id")));
}

std::optional<qint64> findBrand(store::Database& db, const QString& name) {
    return firstId(db.exec(QStringLiteral("SELECT id FROM marka WHERE Marka = :n ORDER BY id"),
                           {{QStringLiteral("n"), name}}));
}

qint64 addBrand(store::Database& db, const QString& name) {
    return store::insertAndGetId(db, QStringLiteral("marka"), QStringLiteral("id"),
                                 QStringLiteral("INSERT INTO marka (Marka) VALUES (:n)"),
                                 {{QStringLiteral("n"), name}});
}

QList<NamedRow> models(store::Database& db, qint64 brandId) {
    return namedRows(db.exec(
        QStringLiteral("SELECT id, Model FROM models WHERE idMarka = :b ORDER BY Model, id"),
        {{QStringLiteral("b"), brandId}}));
}

std::optional<qint64> findModel(store::Database& db, qint64 brandId, const QString& name) {
    return firstId(db.exec(
        QStringLiteral("SELECT id FROM models WHERE idMarka = :b AND Model = :n ORDER BY id"),
        {{QStringLiteral("b"), brandId}, {QStringLiteral("n"), name}}));
}

qint64 addModel(store::Database& db, qint64 brandId, const QString& name) {
    return store::insertAndGetId(
        db, QStringLiteral("models"), QStringLiteral("id"),
        QStringLiteral("INSERT INTO models (idMarka, Model) VALUES (:b, :n)"),
        {{QStringLiteral("b"), brandId}, {QStringLiteral("n"), name}});
}

QList<CatalogueRow> modelRows(store::Database& db, qint64 modelId) {
    return catalogueRows(db.exec(QStringLiteral("SELECT %1 FROM car_modifications WHERE "
                                                "idModel = :m ORDER BY ID")
                                     .arg(kRowColumns),
                                 {{QStringLiteral("m"), modelId}}));
}

QList<CatalogueRow> findRows(store::Database& db, qint64 brandId, qint64 modelId,
                             const QString& modification, const std::optional<QString>& period,
                             const std::optional<QString>& engine) {
    QString sql = QStringLiteral("SELECT %1 FROM car_modifications WHERE idMarka = :b AND "
                                 "idModel = :m AND Modification = :mod")
                      .arg(kRowColumns);
    store::Binds binds{{QStringLiteral("b"), brandId},
                       {QStringLiteral("m"), modelId},
                       {QStringLiteral("mod"), modification}};
    // A period or engine never entered is stored empty or null; both mean "none".
    if (period) {
        sql += QStringLiteral(" AND coalesce(period, '') = :p");
        binds.insert(QStringLiteral("p"), *period);
    }
    if (engine) {
        sql += QStringLiteral(" AND coalesce(engine, '') = :e");
        binds.insert(QStringLiteral("e"), *engine);
    }
    return catalogueRows(db.exec(sql + QStringLiteral(" ORDER BY ID"), binds));
}

qint64 addModification(store::Database& db, qint64 brandId, qint64 modelId,
                       const QString& modification) {
    return store::insertAndGetId(
        db, QStringLiteral("car_modifications"), QStringLiteral("ID"),
        QStringLiteral("INSERT INTO car_modifications (idMarka, idModel, Modification) "
                       "VALUES (:b, :m, :mod)"),
        {{QStringLiteral("b"), brandId},
         {QStringLiteral("m"), modelId},
         {QStringLiteral("mod"), modification}});
}

void addPeriod(store::Database& db, qint64 brandId, qint64 modelId, const QString& modification,
               const QString& period) {
    store::Transaction tx(db);
    const QList<CatalogueRow> rows = findRows(db, brandId, modelId, modification);
    if (!rows.isEmpty() && rows.first().period.isEmpty()) {
        db.exec(QStringLiteral("UPDATE car_modifications SET period = :p WHERE ID = :id"),
                {{QStringLiteral("p"), period}, {QStringLiteral("id"), rows.first().id}});
    } else {
        db.exec(QStringLiteral("INSERT INTO car_modifications (idMarka, idModel, Modification, "
                               "period) VALUES (:b, :m, :mod, :p)"),
                {{QStringLiteral("b"), brandId},
                 {QStringLiteral("m"), modelId},
                 {QStringLiteral("mod"), modification},
                 {QStringLiteral("p"), period}});
    }
    tx.commit();
}

void updateEngineData(store::Database& db, qint64 rowId, const QString& engine, const QString& kw,
                      const QString& ccm) {
    db.exec(QStringLiteral("UPDATE car_modifications SET engine = :e, kw = :k, ccm = :c WHERE "
                           "ID = :id"),
            {{QStringLiteral("e"), engine},
             {QStringLiteral("k"), kw},
             {QStringLiteral("c"), ccm},
             {QStringLiteral("id"), rowId}});
}

} // namespace vehicles

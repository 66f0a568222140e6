#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace store {
class Database;
}

// The vehicle catalogue: brands, their models, and per model the rows of modification,
// production period, engine, power and displacement. It grows while users type cars in.
namespace vehicles {

struct NamedRow {
    qint64 id = 0;
    QString name;
};

struct CatalogueRow {
    qint64 id = 0;
    qint64 brandId = 0;
    qint64 modelId = 0;
    QString modification;
    QString period;
    QString engine;
    QString kw;
    QString ccm;
};

QList<NamedRow> brands(store::Database& db);
// Exact, case-sensitive match; the first of several.
std::optional<qint64> findBrand(store::Database& db, const QString& name);
qint64 addBrand(store::Database& db, const QString& name);

QList<NamedRow> models(store::Database& db, qint64 brandId);
std::optional<qint64> findModel(store::Database& db, qint64 brandId, const QString& name);
qint64 addModel(store::Database& db, qint64 brandId, const QString& name);

// Every catalogue row of a model in the order they were entered (a modification with several
// periods or engines appears once per row).
QList<CatalogueRow> modelRows(store::Database& db, qint64 modelId);
// Rows of one modification, optionally of one period, optionally of one engine.
QList<CatalogueRow> findRows(store::Database& db, qint64 brandId, qint64 modelId,
                             const QString& modification,
                             const std::optional<QString>& period = std::nullopt,
                             const std::optional<QString>& engine = std::nullopt);
qint64 addModification(store::Database& db, qint64 brandId, qint64 modelId,
                       const QString& modification);
// Records a production period of a modification: fills the period of its row when that row
// has none, otherwise appends a row with the period.
void addPeriod(store::Database& db, qint64 brandId, qint64 modelId, const QString& modification,
               const QString& period);

// Engine, power and displacement are entered in the all-cars overview.
void updateEngineData(store::Database& db, qint64 rowId, const QString& engine, const QString& kw,
                      const QString& ccm);

} // namespace vehicles

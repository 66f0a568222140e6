#pragma once

#include <QString>
#include <QStringList>

namespace store {

class Database;

// What a database lacks compared with the current schema.
struct UpgradePlan {
    QStringList missingTables;  // schema names
    QStringList missingColumns; // "table.column", schema names
    QStringList missingIndexes; // index names
    // Conversions of the data alone, which add no column: each leaves a marker row once done.
    QList<int> pendingConversions; // marker ids in `connect`
    bool isEmpty() const {
        return missingTables.isEmpty() && missingColumns.isEmpty() && missingIndexes.isEmpty() &&
               pendingConversions.isEmpty();
    }
};

// A message the upgrade leaves for the user, shown by the caller once the upgrade succeeded.
struct UpgradeNotice {
    QString caption;
    QString text;
};

struct UpgradeResult {
    UpgradePlan plan;
    QList<UpgradeNotice> notices;
};

// Reads what is missing; writes nothing.
UpgradePlan planUpgrade(const Database& db);

// Brings the file up to the current schema in one transaction: creates missing tables, adds
// missing columns (names compared without regard to letter case), converts the data the new
// columns need and creates missing indexes. A table, column or index the engine refuses is
// skipped; a failed data conversion throws DbError and leaves the file as it was. A current
// database is not written to at all.
UpgradeResult upgradeSchema(Database& db);

// Marker rows in `connect` of the conversions of data alone.
inline constexpr int kRegistrationNumbersMarker = 101;

// A new database needs none of the conversions: their markers are written with it.
void markDataConversionsDone(Database& db);

// The text shown once when the individual rights strings were created from the old levels.
QString newRightsSystemNotice();

} // namespace store

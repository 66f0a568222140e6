#include "store/schema_upgrade.h"

#include "store/registration_number.h"

#include "store/database.h"
#include "store/operation_paths.h"
#include "store/rights.h"
#include "store/schema.h"
#include "store/transaction.h"

#include <QSet>
#include <QSqlQuery>

namespace store {

namespace {

QString columnKey(const QString& table, const QString& column) {
    return table + QLatin1Char('.') + column;
}

bool planHas(const UpgradePlan& plan, const QString& table, const QString& column) {
    return plan.missingColumns.contains(columnKey(table, column), Qt::CaseInsensitive);
}

// Runs a statement whose failure the upgrade skips (a savepoint keeps the transaction usable).
void tryExec(Database& db, const QString& sql) {
    try {
        Transaction step(db);
        db.exec(sql);
        step.commit();
    } catch (const DbError&) {
    }
}

// Invoices written before the bank/cash split count as paid in cash.
void splitInvoicePayments(Database& db) {
    db.exec(QStringLiteral("UPDATE FactData SET sumBank = 0, sumBroy = EndSum"));
}

// Every employee gets the rights preset of the old level; an unknown level takes the preset
// of the employee before them.
void rightsFromLevels(Database& db) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT id, Nivo FROM clerks ORDER BY id"));
    QList<std::pair<qint64, QString>> assignments;
    QString previous;
    while (q.next()) {
        const QVariant level = q.value(1);
        if (const auto preset = rightsPresetForLevel(level.isNull() ? -1 : level.toInt()))
            previous = *preset;
        assignments.append({q.value(0).toLongLong(), previous});
    }
    for (const auto& [id, rights] : assignments)
        db.exec(QStringLiteral("UPDATE clerks SET preferences = :rights WHERE id = :id"),
                {{QStringLiteral("rights"), rights}, {QStringLiteral("id"), id}});
}

bool idIsPrimaryKey(Database& db, const QString& table) {
    if (db.dialect().engine() != Engine::SQLite)
        return true;
    QSqlQuery q = db.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (q.next()) {
        if (q.value(1).toString().compare(QLatin1String("id"), Qt::CaseInsensitive) == 0)
            return q.value(5).toInt() > 0;
    }
    return false;
}

// Old files keyed the parts on something else under the index "PrimaryKey"; the parts are
// keyed on id. A failure here stops the start.
void keyPartsOnId(Database& db) {
    const QString owner = db.dialect().indexTable(db.connection(), QStringLiteral("PrimaryKey"));
    if (owner.compare(QLatin1String("parts"), Qt::CaseInsensitive) == 0)
        db.exec(db.dialect().dropIndex(QStringLiteral("PrimaryKey"), owner));
    if (!idIsPrimaryKey(db, QStringLiteral("parts")))
        db.exec(db.dialect().createIndex(QStringLiteral("parts_id_key"), QStringLiteral("parts"),
                                         QStringLiteral("id"), true));
}

// Registration numbers typed before they were kept in one form.
void normaliseRegistrationNumbers(Database& db) {
    for (const auto& [table, key, column] :
         {std::tuple{"porychka", "idPor", "serial"}, std::tuple{"cars", "id", "RegNo"}}) {
        QSqlQuery q =
            db.exec(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %2 IS NOT NULL")
                        .arg(QLatin1String(key), QLatin1String(column), QLatin1String(table)));
        QList<std::pair<QVariant, QString>> changes;
        while (q.next()) {
            const QString stored = q.value(1).toString();
            const QString normal = normalRegistrationNumber(stored);
            if (normal != stored)
                changes.append({q.value(0), normal});
        }
        for (const auto& [id, normal] : changes)
            db.exec(QStringLiteral("UPDATE %1 SET %2 = :n WHERE %3 = :id")
                        .arg(QLatin1String(table), QLatin1String(column), QLatin1String(key)),
                    {{QStringLiteral("n"), normal}, {QStringLiteral("id"), id}});
    }
}

struct DataConversion {
    int marker;
    const char* note;
    void (*run)(Database&);
};

const DataConversion kDataConversions[] = {
    {kRegistrationNumbersMarker, "registration numbers in one form", normaliseRegistrationNumbers},
};

bool conversionDone(const Database& db, int marker) {
    QSqlQuery q(db.connection());
    q.prepare(QStringLiteral("SELECT count(*) FROM connect WHERE id = :id"));
    q.bindValue(QStringLiteral(":id"), marker);
    return q.exec() && q.next() && q.value(0).toInt() > 0;
}

void markDone(Database& db, const DataConversion& c) {
    db.exec(
        QStringLiteral("INSERT INTO connect (id, Special) VALUES (:id, :note)"),
        {{QStringLiteral("id"), c.marker}, {QStringLiteral("note"), QString::fromLatin1(c.note)}});
}

} // namespace

void markDataConversionsDone(Database& db) {
    for (const DataConversion& c : kDataConversions)
        markDone(db, c);
}

QString newRightsSystemNotice() {
    return QStringLiteral("ВНИМЕНИЕ: Създадена е нова система за права на потребителите на "
                          "програмата!\n\nMoжете да задавате индивидуални права за всеки "
                          "потребител!");
}

UpgradePlan planUpgrade(const Database& db) {
    UpgradePlan plan;
    const QStringList present = db.tables();
    for (const TableDef& table : schemaTables()) {
        if (!present.contains(table.name, Qt::CaseInsensitive)) {
            plan.missingTables << table.name;
            continue;
        }
        const QStringList columns = db.columns(table.name);
        for (const ColumnDef& column : table.columns) {
            if (!columns.contains(column.name, Qt::CaseInsensitive))
                plan.missingColumns << columnKey(table.name, column.name);
        }
    }
    if (present.contains(QStringLiteral("connect"), Qt::CaseInsensitive)) {
        for (const DataConversion& c : kDataConversions) {
            if (!conversionDone(db, c.marker))
                plan.pendingConversions << c.marker;
        }
    }
    const QStringList indexes = db.dialect().indexNames(db.connection());
    for (const IndexDef& index : schemaIndexes()) {
        if (!indexes.contains(index.name, Qt::CaseInsensitive))
            plan.missingIndexes << index.name;
    }
    return plan;
}

UpgradeResult upgradeSchema(Database& db) {
    UpgradeResult result;
    result.plan = planUpgrade(db);
    const UpgradePlan& plan = result.plan;
    if (plan.isEmpty())
        return result;

    Transaction tx(db);
    for (const QString& name : plan.missingTables)
        tryExec(db, createTableStatement(db.dialect(), *findTable(name)));

    for (const QString& key : plan.missingColumns) {
        const QString table = key.section(QLatin1Char('.'), 0, 0);
        const QString column = key.section(QLatin1Char('.'), 1);
        for (const ColumnDef& def : findTable(table)->columns) {
            if (def.name == column)
                tryExec(db, addColumnStatement(db.dialect(), table, def));
        }
    }

    if (planHas(plan, QStringLiteral("FactData"), QStringLiteral("Deleted")))
        splitInvoicePayments(db);
    if (planHas(plan, QStringLiteral("operations"), QStringLiteral("times")))
        assignTreePathsFromClassification(db);
    if (planHas(plan, QStringLiteral("clerks"), QStringLiteral("preferences"))) {
        rightsFromLevels(db);
        result.notices.append({QStringLiteral("Съобщение"), newRightsSystemNotice()});
    }
    if (planHas(plan, QStringLiteral("parts"), QStringLiteral("idMarka")))
        keyPartsOnId(db);

    for (const DataConversion& c : kDataConversions) {
        if (plan.pendingConversions.contains(c.marker) ||
            plan.missingTables.contains(QStringLiteral("connect"), Qt::CaseInsensitive)) {
            c.run(db);
            markDone(db, c);
        }
    }

    for (const IndexDef& index : schemaIndexes()) {
        if (plan.missingIndexes.contains(index.name, Qt::CaseInsensitive))
            tryExec(db,
                    db.dialect().createIndex(index.name, index.table, index.columns, index.unique));
    }
    tx.commit();
    return result;
}

} // namespace store

#include "warehouse/part_catalogue.h"

#include "store/database.h"
#include "store/sql_helpers.h"
#include "store/sql_values.h"
#include "store/transaction.h"

#include <QSqlQuery>

namespace warehouse {

namespace {

using store::Binds;

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

QVariant idOrNull(const std::optional<qint64>& id) {
    return id ? QVariant(*id) : QVariant();
}

// "... AND id <> :own" for a part being edited.
QString ownRowExcluded(const Part& part, Binds& binds) {
    if (part.id == 0)
        return {};
    binds.insert(QStringLiteral("own"), part.id);
    return QStringLiteral(" AND id <> :own");
}

bool barcodeTaken(store::Database& db, const Part& part) {
    Binds binds{{QStringLiteral("code"), part.barcode}};
    const QString sql = QStringLiteral("SELECT min(id) FROM parts WHERE barcode = :code") +
                        ownRowExcluded(part, binds);
    return !db.scalar(sql, binds).isNull();
}

bool identityTaken(store::Database& db, const Part& part) {
    Binds binds{{QStringLiteral("part"), part.part},
                {QStringLiteral("maker"), *part.makerId},
                {QStringLiteral("type"), *part.typeId}};
    const QString sql = QStringLiteral("SELECT min(id) FROM parts WHERE Part = :part AND "
                                       "idMarka = :maker AND TypeID = :type") +
                        ownRowExcluded(part, binds);
    return !db.scalar(sql, binds).isNull();
}

Part partFromRow(const QSqlQuery& q) {
    Part p;
    p.id = q.value(QStringLiteral("id")).toLongLong();
    p.part = q.value(QStringLiteral("Part")).toString();
    p.partNo = q.value(QStringLiteral("PartNo")).toString();
    p.catalogs = q.value(QStringLiteral("catalogs")).toString();
    p.opis = q.value(QStringLiteral("Opis")).toString();
    p.barcode = q.value(QStringLiteral("barcode")).toString();
    if (!q.value(QStringLiteral("TypeID")).isNull())
        p.typeId = q.value(QStringLiteral("TypeID")).toLongLong();
    if (!q.value(QStringLiteral("idMarka")).isNull())
        p.makerId = q.value(QStringLiteral("idMarka")).toLongLong();
    p.amnt = q.value(QStringLiteral("amnt")).toInt();
    p.inPrice = store::amountFromDb(q.value(QStringLiteral("inPrice")));
    p.ipVal =
        q.value(QStringLiteral("ipVal")).isNull() ? 1 : q.value(QStringLiteral("ipVal")).toInt();
    p.outPrice = store::amountFromDb(q.value(QStringLiteral("outPrice")));
    p.salePrice = store::amountFromDb(q.value(QStringLiteral("salePrice")));
    p.opVal =
        q.value(QStringLiteral("opVal")).isNull() ? 1 : q.value(QStringLiteral("opVal")).toInt();
    p.type = q.value(QStringLiteral("TypeName")).toString();
    p.maker = q.value(QStringLiteral("MakerName")).toString();
    return p;
}

} // namespace

std::optional<PartProblem> checkPart(store::Database& db, const Part& part) {
    if (part.part.trimmed().isEmpty())
        return PartProblem{PartProblemKind::NoDesignation, PartField::Designation,
                           QStringLiteral("Моля въведете обозначение за частта!")};
    if (!part.typeId)
        return PartProblem{PartProblemKind::NoType, PartField::Type,
                           QStringLiteral("Моля въведете тип за частта!")};
    if (!part.makerId)
        return PartProblem{PartProblemKind::NoMaker, PartField::Maker,
                           QStringLiteral("Моля въведете марка (производител) за частта!")};
    if (!part.barcode.isEmpty() && barcodeTaken(db, part))
        return PartProblem{PartProblemKind::BarcodeTaken, PartField::Barcode,
                           QStringLiteral("Такъв баркод вече е въведен!")};
    if (identityTaken(db, part))
        return PartProblem{PartProblemKind::AlreadyEntered, PartField::Designation,
                           nameOf(db, kPartMakers, *part.makerId) + QLatin1Char(' ') +
                               nameOf(db, kPartTypes, *part.typeId) + QLatin1Char(' ') + part.part +
                               QStringLiteral(" вече е въведен!")};
    return std::nullopt;
}

std::optional<PartProblem> savePart(store::Database& db, Part& part) {
    part.part = part.part.trimmed();
    store::Transaction tx(db);
    if (auto problem = checkPart(db, part))
        return problem;
    Binds binds{{QStringLiteral("part"), part.part},
                {QStringLiteral("partNo"), textOrNull(part.partNo)},
                {QStringLiteral("catalogs"), textOrNull(part.catalogs)},
                {QStringLiteral("opis"), textOrNull(part.opis)},
                {QStringLiteral("barcode"), textOrNull(part.barcode)},
                {QStringLiteral("type"), idOrNull(part.typeId)},
                {QStringLiteral("maker"), idOrNull(part.makerId)}};
    if (part.id == 0) {
        part.id = store::insertAndGetId(
            db, QStringLiteral("parts"), QStringLiteral("id"),
            QStringLiteral("INSERT INTO parts (Part, PartNo, catalogs, Opis, barcode, TypeID, "
                           "idMarka, amnt) VALUES (:part, :partNo, :catalogs, :opis, :barcode, "
                           ":type, :maker, 0)"),
            binds);
    } else {
        binds.insert(QStringLiteral("id"), part.id);
        db.exec(QStringLiteral("UPDATE parts SET Part = :part, PartNo = :partNo, "
                               "catalogs = :catalogs, Opis = :opis, barcode = :barcode, "
                               "TypeID = :type, idMarka = :maker WHERE id = :id"),
                binds);
    }
    tx.commit();
    return std::nullopt;
}

std::optional<Part> loadPart(store::Database& db, qint64 id) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT p.*, t.Type AS TypeName, m.Marka AS MakerName "
                                         "FROM parts p LEFT JOIN typeParts t ON t.id = p.TypeID "
                                         "LEFT JOIN partMarka m ON m.id = p.idMarka "
                                         "WHERE p.id = :id"),
                          {{QStringLiteral("id"), id}});
    if (!q.next())
        return std::nullopt;
    return partFromRow(q);
}

std::optional<qint64> partIdByBarcode(store::Database& db, const QString& barcode,
                                      bool inStockOnly) {
    if (barcode.isEmpty())
        return std::nullopt;
    const QVariant id =
        db.scalar(QStringLiteral("SELECT min(id) FROM parts WHERE barcode = :code") +
                      (inStockOnly ? QStringLiteral(" AND amnt > 0") : QString()),
                  {{QStringLiteral("code"), barcode}});
    if (id.isNull())
        return std::nullopt;
    return id.toLongLong();
}

QList<NamedEntry> namesOf(store::Database& db, const NameList& list) {
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT id, %1 FROM %2 ORDER BY %1, id")
                    .arg(QString::fromLatin1(list.column), QString::fromLatin1(list.table)));
    QList<NamedEntry> entries;
    while (q.next())
        entries.append({q.value(0).toLongLong(), q.value(1).toString()});
    return entries;
}

std::optional<qint64> saveName(store::Database& db, const NameList& list, qint64 id,
                               const QString& name) {
    const QString table = QString::fromLatin1(list.table);
    const QString column = QString::fromLatin1(list.column);
    const QString trimmed = name.trimmed();
    store::Transaction tx(db);
    // Types have no unique key in the table, so the name is checked here for both lists.
    const QVariant other = db.scalar(
        QStringLiteral("SELECT min(id) FROM %1 WHERE %2 = :name AND id <> :id").arg(table, column),
        {{QStringLiteral("name"), trimmed}, {QStringLiteral("id"), id}});
    if (!other.isNull())
        return std::nullopt;
    if (id == 0) {
        id = store::insertAndGetId(
            db, table, QStringLiteral("id"),
            QStringLiteral("INSERT INTO %1 (%2) VALUES (:name)").arg(table, column),
            {{QStringLiteral("name"), trimmed}});
    } else {
        db.exec(QStringLiteral("UPDATE %1 SET %2 = :name WHERE id = :id").arg(table, column),
                {{QStringLiteral("name"), trimmed}, {QStringLiteral("id"), id}});
    }
    tx.commit();
    return id;
}

QString nameOf(store::Database& db, const NameList& list, qint64 id) {
    return db
        .scalar(QStringLiteral("SELECT %1 FROM %2 WHERE id = :id")
                    .arg(QString::fromLatin1(list.column), QString::fromLatin1(list.table)),
                {{QStringLiteral("id"), id}})
        .toString();
}

} // namespace warehouse

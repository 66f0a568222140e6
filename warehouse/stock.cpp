#include "warehouse/stock.h"

#include "store/database.h"
#include "store/transaction.h"

#include <QSqlQuery>
#include <algorithm>

namespace warehouse {

namespace {

using store::Binds;

QString refusalText(StockRefusal refusal) {
    switch (refusal) {
    case StockRefusal::NotPositive:
        return QStringLiteral("count of units is not positive");
    case StockRefusal::AboveStock:
        return QStringLiteral("more units than in stock");
    case StockRefusal::UnknownPart:
        return QStringLiteral("no such part");
    case StockRefusal::UnknownSerial:
        return QStringLiteral("no unit in stock with this serial number");
    case StockRefusal::EmptySerial:
        return QStringLiteral("empty serial number");
    }
    return {};
}

bool partExists(store::Database& db, qint64 partId) {
    return !db.scalar(QStringLiteral("SELECT id FROM parts WHERE id = :id"),
                      {{QStringLiteral("id"), partId}})
                .isNull();
}

// PartSN rows that name a unit; NULL and empty text alike name none.
const QString kNamedSerial = QStringLiteral("SN IS NOT NULL AND SN <> ''");

void requirePositive(int count, qint64 partId) {
    if (count <= 0)
        throw StockError(StockRefusal::NotPositive, QStringLiteral("part %1").arg(partId));
}

void requireSerial(const QString& serial, qint64 partId) {
    if (serial.trimmed().isEmpty())
        throw StockError(StockRefusal::EmptySerial, QStringLiteral("part %1").arg(partId));
}

} // namespace

StockError::StockError(StockRefusal refusal, const QString& detail)
    : std::runtime_error((refusalText(refusal) + QStringLiteral(": ") + detail).toStdString()),
      refusal_(refusal) {}

int unitsInStock(store::Database& db, qint64 partId) {
    const QVariant amnt =
        db.scalar(QStringLiteral("SELECT coalesce(amnt, 0) FROM parts WHERE id = :id"),
                  {{QStringLiteral("id"), partId}});
    if (amnt.isNull())
        throw StockError(StockRefusal::UnknownPart, QStringLiteral("part %1").arg(partId));
    return amnt.toInt();
}

void takeUnits(store::Database& db, qint64 partId, int count) {
    requirePositive(count, partId);
    store::Transaction tx(db);
    QSqlQuery changed = db.exec(QStringLiteral("UPDATE parts SET amnt = coalesce(amnt, 0) - :n "
                                               "WHERE id = :id AND coalesce(amnt, 0) >= :atLeast"),
                                {{QStringLiteral("n"), count},
                                 {QStringLiteral("id"), partId},
                                 {QStringLiteral("atLeast"), count}});
    if (changed.numRowsAffected() != 1) {
        if (!partExists(db, partId))
            throw StockError(StockRefusal::UnknownPart, QStringLiteral("part %1").arg(partId));
        throw StockError(StockRefusal::AboveStock,
                         QStringLiteral("part %1, %2 wanted").arg(partId).arg(count));
    }
    tx.commit();
}

void addUnits(store::Database& db, qint64 partId, int count) {
    requirePositive(count, partId);
    store::Transaction tx(db);
    QSqlQuery changed =
        db.exec(QStringLiteral("UPDATE parts SET amnt = coalesce(amnt, 0) + :n WHERE id = :id"),
                {{QStringLiteral("n"), count}, {QStringLiteral("id"), partId}});
    if (changed.numRowsAffected() != 1)
        throw StockError(StockRefusal::UnknownPart, QStringLiteral("part %1").arg(partId));
    tx.commit();
}

void takeSerialUnit(store::Database& db, qint64 partId, const QString& serial) {
    requireSerial(serial, partId);
    store::Transaction tx(db);
    const Binds key{{QStringLiteral("p"), partId}, {QStringLiteral("sn"), serial.trimmed()}};
    const QVariant row =
        db.scalar(QStringLiteral("SELECT min(id) FROM PartSN WHERE idPart = :p AND SN = :sn"), key);
    if (row.isNull())
        throw StockError(StockRefusal::UnknownSerial,
                         QStringLiteral("part %1, serial %2").arg(partId).arg(serial));
    takeUnits(db, partId, 1);
    db.exec(QStringLiteral("DELETE FROM PartSN WHERE id = :id"), {{QStringLiteral("id"), row}});
    tx.commit();
}

void addSerialUnit(store::Database& db, qint64 partId, const QString& serial,
                   const QString& serial2) {
    requireSerial(serial, partId);
    store::Transaction tx(db);
    addUnits(db, partId, 1);
    db.exec(QStringLiteral("INSERT INTO PartSN (idPart, SN, SN2) VALUES (:p, :sn, :sn2)"),
            {{QStringLiteral("p"), partId},
             {QStringLiteral("sn"), serial.trimmed()},
             {QStringLiteral("sn2"), serial2.isEmpty() ? QVariant() : QVariant(serial2)}});
    tx.commit();
}

int plainUnitsInStock(store::Database& db, qint64 partId) {
    const int serialUnits =
        db.scalar(QStringLiteral("SELECT count(*) FROM PartSN WHERE idPart = :p AND ") +
                      kNamedSerial,
                  {{QStringLiteral("p"), partId}})
            .toInt();
    return std::max(0, unitsInStock(db, partId) - serialUnits);
}

void takePlainUnits(store::Database& db, qint64 partId, int count) {
    requirePositive(count, partId);
    store::Transaction tx(db);
    // One statement, as in takeUnits, so that two workstations cannot both take the last one.
    QSqlQuery changed = db.exec(
        QStringLiteral("UPDATE parts SET amnt = coalesce(amnt, 0) - :n WHERE id = :id AND "
                       "coalesce(amnt, 0) - (SELECT count(*) FROM PartSN WHERE idPart = :sp AND ") +
            kNamedSerial + QStringLiteral(") >= :atLeast"),
        {{QStringLiteral("n"), count},
         {QStringLiteral("id"), partId},
         {QStringLiteral("sp"), partId},
         {QStringLiteral("atLeast"), count}});
    if (changed.numRowsAffected() != 1) {
        if (!partExists(db, partId))
            throw StockError(StockRefusal::UnknownPart, QStringLiteral("part %1").arg(partId));
        throw StockError(StockRefusal::AboveStock,
                         QStringLiteral("part %1, %2 plain units wanted").arg(partId).arg(count));
    }
    tx.commit();
}

QStringList serialNumbersOf(store::Database& db, qint64 partId) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT SN FROM PartSN WHERE idPart = :p AND ") +
                              kNamedSerial + QStringLiteral(" ORDER BY id"),
                          {{QStringLiteral("p"), partId}});
    QStringList serials;
    while (q.next())
        serials << q.value(0).toString();
    return serials;
}

bool hasSerialNumbers(store::Database& db, qint64 partId) {
    return !db.scalar(QStringLiteral("SELECT min(id) FROM PartSN WHERE idPart = :p AND ") +
                          kNamedSerial,
                      {{QStringLiteral("p"), partId}})
                .isNull();
}

bool serialNumberInStock(store::Database& db, const QString& serial) {
    return !db.scalar(QStringLiteral("SELECT min(id) FROM PartSN WHERE SN = :sn"),
                      {{QStringLiteral("sn"), serial.trimmed()}})
                .isNull();
}

} // namespace warehouse

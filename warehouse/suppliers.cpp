#include "warehouse/suppliers.h"

#include "store/database.h"
#include "store/ledger.h"
#include "store/sql_helpers.h"
#include "store/transaction.h"
#include "warehouse/stock.h"

#include <QSqlQuery>

namespace warehouse {

namespace {

QList<Supplier> readSuppliers(QSqlQuery q) {
    QList<Supplier> list;
    while (q.next())
        list.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toString()});
    return list;
}

} // namespace

QList<Supplier> suppliers(store::Database& db) {
    return readSuppliers(
        db.exec(QStringLiteral("SELECT id, Name, Info FROM delivers ORDER BY Name, id")));
}

std::optional<Supplier> loadSupplier(store::Database& db, qint64 id) {
    const auto list =
        readSuppliers(db.exec(QStringLiteral("SELECT id, Name, Info FROM delivers WHERE id = :id"),
                              {{QStringLiteral("id"), id}}));
    if (list.isEmpty())
        return std::nullopt;
    return list.first();
}

bool saveSupplier(store::Database& db, Supplier& supplier) {
    supplier.name = supplier.name.trimmed();
    if (supplier.name.isEmpty())
        return false;
    store::Transaction tx(db);
    // The table has no unique key on the name; the name is the supplier's identity.
    if (!db.scalar(QStringLiteral("SELECT min(id) FROM delivers WHERE Name = :n AND id <> :id"),
                   {{QStringLiteral("n"), supplier.name}, {QStringLiteral("id"), supplier.id}})
             .isNull())
        return false;
    if (supplier.id == 0)
        supplier.id = store::insertAndGetId(
            db, QStringLiteral("delivers"), QStringLiteral("id"),
            QStringLiteral("INSERT INTO delivers (Name, Info, Garant) VALUES (:n, :i, :g)"),
            {{QStringLiteral("n"), supplier.name},
             {QStringLiteral("i"), supplier.info},
             {QStringLiteral("g"), false}});
    else
        db.exec(QStringLiteral("UPDATE delivers SET Name = :n, Info = :i WHERE id = :id"),
                {{QStringLiteral("n"), supplier.name},
                 {QStringLiteral("i"), supplier.info},
                 {QStringLiteral("id"), supplier.id}});
    tx.commit();
    return true;
}

QList<Supplier> suppliersOfPart(store::Database& db, qint64 partId) {
    return readSuppliers(db.exec(QStringLiteral("SELECT id, Name, Info FROM delivers WHERE id IN "
                                                "(SELECT idDost FROM sprDost WHERE partID = :p) "
                                                "ORDER BY Name, id"),
                                 {{QStringLiteral("p"), partId}}));
}

void recordReturn(store::Database& db, const DeliveryReturn& back, int userId,
                  const QDateTime& now) {
    store::Transaction tx(db);
    if (back.serial.trimmed().isEmpty()) {
        // A unit without a number: the serial-numbered units of the part stay in stock.
        takePlainUnits(db, back.partId, back.count);
    } else {
        if (back.count != 1)
            throw StockError(StockRefusal::NotPositive,
                             QStringLiteral("a serial-numbered unit is returned one at a time"));
        takeSerialUnit(db, back.partId, back.serial);
    }
    const double amount = back.count * back.price;
    if (back.refundInCash)
        store::postCash(db,
                        {amount, back.currency,
                         QStringLiteral("Анулирана доставка от ") + back.supplierName, userId},
                        now);
    else
        store::postSupplierDebt(db,
                                {-amount, back.currency, QStringLiteral("Анулирана доставка"),
                                 static_cast<int>(back.supplierId)},
                                now);
    tx.commit();
}

bool hasSuppliers(store::Database& db) {
    return !db.scalar(QStringLiteral("SELECT min(id) FROM delivers")).isNull();
}

} // namespace warehouse

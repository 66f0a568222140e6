#include "orders/order_work.h"

#include "invoicing/client_firms.h"
#include "orders/external_store.h"
#include "orders/order_payment.h"
#include "orders/order_ready.h"
#include "store/database.h"
#include "store/money.h"
#include "store/sql_helpers.h"
#include "store/sql_values.h"
#include "store/transaction.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/stock.h"

namespace orders {

using store::roundMoney;

std::optional<OrderHead> loadOrderHead(store::Database& db, qint64 idPor) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT idPor, typeWarr, clientnames, idClerk, taksa, "
                                         "sumall, ready, payed, porState FROM porychka "
                                         "WHERE idPor = :id"),
                          {{QStringLiteral("id"), idPor}});
    if (!q.next())
        return std::nullopt;
    OrderHead h;
    h.id = q.value(0).toLongLong();
    h.type = q.value(1).toInt(); // null reads as 0
    h.clientNames = q.value(2).toString();
    h.idClerk = q.value(3).toLongLong();
    h.taksa = store::amountFromDb(q.value(4));
    h.sumAll = store::amountFromDb(q.value(5));
    h.ready = store::boolFromDb(q.value(6));
    h.payed = store::boolFromDb(q.value(7));
    h.porState = q.value(8).toInt();
    return h;
}

std::optional<QString> stageRefusal(const std::optional<OrderHead>& head, qint64 idPor,
                                    OrderStage stage) {
    if (!head)
        return QStringLiteral("Няма поръчка с номер %1!").arg(idPor);
    if (head->payed) // the last stage, and the one the user most needs to hear of
        return alreadyPaidText(idPor);
    if (stage == OrderStage::InWork && head->ready)
        return alreadyReportedText(idPor);
    if (stage == OrderStage::ReadyUnpaid && !head->ready)
        return notReadyText(idPor);
    return std::nullopt;
}

void claimOrder(store::Database& db, qint64 idPor, OrderStage stage, const QString& consequence) {
    store::Binds binds{{QStringLiteral("id"), idPor}, {QStringLiteral("no"), false}};
    QString ready = QStringLiteral("(ready IS NULL OR ready = :no)");
    if (stage == OrderStage::ReadyUnpaid) {
        ready = QStringLiteral("ready = :yes");
        binds.insert(QStringLiteral("yes"), true);
    }
    // Writing the row, even with its own value, makes another workstation's ready, payment or
    // restore of this order wait until our transaction ends.
    QSqlQuery held = db.exec(QStringLiteral("UPDATE porychka SET porState = porState "
                                            "WHERE idPor = :id AND ") +
                                 ready + QStringLiteral(" AND (payed IS NULL OR payed = :no)"),
                             binds);
    if (held.numRowsAffected() == 1)
        return;
    const QString why = stageRefusal(loadOrderHead(db, idPor), idPor, stage)
                            .value_or(QStringLiteral("Поръчка  №%1 е променена!").arg(idPor));
    throw OrderStateRefused(consequence.isEmpty() ? why : why + QLatin1Char('\n') + consequence);
}

QString changeNotStoredText() {
    return QStringLiteral("Промяната не е записана.");
}

bool sentToOutsideService(store::Database& db, qint64 idPor) {
    return !db.scalar(QStringLiteral("SELECT min(id) FROM externals "
                                     "WHERE idPor = :id AND (back IS NULL OR back = :no)"),
                      {{QStringLiteral("id"), idPor}, {QStringLiteral("no"), false}})
                .isNull();
}

ClientDiscounts clientDiscounts(store::Database& db, const QString& clientName) {
    ClientDiscounts d;
    const auto firm = invoicing::findFirmByName(db, clientName);
    if (!firm)
        return d;
    d.firmId = firm->id;
    d.parts = std::max(0.0, firm->reduction);
    d.jobs = std::max(0.0, firm->reductJobs);
    return d;
}

void OrderMoney::feeChanged(bool partsOnly) {
    amount = gross();
    if (amount <= 0 || partsOnly) {
        discount = 0;
        discountEnabled = false;
    } else {
        discountEnabled = true;
        discount = roundMoney(parts * discParts / 100 + labourClient * discJobs / 100);
    }
    amount = roundMoney(gross() - discount);
}

void OrderMoney::discountTyped(double value) {
    discount = value;
    amount = roundMoney(gross() - discount);
}

void OrderMoney::amountTyped(double value) {
    amount = value;
    discount = roundMoney(gross() - amount);
}

double OrderMoney::discountedTotal() const {
    return fee + (parts - roundMoney(parts * discParts / 100)) +
           (labourClient - roundMoney(labourClient * discJobs / 100));
}

double partsTotal(store::Database& db, qint64 idPor) {
    return roundMoney(store::sumOrZero(
        db, QStringLiteral("SELECT sum(priceLV * amnt) FROM PartsInPor WHERE idPor = :id"),
        {{QStringLiteral("id"), idPor}}));
}

WorkTotals workTotals(store::Database& db, qint64 idPor) {
    WorkTotals t = labourTotals(db, idPor);
    t.parts = partsTotal(db, idPor);
    return t;
}

WorkTotals labourTotals(store::Database& db, qint64 idPor) {
    const store::Binds id{{QStringLiteral("id"), idPor}};
    WorkTotals t;
    QSqlQuery q = db.exec(QStringLiteral("SELECT sum(Pr1), sum(Pr2) FROM Jobs_In_Por "
                                         "WHERE idPor = :id"),
                          id);
    if (q.next()) {
        t.labourClient = roundMoney(store::amountFromDb(q.value(0)));
        t.labourClerk = roundMoney(store::amountFromDb(q.value(1)));
    }
    return t;
}

OrderMoney currentMoney(store::Database& db, qint64 idPor, const MoneyContext& context) {
    const WorkTotals t = workTotals(db, idPor);
    OrderMoney m;
    m.parts = t.parts;
    m.labourClient = t.labourClient;
    m.labourClerk = t.labourClerk;
    m.fee = context.fee;
    m.discParts = context.discParts;
    m.discJobs = context.discJobs;
    m.feeChanged(context.partsOnly);
    return m;
}

namespace {

QString lineGoneText() {
    return QStringLiteral("Този ред вече е премахнат от поръчката!");
}

// A unit without a serial number is written with an empty text, never null (a null QString
// would be bound as null).
QVariant serialText(const QString& serial) {
    return serial.isEmpty() ? QVariant(QStringLiteral("")) : QVariant(serial);
}

// The order's totals follow its lines in the same transaction as the line change.
OrderMoney storeTotals(store::Database& db, qint64 idPor, const MoneyContext& context) {
    const OrderMoney m = currentMoney(db, idPor, context);
    db.exec(QStringLiteral("UPDATE porychka SET sumparts = :p, sumtrud = :t, sumall = :a "
                           "WHERE idPor = :id"),
            {{QStringLiteral("p"), m.parts},
             {QStringLiteral("t"), m.labourClient},
             {QStringLiteral("a"), m.amount},
             {QStringLiteral("id"), idPor}});
    return m;
}

void recordMove(store::Database& db, qint64 partId, int userId, int amount, const QString& serial,
                qint64 idPor, const QDateTime& now) {
    db.exec(
        QStringLiteral("INSERT INTO Part_Moves (idPart, idClerk, amnt, serial, data, chas, idPor) "
                       "VALUES (:p, :u, :a, :s, :d, :c, :o)"),
        {{QStringLiteral("p"), partId},
         {QStringLiteral("u"), userId},
         {QStringLiteral("a"), amount},
         {QStringLiteral("s"), serialText(serial)},
         {QStringLiteral("d"), now.date()},
         {QStringLiteral("c"), now},
         {QStringLiteral("o"), idPor}});
}

// An own-stock line stores its serial number, an empty text for a part without; a line of
// the external warehouse has none (null).
void insertPartLine(store::Database& db, qint64 idPor, const QVariant& partId, int quantity,
                    double price, const QVariant& serial, const QVariant& base,
                    const QVariant& good) {
    db.exec(QStringLiteral("INSERT INTO PartsInPor (idPor, idPart, amnt, priceLV, closed, serial, "
                           "microBase, microPart) VALUES (:o, :p, :a, :pr, :c, :s, :b, :g)"),
            {{QStringLiteral("o"), idPor},
             {QStringLiteral("p"), partId},
             {QStringLiteral("a"), quantity},
             {QStringLiteral("pr"), price},
             {QStringLiteral("c"), false},
             {QStringLiteral("s"), serial},
             {QStringLiteral("b"), base},
             {QStringLiteral("g"), good}});
}

} // namespace

double storeReportOpening(store::Database& db, qint64 idPor, double defaultFee,
                          const ClientDiscounts& discounts) {
    store::Transaction tx(db);
    claimOrder(db, idPor, OrderStage::InWork);
    const auto head = loadOrderHead(db, idPor);
    // An unpaid order charges no fee; storing the default one would show an amount nobody pays.
    const double fee = head && head->type != 0 ? 0 : defaultFee;
    const WorkTotals t = workTotals(db, idPor);
    OrderMoney m;
    m.parts = t.parts;
    m.labourClient = t.labourClient;
    m.fee = fee;
    m.discParts = discounts.parts;
    m.discJobs = discounts.jobs;
    const double total = roundMoney(m.discountedTotal());
    db.exec(
        QStringLiteral("UPDATE porychka SET taksa = :f, sumall = :a WHERE idPor = :id"),
        {{QStringLiteral("f"), fee}, {QStringLiteral("a"), total}, {QStringLiteral("id"), idPor}});
    tx.commit();
    return total;
}

std::optional<double> existingLinePrice(store::Database& db, qint64 idPor, qint64 partId) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT priceLV FROM PartsInPor "
                                         "WHERE idPor = :o AND idPart = :p ORDER BY id"),
                          {{QStringLiteral("o"), idPor}, {QStringLiteral("p"), partId}});
    if (!q.next())
        return std::nullopt;
    return store::amountFromDb(q.value(0));
}

bool priceNeedsRates(const warehouse::Part& part, int orderType) {
    return orderType == 0 && part.opVal > store::kLeva;
}

double newLinePrice(const warehouse::Part& part, int orderType,
                    const std::optional<store::Rates>& rates) {
    if (orderType != 0)
        return 0;
    if (part.opVal <= store::kLeva)
        return roundMoney(part.outPrice);
    if (!rates)
        throw std::invalid_argument("a price in a foreign currency needs the day's rates");
    return roundMoney(store::toLeva(part.outPrice,
                                    part.opVal == store::kUsd ? store::kUsd : store::kEur, *rates));
}

OrderMoney addStockPart(store::Database& db, const PartTaking& t, const MoneyContext& context,
                        const QDateTime& now) {
    store::Transaction tx(db);
    claimOrder(db, t.idPor, OrderStage::InWork, changeNotStoredText());
    if (!t.serial.isEmpty()) {
        if (t.quantity != 1)
            throw warehouse::StockError(warehouse::StockRefusal::NotPositive,
                                        QStringLiteral("one unit per serial number"));
        warehouse::takeSerialUnit(db, t.partId, t.serial);
    } else {
        // Only the units without a serial number can be taken without naming one.
        warehouse::takePlainUnits(db, t.partId, t.quantity);
    }
    recordMove(db, t.partId, t.userId, -t.quantity, t.serial, t.idPor, now);
    // Units with serial numbers keep a line each, so that each goes back with its own number.
    const QVariant mergeInto =
        t.serial.isEmpty()
            ? db.scalar(QStringLiteral("SELECT min(id) FROM PartsInPor WHERE idPor = :o AND "
                                       "idPart = :p AND (serial IS NULL OR serial = '')"),
                        {{QStringLiteral("o"), t.idPor}, {QStringLiteral("p"), t.partId}})
            : QVariant();
    if (!mergeInto.isNull())
        db.exec(
            QStringLiteral("UPDATE PartsInPor SET amnt = coalesce(amnt, 0) + :q WHERE id = :id"),
            {{QStringLiteral("q"), t.quantity}, {QStringLiteral("id"), mergeInto}});
    else
        insertPartLine(db, t.idPor, t.partId, t.quantity, t.unitPrice, serialText(t.serial),
                       QVariant(), QVariant());
    const OrderMoney m = storeTotals(db, t.idPor, context);
    tx.commit();
    return m;
}

OrderMoney addExternalPart(store::Database& db, const ExternalTaking& t,
                           const MoneyContext& context) {
    if (t.quantity <= 0)
        throw ExternalStoreError(ExternalFailure::NotEnough, t.good);
    store::Transaction tx(db);
    claimOrder(db, t.idPor, OrderStage::InWork, changeNotStoredText());
    insertPartLine(db, t.idPor, QVariant(), t.quantity, t.unitPrice, QVariant(), t.databaseIndex,
                   t.good);
    const OrderMoney m = storeTotals(db, t.idPor, context);
    // The other program's database is written last: our own rows roll back if it refuses.
    ExternalStore goodsDb(t.databasePath);
    goodsDb.take(t.good, t.quantity);
    try {
        tx.commit();
    } catch (...) {
        goodsDb.giveBack(t.good, t.quantity);
        throw;
    }
    return m;
}

OrderMoney removePartLine(store::Database& db, qint64 lineId, int userId,
                          const QStringList& externalDatabases, const MoneyContext& context,
                          const QDateTime& now) {
    store::Transaction tx(db);
    QSqlQuery q = db.exec(QStringLiteral("SELECT idPor, idPart, amnt, serial, microBase, microPart "
                                         "FROM PartsInPor WHERE id = :id"),
                          {{QStringLiteral("id"), lineId}});
    if (!q.next())
        throw OrderStateRefused(lineGoneText());
    const qint64 idPor = q.value(0).toLongLong();
    const QVariant partId = q.value(1);
    const int quantity = q.value(2).toInt();
    const QString serial = q.value(3).toString().trimmed();
    const QString good = q.value(5).toString();
    const bool external = !good.isEmpty();
    const QVariant base = q.value(4);
    q.finish();
    claimOrder(db, idPor, OrderStage::InWork, changeNotStoredText());

    std::optional<ExternalStore> goodsDb;
    if (external) {
        const auto path = externalDatabasePath(externalDatabases, base.toInt());
        if (!path)
            throw ExternalStoreError(ExternalFailure::CannotOpen, base.toString());
        goodsDb.emplace(*path);
        if (!goodsDb->find(good))
            throw ExternalStoreError(ExternalFailure::GoodsNotFound, good);
    }

    db.exec(QStringLiteral("DELETE FROM PartsInPor WHERE id = :id"),
            {{QStringLiteral("id"), lineId}});
    if (!external && !partId.isNull() && quantity > 0) {
        const qint64 part = partId.toLongLong();
        int plain = quantity;
        if (!serial.isEmpty()) {
            warehouse::addSerialUnit(db, part, serial);
            --plain; // lines merged before serial units had lines of their own
        }
        if (plain > 0)
            warehouse::addUnits(db, part, plain);
        recordMove(db, part, userId, quantity, serial, idPor, now);
    }
    const OrderMoney m = storeTotals(db, idPor, context);
    if (external && quantity > 0)
        goodsDb->giveBack(good, quantity);
    try {
        tx.commit();
    } catch (...) {
        if (external && quantity > 0)
            goodsDb->take(good, quantity);
        throw;
    }
    return m;
}

OrderMoney addLabourLine(store::Database& db, const LabourBooking& b, const MoneyContext& context,
                         const QDateTime& now) {
    store::Transaction tx(db);
    claimOrder(db, b.idPor, OrderStage::InWork, changeNotStoredText());
    const qint64 lineId = store::insertAndGetId(
        db, QStringLiteral("Jobs_In_Por"), QStringLiteral("id"),
        QStringLiteral("INSERT INTO Jobs_In_Por (idPor, idOp, Trud, Pr1, Pr2, idClerk) "
                       "VALUES (:o, :op, :t, :p1, :p2, :c)"),
        {{QStringLiteral("o"), b.idPor},
         {QStringLiteral("op"), b.operationId ? QVariant(*b.operationId) : QVariant()},
         {QStringLiteral("t"), b.description},
         {QStringLiteral("p1"), b.clientPrice},
         {QStringLiteral("p2"), b.technicianAmount},
         {QStringLiteral("c"), b.technicianId}});
    if (b.byTime)
        db.exec(QStringLiteral("INSERT INTO clerks_hours (Data, h1, idPor, idOp, Suma, idClerk) "
                               "VALUES (:d, :h, :o, :op, :s, :c)"),
                {{QStringLiteral("d"), QDateTime(now.date(), QTime(0, 0))},
                 {QStringLiteral("h"), roundMoney(b.hours * b.coefficient)},
                 {QStringLiteral("o"), b.idPor},
                 {QStringLiteral("op"), lineId},
                 {QStringLiteral("s"), b.technicianAmount},
                 {QStringLiteral("c"), b.technicianId}});
    const OrderMoney m = storeTotals(db, b.idPor, context);
    tx.commit();
    return m;
}

OrderMoney removeLabourLine(store::Database& db, qint64 lineId, const MoneyContext& context) {
    store::Transaction tx(db);
    const QVariant idPor = db.scalar(QStringLiteral("SELECT idPor FROM Jobs_In_Por WHERE id = :id"),
                                     {{QStringLiteral("id"), lineId}});
    if (idPor.isNull())
        throw OrderStateRefused(lineGoneText());
    claimOrder(db, idPor.toLongLong(), OrderStage::InWork, changeNotStoredText());
    // Work-time rows exist only while paying by time; deleting them always leaves none behind
    // when the pay mode changed in between.
    db.exec(QStringLiteral("DELETE FROM clerks_hours WHERE idPor = :o AND idOp = :id"),
            {{QStringLiteral("o"), idPor}, {QStringLiteral("id"), lineId}});
    db.exec(QStringLiteral("DELETE FROM Jobs_In_Por WHERE id = :id"),
            {{QStringLiteral("id"), lineId}});
    const OrderMoney m = storeTotals(db, idPor.toLongLong(), context);
    tx.commit();
    return m;
}

} // namespace orders

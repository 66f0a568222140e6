#include "orders/order_payment.h"

#include "orders/external_store.h"
#include "store/database.h"
#include "store/ledger.h"
#include "store/money.h"
#include "store/sql_values.h"
#include "store/transaction.h"

#include <map>
#include <memory>

namespace orders {

using store::roundMoney;

namespace {

// Own-stock lines with their part's purchase price and currency.
const QString kStockLines = QStringLiteral(
    "SELECT l.priceLV, l.amnt, p.inPrice, p.ipVal FROM PartsInPor l "
    "LEFT JOIN parts p ON p.id = l.idPart "
    "WHERE l.idPor = :o AND l.idPart IS NOT NULL AND (l.microPart IS NULL OR l.microPart = '')");

int purchaseCurrency(const QVariant& ipVal) {
    const int code = ipVal.toInt();
    return code == store::kUsd || code == store::kEur ? code : store::kLeva;
}

struct PartsProfit {
    double inLeva = 0; // counted in the order's profit
    double byCurrency[4] = {0, 0, 0, 0};
};

PartsProfit stockPartsProfit(store::Database& db, qint64 idPor,
                             const std::optional<store::Rates>& rates) {
    PartsProfit p;
    QSqlQuery q = db.exec(kStockLines, {{QStringLiteral("o"), idPor}});
    while (q.next()) {
        const int currency = purchaseCurrency(q.value(3));
        if (currency != store::kLeva && !rates)
            throw std::invalid_argument("parts bought in foreign currency need the day's rates");
        const double cost = currency == store::kLeva
                                ? store::amountFromDb(q.value(2))
                                : store::toLeva(store::amountFromDb(q.value(2)), currency, *rates);
        const double gain = (store::amountFromDb(q.value(0)) - cost) * q.value(1).toInt();
        p.inLeva += gain;
        p.byCurrency[currency] +=
            currency == store::kLeva ? gain : store::fromLeva(gain, currency, *rates);
    }
    return p;
}

// Lines from the external warehouse databases: the price charged minus the purchase price.
// A line whose database or goods cannot be read adds nothing.
std::optional<double> externalPartsProfit(store::Database& db, qint64 idPor,
                                          const QStringList& databases) {
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT priceLV, amnt, microBase, microPart FROM PartsInPor "
                               "WHERE idPor = :o AND microPart IS NOT NULL AND microPart <> ''"),
                {{QStringLiteral("o"), idPor}});
    std::map<int, std::unique_ptr<ExternalStore>> opened;
    bool any = false;
    double profit = 0;
    while (q.next()) {
        any = true;
        const int index = q.value(2).toInt();
        try {
            auto& goodsDb = opened[index];
            if (!goodsDb) {
                const auto path = externalDatabasePath(databases, index);
                if (!path)
                    continue;
                goodsDb = std::make_unique<ExternalStore>(*path);
            }
            if (const auto goods = goodsDb->find(q.value(3).toString()))
                profit +=
                    (store::amountFromDb(q.value(0)) - goods->purchasePrice) * q.value(1).toInt();
        } catch (const ExternalStoreError&) {
        }
    }
    return any ? std::optional<double>(profit) : std::nullopt;
}

void markPaid(store::Database& db, const PaymentInput& in, const QDate& today, bool& paid) {
    QSqlQuery changed = db.exec(
        QStringLiteral("UPDATE porychka SET payed = :t, payDate = :d, idClerk = 0, taksa = :f, "
                       "sumtrud = :l, sumparts = :p, sumall = :a WHERE idPor = :id "
                       "AND ready = :t AND (payed IS NULL OR payed = :no)"),
        {{QStringLiteral("t"), true},
         {QStringLiteral("d"), today},
         {QStringLiteral("f"), in.fee},
         {QStringLiteral("l"), in.labourClient},
         {QStringLiteral("p"), in.parts},
         {QStringLiteral("a"), in.amount},
         {QStringLiteral("id"), in.idPor},
         {QStringLiteral("no"), false}});
    paid = changed.numRowsAffected() == 1;
}

// Shows a step's status when someone listens.
struct Steps {
    const StatusReport& status;
    void operator()(const char* text) const {
        if (status)
            status(QString::fromUtf8(text));
    }
};

void postMoney(store::Database& db, const PaymentInput& in, const QDateTime& now,
               const Steps& step) {
    const QString number = QString::number(in.idPor);
    if (in.amount > 0) {
        step(in.method == PayMethod::Account ? "Запис на задължение" : "Запис в касата");
        if (in.method == PayMethod::Account) {
            if (!in.clientId)
                throw store::DbError(
                    QStringLiteral("A payment on account needs a registered client"));
            store::postClientDebt(db,
                                  {in.amount, store::kLeva, QStringLiteral("От поръчка №") + number,
                                   int(*in.clientId)},
                                  now);
        } else {
            store::postCash(
                db,
                {in.amount, store::kLeva, QStringLiteral("Плащане поръчка №") + number, in.userId},
                now);
        }
        if (in.clientId) {
            step("Запис за фактури");
            db.exec(
                QStringLiteral("INSERT INTO payNoFact (idClient, data, opis, suma) "
                               "VALUES (:c, :d, :o, :s)"),
                {{QStringLiteral("c"), *in.clientId},
                 {QStringLiteral("d"), now.date()},
                 {QStringLiteral("o"), QStringLiteral("Ремонт - сервизна поръчка No ") + number},
                 {QStringLiteral("s"), in.amount}});
        }
    }
    const QString notes = in.clientNames + QStringLiteral(" - поръчка ") + in.orderNumberText;
    if (in.discount > 0) {
        step("Запис в разходите");
        store::postExpense(db, QStringLiteral("Отстъпки в поръчки"), in.discount, notes,
                           now.date());
    } else if (in.discount < 0) {
        step("Запис в приходите");
        store::postIncome(db, QStringLiteral("Корекции в поръчки"), -in.discount, notes,
                          now.date());
    }
}

} // namespace

bool paymentNeedsRates(store::Database& db, qint64 idPor, bool foreignCurrencies) {
    if (foreignCurrencies)
        return true;
    QSqlQuery q = db.exec(kStockLines, {{QStringLiteral("o"), idPor}});
    while (q.next()) {
        if (purchaseCurrency(q.value(3)) != store::kLeva)
            return true;
    }
    return false;
}

PaymentResult payOrder(store::Database& db, const PaymentInput& in, const QDateTime& now,
                       const StatusReport& status) {
    const QDate today = now.date();
    const Steps step{status};
    store::Transaction tx(db);
    PaymentResult result;
    step("Редакция поръчка");
    markPaid(db, in, today, result.paid);
    if (!result.paid)
        return result;

    step("Запис печалба");
    const double labour = in.labourClient - in.labourClerk;
    if (labour != 0)
        store::postProfit(db, store::ProfitSource::LabourInOrders, store::kLeva, roundMoney(labour),
                          today);
    if (in.fee > 0)
        store::postProfit(db, store::ProfitSource::OrderFees, store::kLeva, in.fee, today);
    double total = labour + in.fee;

    step("Печалба от части");
    const PartsProfit stock = stockPartsProfit(db, in.idPor, in.rates);
    total += stock.inLeva;
    total = roundMoney(total);
    for (const int currency : {store::kLeva, store::kUsd, store::kEur}) {
        const double amount = roundMoney(stock.byCurrency[currency]);
        if (amount != 0)
            store::postProfit(db, store::ProfitSource::PartsInOrders, currency, amount, today);
    }
    if (const auto external = externalPartsProfit(db, in.idPor, in.externalDatabases)) {
        const double amount = roundMoney(*external);
        store::postProfit(db, store::ProfitSource::PartsInOrders, store::kLeva, amount, today);
        total += amount;
    }

    postMoney(db, in, now, step);

    step("Запис печалбата за поръчката");
    result.profit = roundMoney(total - in.discount);
    db.exec(QStringLiteral("UPDATE porychka SET Pech = :p WHERE idPor = :id"),
            {{QStringLiteral("p"), result.profit}, {QStringLiteral("id"), in.idPor}});
    tx.commit();
    return result;
}

QString alreadyPaidText(qint64 idPor) {
    return QStringLiteral("Поръчка  №%1 вече е платена!").arg(idPor);
}

QString notReadyText(qint64 idPor) {
    return QStringLiteral("Поръчка  №%1 не е готова!").arg(idPor);
}

} // namespace orders

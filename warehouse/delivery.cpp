#include "warehouse/delivery.h"

#include "store/database.h"
#include "store/ledger.h"
#include "store/money.h"
#include "store/sql_values.h"
#include "store/transaction.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/stock.h"
#include "warehouse/warehouse_settings.h"

#include <QSet>
#include <QSqlQuery>

namespace warehouse {

namespace {

using store::roundMoney;

QString shortDate(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

double discountColumn(store::Database& db, const char* column, std::optional<qint64> makerId,
                      std::optional<qint64> typeId) {
    if (!makerId || !typeId)
        return 0;
    return store::amountFromDb(db.scalar(
        QStringLiteral("SELECT %1 FROM discounts WHERE idMarka = :m AND idType = :t ORDER BY id")
            .arg(QString::fromLatin1(column)),
        {{QStringLiteral("m"), *makerId}, {QStringLiteral("t"), *typeId}}));
}

// A rate table is needed only when two currencies meet.
const store::Rates& needRates(const std::optional<store::Rates>& rates) {
    if (!rates)
        throw std::invalid_argument("no exchange rates for the delivery date");
    return *rates;
}

void checkLinesOfDelivery(const Delivery& delivery) {
    if (delivery.lines.isEmpty())
        throw DeliveryError("a delivery without lines");
    QSet<qint64> parts;
    QSet<QString> serials;
    for (const DeliveryLine& line : delivery.lines) {
        if (parts.contains(line.partId))
            throw DeliveryError("a part occurs twice in one delivery");
        parts.insert(line.partId);
        if (line.count <= 0 || !(line.inPrice > 0))
            throw DeliveryError("a delivery line without a positive count and price");
        if (!store::isCurrencyCode(line.ipId) || !store::isCurrencyCode(line.opId))
            throw DeliveryError("a delivery line with an unknown currency");
        if (!line.serials.isEmpty() && line.serials.size() != line.count)
            throw DeliveryError("the count of a line differs from its serial numbers");
        for (const QString& serial : line.serials) {
            if (serials.contains(serial.trimmed()))
                throw DeliveryError("a serial number occurs twice in one delivery");
            serials.insert(serial.trimmed());
        }
    }
}

void recordLine(store::Database& db, const Delivery& delivery, const DeliveryLine& line) {
    const store::Binds partKey{{QStringLiteral("id"), line.partId}};
    QSqlQuery before = db.exec(
        QStringLiteral("SELECT coalesce(amnt, 0), inPrice, ipVal FROM parts WHERE id = :id"),
        partKey);
    if (!before.next())
        throw StockError(StockRefusal::UnknownPart, QStringLiteral("part %1").arg(line.partId));
    const int stock = before.value(0).toInt();
    const double stockPrice = store::amountFromDb(before.value(1));
    const int stockCurrency = before.value(2).isNull() ? store::kLeva : before.value(2).toInt();
    const double price = averagePurchasePrice(stock, stockPrice, stockCurrency, line.count,
                                              line.inPrice, line.ipId, delivery.rates);
    if (line.serials.isEmpty()) {
        addUnits(db, line.partId, line.count);
    } else {
        for (const QString& serial : line.serials) {
            if (serialNumberInStock(db, serial))
                throw DeliveryError("serial number already in stock: " + serial.toStdString());
            addSerialUnit(db, line.partId, serial);
        }
    }
    db.exec(QStringLiteral("UPDATE parts SET inPrice = :price, ipVal = :ipVal, "
                           "outPrice = :outPrice, salePrice = :salePrice, opVal = :opVal "
                           "WHERE id = :id"),
            {{QStringLiteral("price"), price},
             {QStringLiteral("ipVal"), line.ipId},
             {QStringLiteral("outPrice"), line.outPrice},
             {QStringLiteral("salePrice"), line.salePrice},
             {QStringLiteral("opVal"), line.opId},
             {QStringLiteral("id"), line.partId}});

    const QString insert =
        QStringLiteral("INSERT INTO sprDost (partID, Data, Price, idVal, amnt, serial, idDost) "
                       "VALUES (:part, :d, :price, :val, :amnt, :serial, :dost)");
    store::Binds record{{QStringLiteral("part"), line.partId},
                        {QStringLiteral("d"), delivery.date},
                        {QStringLiteral("price"), roundMoney(line.inPrice)},
                        {QStringLiteral("val"), line.ipId},
                        {QStringLiteral("amnt"), line.count},
                        // A line without serial numbers stores an empty text, not NULL.
                        {QStringLiteral("serial"), QStringLiteral("")},
                        {QStringLiteral("dost"), delivery.supplierId}};
    if (line.serials.isEmpty()) {
        db.exec(insert, record);
        return;
    }
    record.insert(QStringLiteral("amnt"), 1);
    for (const QString& serial : line.serials) {
        record.insert(QStringLiteral("serial"), serial.trimmed());
        db.exec(insert, record);
    }
}

void postMoney(store::Database& db, const Delivery& delivery, const std::array<double, 3>& totals,
               Payment payment, int userId, const QDateTime& now) {
    // The debt arises on the delivery's date, also when the delivery is entered days later;
    // money paid now leaves the till today.
    const QString delivered = shortDate(delivery.date);
    const QDateTime deliveredAt(delivery.date.isValid() ? delivery.date : now.date(), now.time());
    for (int currency = store::kLeva; currency <= store::kEur; ++currency) {
        const double sum = totals[currency - 1];
        if (sum == 0)
            continue;
        if (payment == Payment::PaidNow) {
            store::postCash(db, {-sum, currency, delivery.caption(), userId}, now);
            store::postSupplierDebt(db,
                                    {-sum, currency,
                                     QStringLiteral("Плащане доставка от ") + delivered,
                                     static_cast<int>(delivery.supplierId)},
                                    now);
        }
        store::postSupplierDebt(db,
                                {sum, currency, QStringLiteral("Доставка от ") + delivered,
                                 static_cast<int>(delivery.supplierId)},
                                deliveredAt);
    }
}

} // namespace

QString Delivery::caption() const {
    return QStringLiteral("Доставка от ") + supplierName + QStringLiteral(" на ") + shortDate(date);
}

bool Delivery::hasPart(qint64 partId) const {
    return std::any_of(lines.cbegin(), lines.cend(),
                       [partId](const DeliveryLine& l) { return l.partId == partId; });
}

bool Delivery::hasSerial(const QString& serial) const {
    const QString wanted = serial.trimmed();
    return std::any_of(lines.cbegin(), lines.cend(),
                       [&wanted](const DeliveryLine& l) { return l.serials.contains(wanted); });
}

LastPrice lastPrice(store::Database& db, qint64 partId, qint64 supplierId) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT Price, idVal FROM sprDost "
                                         "WHERE partID = :p AND idDost = :d "
                                         "ORDER BY Data DESC, id DESC LIMIT 1"),
                          {{QStringLiteral("p"), partId}, {QStringLiteral("d"), supplierId}});
    if (!q.next())
        return {};
    const int currency = q.value(1).toInt();
    return {store::amountFromDb(q.value(0)),
            store::isCurrencyCode(currency) ? currency : store::kLeva};
}

DeliveryLine proposeLine(store::Database& db, const Part& part, qint64 supplierId,
                         const WarehouseSettings& settings) {
    const bool threeCurrencies = settings.currency == store::CurrencyMode::ThreeCurrencies;
    const LastPrice last = lastPrice(db, part.id, supplierId);
    DeliveryLine line;
    line.partId = part.id;
    line.part = part.part;
    line.type = part.type;
    line.opis = part.opis;
    line.marka = part.maker;
    line.barcode = part.barcode;
    line.partNo = part.partNo;
    line.count = 1;
    line.inPrice = last.price;
    line.ipId = threeCurrencies ? last.currency : store::kLeva;
    if (part.outPrice != 0) {
        line.outPrice = part.outPrice;
        line.opId =
            threeCurrencies && store::isCurrencyCode(part.opVal) ? part.opVal : store::kLeva;
    } else {
        line.outPrice = 0;
        line.opId = line.ipId;
    }
    line.salePrice = part.salePrice;
    return line;
}

double supplierDiscount(store::Database& db, std::optional<qint64> makerId,
                        std::optional<qint64> typeId) {
    return discountColumn(db, "discDlvr", makerId, typeId);
}

double goodsDiscount(store::Database& db, std::optional<qint64> makerId,
                     std::optional<qint64> typeId) {
    return discountColumn(db, "discSale", makerId, typeId);
}

void changeSellingCurrency(DeliveryLine& line, int currency, const store::Rates& rates) {
    if (currency == line.opId)
        return;
    line.salePrice = roundMoney(store::convert(line.salePrice, line.opId, currency, rates));
    line.outPrice = roundMoney(store::convert(line.outPrice, line.opId, currency, rates));
    line.opId = currency;
}

void applyMarkup(DeliveryLine& line, double percent, const store::Rates& rates) {
    if (percent == 0)
        return;
    const double price = roundMoney(line.inPrice * (1 + percent / 100));
    const double selling = line.ipId == line.opId
                               ? price
                               : roundMoney(store::convert(price, line.ipId, line.opId, rates));
    line.salePrice = selling;
    line.outPrice = selling;
}

void applySupplierDiscount(DeliveryLine& line, double percent) {
    if (percent == 0)
        return;
    line.ipId = line.opId;
    line.inPrice = roundMoney(line.salePrice * (1 - percent / 100));
}

std::optional<LineProblem> checkLine(DeliveryLine& line, const store::Rates& rates,
                                     bool oneSellingPrice) {
    if (oneSellingPrice)
        line.salePrice = line.outPrice;
    if (!(line.inPrice > 0))
        return LineProblem{LineField::InPrice,
                           QStringLiteral("Грешно въведени данни - доставната цена трябва да е "
                                          "положително число!")};
    if (line.count <= 0)
        return LineProblem{LineField::Count,
                           QStringLiteral("Грешно въведени данни - количеството трябва да е "
                                          "положително число!")};
    if (!line.serials.isEmpty())
        line.count = line.serials.size();
    if (!(line.outPrice > 0))
        return LineProblem{LineField::OutPrice,
                           QStringLiteral("Грешно въведени данни - цената в поръчка трябва да е "
                                          "положително число!")};
    if (!(line.salePrice > 0))
        return LineProblem{LineField::SalePrice,
                           QStringLiteral("Грешно въведени данни - продажната цена трябва да е "
                                          "положително число!")};
    const double inLeva = store::toLeva(line.inPrice, line.ipId, rates);
    const double outLeva = store::toLeva(line.outPrice, line.opId, rates);
    const double saleLeva = store::toLeva(line.salePrice, line.opId, rates);
    if (!(outLeva > inLeva && saleLeva > inLeva))
        return LineProblem{LineField::InPrice,
                           QStringLiteral("Грешно въведени данни - доставната цена е по-голяма или "
                                          "равна на продажната или цената в поръчка!")};
    return std::nullopt;
}

double averagePurchasePrice(int stock, double stockPrice, int stockCurrency, int count,
                            double price, int currency, const std::optional<store::Rates>& rates) {
    // Stock is never below zero; were it so in old data, the delivered price alone counts.
    if (stock <= 0)
        return roundMoney(price);
    if (stockCurrency == currency)
        return roundMoney((count * price + stockPrice * stock) / (count + stock));
    const store::Rates& r = needRates(rates);
    const double leva = (count * store::toLeva(price, currency, r) +
                         stock * store::toLeva(stockPrice, stockCurrency, r)) /
                        (count + stock);
    return roundMoney(store::fromLeva(leva, currency, r));
}

bool changeSellingPrices(store::Database& db, qint64 partId, double outPrice, double salePrice,
                         int currency) {
    if (!(outPrice > 0) || !(salePrice > 0) || !store::isCurrencyCode(currency))
        return false;
    QSqlQuery changed = db.exec(QStringLiteral("UPDATE parts SET outPrice = :o, salePrice = :s, "
                                               "opVal = :v WHERE id = :id AND amnt > 0"),
                                {{QStringLiteral("o"), outPrice},
                                 {QStringLiteral("s"), salePrice},
                                 {QStringLiteral("v"), currency},
                                 {QStringLiteral("id"), partId}});
    return changed.numRowsAffected() == 1;
}

std::array<double, 3> recordDelivery(store::Database& db, const Delivery& delivery, Payment payment,
                                     int userId, const QDateTime& now,
                                     const std::function<void()>& lineDone) {
    checkLinesOfDelivery(delivery);
    std::array<double, 3> totals{0, 0, 0};
    store::Transaction tx(db);
    for (const DeliveryLine& line : delivery.lines) {
        recordLine(db, delivery, line);
        totals[line.ipId - 1] += line.inPrice * line.count;
        if (lineDone)
            lineDone();
    }
    postMoney(db, delivery, totals, payment, userId, now);
    tx.commit();
    return totals;
}

} // namespace warehouse

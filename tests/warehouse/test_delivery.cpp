#include "store/currency.h"
#include "store/sql_values.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "warehouse/delivery.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/stock.h"
#include "warehouse/warehouse_settings.h"

#include <QTest>

using namespace warehouse;
using testing::rowCount;
using testing::rows;
using testing::TestEnvironment;

namespace {

const store::Rates kRates{QDate(2024, 3, 5), 1.8, 2.0};
const QDateTime kNow(QDate(2024, 3, 6), QTime(10, 30, 0));

DeliveryLine line(qint64 part, int count, double inPrice, int ipId = 1, double outPrice = 0,
                  int opId = 1) {
    DeliveryLine l;
    l.partId = part;
    l.count = count;
    l.inPrice = inPrice;
    l.ipId = ipId;
    l.outPrice = outPrice > 0 ? outPrice : inPrice * 2;
    l.salePrice = l.outPrice + 1;
    l.opId = opId;
    return l;
}

Delivery delivery(qint64 supplier, QList<DeliveryLine> lines) {
    Delivery d;
    d.date = kRates.date;
    d.supplierId = supplier;
    d.supplierName = "Д'Артанян ООД";
    d.rates = kRates;
    d.lines = std::move(lines);
    return d;
}

// Every table a delivery writes, to show that a refused one wrote nothing.
QList<QList<QVariantList>> snapshot(store::Database& db) {
    QList<QList<QVariantList>> all;
    for (const char* table : {"parts", "sprDost", "PartSN", "payments", "kasa"})
        all << rows(db, QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(table));
    return all;
}

} // namespace

class TestDelivery : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void averagePrice_data();
    void averagePrice();
    void recordedDeliveryRaisesStockAndRenewsPrices();
    void unpaidDeliveryBecomesSupplierDebt();
    void paidDeliveryGoesThroughTheTill();
    void serialNumbersGiveOneRecordEach();
    void refusedDeliveryWritesNothing_data();
    void refusedDeliveryWritesNothing();
    void lineChecks_data();
    void lineChecks();
    void markupDiscountAndCurrency();
    void newLineProposesLastPriceOfTheSupplier();
};

void TestDelivery::averagePrice_data() {
    QTest::addColumn<int>("stock");
    QTest::addColumn<double>("stockPrice");
    QTest::addColumn<int>("stockCurrency");
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("price");
    QTest::addColumn<int>("currency");
    QTest::addColumn<double>("average");
    QTest::newRow("no stock, any currency") << 0 << 9.99 << 2 << 4 << 3.456 << 3 << 3.46;
    QTest::newRow("same currency") << 10 << 2.0 << 1 << 10 << 3.0 << 1 << 2.5;
    QTest::newRow("same currency, rounded") << 1 << 1.0 << 2 << 2 << 1.01 << 2 << 1.01;
    QTest::newRow("dollars held, leva delivered") << 10 << 1.0 << 2 << 10 << 2.0 << 1 << 1.9;
    QTest::newRow("leva held, euros delivered") << 4 << 10.0 << 1 << 6 << 5.0 << 3 << 5.0;
    QTest::newRow("dollars held, euros delivered") << 1 << 1.0 << 2 << 1 << 1.0 << 3 << 0.95;
    QTest::newRow("negative stock of old data") << -3 << 7.0 << 1 << 3 << 2.0 << 1 << 2.0;
}

void TestDelivery::averagePrice() {
    QFETCH(int, stock);
    QFETCH(double, stockPrice);
    QFETCH(int, stockCurrency);
    QFETCH(int, count);
    QFETCH(double, price);
    QFETCH(int, currency);
    QFETCH(double, average);
    QCOMPARE(averagePurchasePrice(stock, stockPrice, stockCurrency, count, price, currency, kRates),
             average);
}

void TestDelivery::recordedDeliveryRaisesStockAndRenewsPrices() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 supplier = builders::supplier(*db, "Д'Артанян ООД");
    const qint64 a = builders::part(*db, {.name = "Диск", .amount = 10, .inPrice = 2.0});
    const qint64 b = builders::part(*db, {.name = "Свещ"});
    int progress = 0;
    DeliveryLine second = line(b, 4, 1.005, 2, 3.0, 3);
    second.salePrice = 3.5;
    const auto totals = recordDelivery(*db, delivery(supplier, {line(a, 10, 3.0), second}),
                                       Payment::Debt, 1, kNow, [&progress] { ++progress; });
    QCOMPARE(progress, 2);
    QCOMPARE(totals[0], 30.0);
    QCOMPARE(totals[1], 4.02);
    const Part pa = *loadPart(*db, a);
    QCOMPARE(pa.amnt, 20);
    QCOMPARE(pa.inPrice, 2.5);
    QCOMPARE(pa.outPrice, 6.0);
    QCOMPARE(pa.salePrice, 7.0);
    const Part pb = *loadPart(*db, b);
    QCOMPARE(pb.amnt, 4);
    QCOMPARE(pb.inPrice, 1.0); // 1.005 to hundredths, half to even
    QCOMPARE(pb.ipVal, 2);
    QCOMPARE(pb.outPrice, 3.0);
    QCOMPARE(pb.salePrice, 3.5);
    QCOMPARE(pb.opVal, 3);
    QCOMPARE(rows(*db, "SELECT partID, Data, Price, idVal, amnt, serial, idDost FROM sprDost "
                       "ORDER BY id"),
             (QList<QVariantList>{{a, "2024-03-05", 3.0, 1, 10, "", supplier},
                                  {b, "2024-03-05", 1.0, 2, 4, "", supplier}}));
}

void TestDelivery::unpaidDeliveryBecomesSupplierDebt() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 supplier = builders::supplier(*db, "Д'Артанян ООД");
    const qint64 a = builders::part(*db, {.name = "Диск"});
    const qint64 b = builders::part(*db, {.name = "Свещ"});
    const qint64 c = builders::part(*db, {.name = "Лост"});
    recordDelivery(
        *db, delivery(supplier, {line(a, 2, 1.25, 3), line(b, 3, 2.0, 1), line(c, 1, 0.5, 1)}),
        Payment::Debt, 7, kNow);
    QCOMPARE(rowCount(*db, "kasa"), 0);
    QCOMPARE(rows(*db, "SELECT Data, Chas, Suma, idVal, Notes, idDost FROM payments "
                       "ORDER BY id"),
             (QList<QVariantList>{
                 // Entered a day late: the debt carries the delivery's date.
                 {"2024-03-05", "10:30:00", 6.5, 1, "Доставка от 05.03.2024", supplier},
                 {"2024-03-05", "10:30:00", 2.5, 3, "Доставка от 05.03.2024", supplier}}));
}

void TestDelivery::paidDeliveryGoesThroughTheTill() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 supplier = builders::supplier(*db, "Д'Артанян ООД");
    const qint64 a = builders::part(*db, {.name = "Диск"});
    const qint64 b = builders::part(*db, {.name = "Свещ"});
    recordDelivery(*db, delivery(supplier, {line(a, 2, 10.0, 1), line(b, 4, 2.5, 3)}),
                   Payment::PaidNow, 7, kNow);
    const QString caption = "Доставка от Д'Артанян ООД на 05.03.2024";
    QCOMPARE(rows(*db, "SELECT Data, Chas, Suma, idVal, Notes, UserID FROM kasa ORDER BY id"),
             (QList<QVariantList>{{"2024-03-06", "10:30:00", -20.0, 1, caption, 7},
                                  {"2024-03-06", "10:30:00", -10.0, 3, caption, 7}}));
    // Paid today for the delivery of the day before.
    QCOMPARE(
        rows(*db, "SELECT Data, Suma, idVal, Notes, idDost FROM payments ORDER BY id"),
        (QList<QVariantList>{{"2024-03-06", -20.0, 1, "Плащане доставка от 05.03.2024", supplier},
                             {"2024-03-05", 20.0, 1, "Доставка от 05.03.2024", supplier},
                             {"2024-03-06", -10.0, 3, "Плащане доставка от 05.03.2024", supplier},
                             {"2024-03-05", 10.0, 3, "Доставка от 05.03.2024", supplier}}));
}

void TestDelivery::serialNumbersGiveOneRecordEach() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 supplier = builders::supplier(*db, "Доставчик");
    const qint64 a = builders::part(*db, {.name = "Акумулатор"});
    addSerialUnit(*db, a, "OLD-1");
    DeliveryLine withSerials = line(a, 3, 80.0);
    withSerials.serials = QStringList{"SN-1", "SN-2", "SN-3"};
    recordDelivery(*db, delivery(supplier, {withSerials}), Payment::Debt, 1, kNow);
    QCOMPARE(unitsInStock(*db, a), 4);
    QCOMPARE(serialNumbersOf(*db, a), (QStringList{"OLD-1", "SN-1", "SN-2", "SN-3"}));
    QCOMPARE(rows(*db, "SELECT amnt, serial FROM sprDost ORDER BY id"),
             (QList<QVariantList>{{1, "SN-1"}, {1, "SN-2"}, {1, "SN-3"}}));
    QCOMPARE(db->scalar("SELECT Suma FROM payments").toDouble(), 240.0);
}

void TestDelivery::refusedDeliveryWritesNothing_data() {
    QTest::addColumn<QString>("fault");
    QTest::newRow("posting rejected by the database") << "posting";
    QTest::newRow("serial number already in stock") << "serial";
    QTest::newRow("part deleted meanwhile") << "part";
    QTest::newRow("count differs from serial numbers") << "count";
    QTest::newRow("part twice") << "twice";
    QTest::newRow("no rates for two currencies") << "rates";
}

void TestDelivery::refusedDeliveryWritesNothing() {
    QFETCH(QString, fault);
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 supplier = builders::supplier(*db, "Доставчик");
    const qint64 a = builders::part(*db, {.name = "Диск", .amount = 5, .inPrice = 2.0});
    const qint64 b = builders::part(
        *db, {.name = "Акумулатор", .amount = 1, .inPrice = 50.0, .inCurrency = store::kUsd});
    addSerialUnit(*db, b, "SN-0");
    DeliveryLine first = line(a, 3, 3.0);
    DeliveryLine second = line(b, 2, 60.0);
    second.serials = QStringList{"SN-1", "SN-2"};
    Delivery d = delivery(supplier, {first, second});
    if (fault == "posting")
        db->exec("CREATE TRIGGER refuse BEFORE INSERT ON payments "
                 "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    else if (fault == "serial")
        d.lines[1].serials[1] = "SN-0";
    else if (fault == "part")
        d.lines[1].partId = 999;
    else if (fault == "count")
        d.lines[1].count = 3;
    else if (fault == "twice")
        d.lines[1].partId = a;
    else if (fault == "rates")
        d.rates.reset(); // the accumulator is held in USD, delivered in leva
    const auto before = snapshot(*db);
    bool refused = false;
    try {
        recordDelivery(*db, d, Payment::PaidNow, 1, kNow);
    } catch (const std::exception&) {
        refused = true;
    }
    QVERIFY(refused);
    QCOMPARE(snapshot(*db), before);
}

void TestDelivery::lineChecks_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<double>("inPrice");
    QTest::addColumn<int>("ipId");
    QTest::addColumn<double>("outPrice");
    QTest::addColumn<double>("salePrice");
    QTest::addColumn<int>("opId");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("field");
    QTest::newRow("fine") << 1 << 10.0 << 1 << 12.0 << 13.0 << 1 << "" << -1;
    QTest::newRow("no purchase price")
        << 1 << 0.0 << 1 << 12.0 << 13.0 << 1
        << "Грешно въведени данни - доставната цена трябва да е положително число!"
        << int(LineField::InPrice);
    QTest::newRow("zero count")
        << 0 << 10.0 << 1 << 12.0 << 13.0 << 1
        << "Грешно въведени данни - количеството трябва да е положително число!"
        << int(LineField::Count);
    QTest::newRow("negative order price")
        << 1 << 10.0 << 1 << -12.0 << 13.0 << 1
        << "Грешно въведени данни - цената в поръчка трябва да е положително число!"
        << int(LineField::OutPrice);
    QTest::newRow("no counter price")
        << 1 << 10.0 << 1 << 12.0 << 0.0 << 1
        << "Грешно въведени данни - продажната цена трябва да е положително число!"
        << int(LineField::SalePrice);
    const QString notBelow = "Грешно въведени данни - доставната цена е по-голяма или равна на "
                             "продажната или цената в поръчка!";
    QTest::newRow("purchase equal to order price")
        << 1 << 10.0 << 1 << 10.0 << 13.0 << 1 << notBelow << int(LineField::InPrice);
    QTest::newRow("purchase above counter price")
        << 1 << 10.0 << 1 << 12.0 << 9.0 << 1 << notBelow << int(LineField::InPrice);
    QTest::newRow("compared in leva: 10 leva under 6 euros")
        << 1 << 10.0 << 1 << 6.0 << 6.0 << 3 << "" << -1;
    QTest::newRow("compared in leva: 6 euros over 11 leva")
        << 1 << 6.0 << 3 << 11.0 << 13.0 << 1 << notBelow << int(LineField::InPrice);
}

void TestDelivery::lineChecks() {
    QFETCH(int, count);
    QFETCH(double, inPrice);
    QFETCH(int, ipId);
    QFETCH(double, outPrice);
    QFETCH(double, salePrice);
    QFETCH(int, opId);
    QFETCH(QString, message);
    QFETCH(int, field);
    DeliveryLine l = line(1, count, inPrice, ipId, 1, opId);
    l.outPrice = outPrice;
    l.salePrice = salePrice;
    const auto problem = checkLine(l, kRates, false);
    QCOMPARE(problem ? problem->message : QString(), message);
    QCOMPARE(problem ? int(problem->field) : -1, field);
}

void TestDelivery::markupDiscountAndCurrency() {
    DeliveryLine l = line(1, 2, 10.0);
    applyMarkup(l, 20, kRates);
    QCOMPARE(l.salePrice, 12.0);
    QCOMPARE(l.outPrice, 12.0);
    // Selling in euros: the marked-up leva converted at 2.0.
    l.opId = 3;
    applyMarkup(l, 15, kRates);
    QCOMPARE(l.salePrice, 5.75);
    changeSellingCurrency(l, 2, kRates); // 11.50 leva at 1.8 = 6.388..
    QCOMPARE(l.salePrice, 6.39);
    QCOMPARE(l.opId, 2);
    applySupplierDiscount(l, 10); // purchase price in the selling currency
    QCOMPARE(l.ipId, 2);
    QCOMPARE(l.inPrice, 5.75);
    // A counter price that is not entered separately is the order price.
    DeliveryLine single = line(1, 1, 10.0, 1, 12.0);
    single.salePrice = 0;
    QVERIFY(!checkLine(single, kRates, true));
    QCOMPARE(single.salePrice, 12.0);
    // With serial numbers the count follows them.
    DeliveryLine serials = line(1, 1, 10.0);
    serials.serials = QStringList{"A", "B"};
    QVERIFY(!checkLine(serials, kRates, false));
    QCOMPARE(serials.count, 2);
}

void TestDelivery::newLineProposesLastPriceOfTheSupplier() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 s1 = builders::supplier(*db, "Първи");
    const qint64 s2 = builders::supplier(*db, "Втори");
    const qint64 a = builders::part(*db, {.name = "Диск"});
    for (const auto& [date, price, val, dost] :
         {std::tuple{QDate(2024, 1, 10), 5.0, 1, s1}, std::tuple{QDate(2024, 2, 10), 6.0, 3, s1},
          std::tuple{QDate(2024, 3, 1), 9.0, 1, s2}, std::tuple{QDate(2023, 12, 1), 4.0, 1, s1}})
        builders::pastDelivery(
            *db, {.part = a, .supplier = dost, .date = date, .price = price, .currency = val});
    db->exec("UPDATE parts SET outPrice = 14, salePrice = 15, opVal = 2 WHERE id = :id",
             {{"id", a}});
    WarehouseSettings three;
    three.currency = store::CurrencyMode::ThreeCurrencies;
    DeliveryLine l = proposeLine(*db, *loadPart(*db, a), s1, three);
    QCOMPARE(l.inPrice, 6.0);
    QCOMPARE(l.ipId, 3);
    QCOMPARE(l.count, 1);
    QCOMPARE(l.outPrice, 14.0);
    QCOMPARE(l.opId, 2);
    QCOMPARE(l.salePrice, 15.0);
    // Leva only: every price in leva.
    l = proposeLine(*db, *loadPart(*db, a), s1, WarehouseSettings{});
    QCOMPARE(l.ipId, 1);
    QCOMPARE(l.opId, 1);
    // A supplier that never delivered the part proposes 0 leva.
    const qint64 s3 = builders::supplier(*db, "Трети");
    QCOMPARE(lastPrice(*db, a, s3).price, 0.0);
    db->exec("UPDATE parts SET outPrice = 0 WHERE id = :id", {{"id", a}});
    l = proposeLine(*db, *loadPart(*db, a), s1, three);
    QCOMPARE(l.outPrice, 0.0);
    QCOMPARE(l.opId, 3); // the purchase currency
}

QTEST_MAIN(TestDelivery)
#include "test_delivery.moc"

#include "orders/external_store.h"
#include "orders/order_work.h"
#include "store/money.h"
#include "store/sql_values.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/stock.h"

#include <QTest>

using namespace orders;
using testing::count;
using testing::TestEnvironment;

Q_DECLARE_METATYPE(orders::OrderMoney)

class TestOrderWork : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void samePartTwiceIsOneLineWithTheFirstPrice();
    void serialUnitsKeepTheirOwnLinesAndGoBackWithTheirNumber();
    void takingMoreThanStockWritesNothing();
    void partWithSerialNumbersMustNameTheUnit();
    void linePrice_data();
    void linePrice();
    void reportOpeningStoresTheDiscountedTotal();
    void linkedMoneyFields_data();
    void linkedMoneyFields();
    void partsModeAndEmptyOrderHaveNoDiscount();
    void labourLinesWithWorkTimes();
    void externalGoodsTakenAndGivenBack();
    void externalFailuresKeepTheLine_data();
    void externalFailuresKeepTheLine();
    void outsideServiceAndTechnicians();
};

void TestOrderWork::samePartTwiceIsOneLineWithTheFirstPrice() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::registeredOrder(*db, builders::completeOrder(), 5);
    const qint64 part = builders::part(*db, {.amount = 10, .outPrice = 50});
    const MoneyContext ctx{.fee = 10};
    addStockPart(*db, {.idPor = 5, .partId = part, .quantity = 2, .unitPrice = 50, .userId = 1},
                 ctx);
    // The price of the part changed meanwhile; the order keeps charging the first one.
    db->exec("UPDATE parts SET outPrice = 60");
    const auto first = existingLinePrice(*db, 5, part);
    QCOMPARE(first, std::optional<double>(50));
    const OrderMoney m = addStockPart(
        *db, {.idPor = 5, .partId = part, .quantity = 1, .unitPrice = *first, .userId = 1}, ctx);

    QCOMPARE(count(*db, "SELECT count(*) FROM PartsInPor WHERE idPor = 5"), 1);
    QCOMPARE(count(*db, "SELECT amnt FROM PartsInPor WHERE idPor = 5"), 3);
    QCOMPARE(db->scalar("SELECT priceLV FROM PartsInPor").toDouble(), 50.0);
    QCOMPARE(count(*db, "SELECT amnt FROM parts"), 7);
    QSqlQuery moves = db->exec("SELECT amnt, idClerk, idPor, data FROM Part_Moves ORDER BY id");
    QList<int> amounts;
    while (moves.next()) {
        amounts << moves.value(0).toInt();
        QCOMPARE(moves.value(1).toInt(), 1);
        QCOMPARE(moves.value(2).toInt(), 5);
        QCOMPARE(store::dateFromDb(moves.value(3)), QDate::currentDate());
    }
    QCOMPARE(amounts, (QList<int>{-2, -1}));
    QCOMPARE(m.parts, 150.0);
    QCOMPARE(m.amount, 160.0);
    QSqlQuery order = db->exec("SELECT sumparts, sumall FROM porychka WHERE idPor = 5");
    QVERIFY(order.next());
    QCOMPARE(order.value(0).toDouble(), 150.0);
    QCOMPARE(order.value(1).toDouble(), 160.0);
}

void TestOrderWork::serialUnitsKeepTheirOwnLinesAndGoBackWithTheirNumber() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::registeredOrder(*db, builders::completeOrder(), 5);
    const qint64 part = builders::part(
        *db, {.name = "Акумулатор", .amount = 2, .outPrice = 120, .serials = {"SN-A", "SN-B"}});
    for (const QString sn : {"SN-A", "SN-B"})
        addStockPart(
            *db, {.idPor = 5, .partId = part, .quantity = 1, .serial = sn, .unitPrice = 120}, {});
    QCOMPARE(count(*db, "SELECT count(*) FROM PartsInPor WHERE idPor = 5"), 2);
    QCOMPARE(count(*db, "SELECT count(*) FROM PartSN"), 0);
    QCOMPARE(count(*db, "SELECT amnt FROM parts"), 0);

    const qint64 second =
        db->scalar("SELECT id FROM PartsInPor WHERE serial = 'SN-B'").toLongLong();
    const OrderMoney m = removePartLine(*db, second, 1, {}, {});
    QCOMPARE(warehouse::serialNumbersOf(*db, part), QStringList{"SN-B"});
    QCOMPARE(count(*db, "SELECT amnt FROM parts"), 1);
    QCOMPARE(db->scalar("SELECT serial FROM Part_Moves WHERE amnt = 1").toString(),
             QString("SN-B"));
    QCOMPARE(m.parts, 120.0);
    QCOMPARE(db->scalar("SELECT sumparts FROM porychka").toDouble(), 120.0);
}

void TestOrderWork::takingMoreThanStockWritesNothing() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::order(*db, {.id = 5, .sumAll = 7});
    const qint64 part = builders::part(*db, {.amount = 2, .outPrice = 50});
    QVERIFY_THROWS_EXCEPTION(
        warehouse::StockError,
        addStockPart(*db, {.idPor = 5, .partId = part, .quantity = 3, .unitPrice = 50}, {}));
    QCOMPARE(count(*db, "SELECT amnt FROM parts"), 2);
    QCOMPARE(count(*db, "SELECT count(*) FROM PartsInPor"), 0);
    QCOMPARE(count(*db, "SELECT count(*) FROM Part_Moves"), 0);
    QCOMPARE(db->scalar("SELECT sumall FROM porychka").toDouble(), 7.0);
}

void TestOrderWork::partWithSerialNumbersMustNameTheUnit() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::registeredOrder(*db, builders::completeOrder(), 5);
    const qint64 part = builders::part(*db, {.amount = 1, .outPrice = 50, .serials = {"SN-A"}});
    QVERIFY_THROWS_EXCEPTION(
        warehouse::StockError,
        addStockPart(*db, {.idPor = 5, .partId = part, .quantity = 1, .unitPrice = 50}, {}));
    QVERIFY_THROWS_EXCEPTION(
        warehouse::StockError,
        addStockPart(
            *db, {.idPor = 5, .partId = part, .quantity = 1, .serial = "SN-GONE", .unitPrice = 50},
            {}));
    QCOMPARE(count(*db, "SELECT amnt FROM parts"), 1);
    QCOMPARE(count(*db, "SELECT count(*) FROM Part_Moves"), 0);
}

void TestOrderWork::linePrice_data() {
    QTest::addColumn<int>("opVal");
    QTest::addColumn<double>("outPrice");
    QTest::addColumn<int>("orderType");
    QTest::addColumn<bool>("needsRates");
    QTest::addColumn<double>("price");
    QTest::newRow("leva") << 1 << 12.346 << 0 << false << 12.35;
    QTest::newRow("euro") << 3 << 10.0 << 0 << true << 19.56;
    QTest::newRow("dollar") << 2 << 10.0 << 0 << true << 15.0;
    QTest::newRow("own warranty") << 3 << 10.0 << 1 << false << 0.0;
    QTest::newRow("outside warranty") << 1 << 10.0 << 2 << false << 0.0;
}

void TestOrderWork::linePrice() {
    QFETCH(int, opVal);
    QFETCH(double, outPrice);
    QFETCH(int, orderType);
    warehouse::Part part;
    part.opVal = opVal;
    part.outPrice = outPrice;
    QTEST(priceNeedsRates(part, orderType), "needsRates");
    const store::Rates rates{QDate::currentDate(), 1.5, 1.95583};
    QTEST(newLinePrice(part, orderType, rates), "price");
    if (priceNeedsRates(part, orderType))
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument,
                                 newLinePrice(part, orderType, std::nullopt));
}

void TestOrderWork::reportOpeningStoresTheDiscountedTotal() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::order(*db, {.id = 5, .client = "Транс ООД"});
    builders::order(*db, {.id = 6, .client = "Транс ООД", .type = 2});
    builders::client(*db, {.name = "Транс ООД", .partsDiscount = 10});
    for (qint64 id : {5, 6}) {
        builders::partLine(*db, id, {.part = 1, .amount = 2, .price = 50});
        builders::labourLine(*db, id, {.work = "x", .clientPrice = 50, .technicianAmount = 20});
    }
    const ClientDiscounts d = clientDiscounts(*db, "Транс ООД");
    QVERIFY(d.firmId);
    QCOMPARE(d.parts, 10.0);
    QCOMPARE(storeReportOpening(*db, 5, 10, d), 150.0);
    QSqlQuery q = db->exec("SELECT taksa, sumall FROM porychka WHERE idPor = 5");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toDouble(), 10.0);
    QCOMPARE(q.value(1).toDouble(), 150.0);
    // An unpaid order is not charged the default fee.
    QCOMPARE(storeReportOpening(*db, 6, 10, d), 140.0);
    QCOMPARE(db->scalar("SELECT taksa FROM porychka WHERE idPor = 6").toDouble(), 0.0);
    QVERIFY(!clientDiscounts(*db, "Непознат").firmId);
}

void TestOrderWork::linkedMoneyFields_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("discount");
    QTest::addColumn<double>("amount");
    QTest::newRow("client discount") << "" << 0.0 << 10.0 << 150.0;
    QTest::newRow("amount typed") << "amount" << 140.0 << 20.0 << 140.0;
    QTest::newRow("surcharge typed") << "discount" << -5.0 << -5.0 << 165.0;
    QTest::newRow("discount typed") << "discount" << 0.1 << 0.1 << 159.9;
}

void TestOrderWork::linkedMoneyFields() {
    QFETCH(QString, typed);
    QFETCH(double, value);
    OrderMoney m{.parts = 100, .labourClient = 50, .fee = 10, .discParts = 10};
    m.feeChanged(false);
    QVERIFY(m.discountEnabled);
    if (typed == "amount")
        m.amountTyped(value);
    else if (typed == "discount")
        m.discountTyped(value);
    QTEST(m.discount, "discount");
    QTEST(m.amount, "amount");
    QCOMPARE(m.gross(), 160.0);
}

void TestOrderWork::partsModeAndEmptyOrderHaveNoDiscount() {
    OrderMoney parts{.parts = 100, .fee = 10, .discParts = 10, .discount = 3};
    parts.feeChanged(true);
    QCOMPARE(parts.discount, 0.0);
    QVERIFY(!parts.discountEnabled);
    QCOMPARE(parts.amount, 110.0);
    OrderMoney empty{.discParts = 10, .discount = 3};
    empty.feeChanged(false);
    QCOMPARE(empty.discount, 0.0);
    QVERIFY(!empty.discountEnabled);
}

void TestOrderWork::labourLinesWithWorkTimes() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::registeredOrder(*db, builders::completeOrder(), 5);
    const qint64 ivan = builders::employee(*db, {.name = "Иван"});
    const MoneyContext ctx{.fee = 10};
    OrderMoney m = addLabourLine(*db,
                                 {.idPor = 5,
                                  .operationId = 7,
                                  .description = "Смяна на масло",
                                  .clientPrice = 60,
                                  .technicianAmount = 24,
                                  .technicianId = ivan,
                                  .hours = 1.5,
                                  .coefficient = 2,
                                  .byTime = true},
                                 ctx);
    m = addLabourLine(*db,
                      {.idPor = 5,
                       .description = "Измиване",
                       .clientPrice = 5,
                       .technicianAmount = 2,
                       .technicianId = ivan},
                      ctx);
    QCOMPARE(m.labourClient, 65.0);
    QCOMPARE(m.labourClerk, 26.0);
    QCOMPARE(m.amount, 75.0);
    QCOMPARE(db->scalar("SELECT sumtrud FROM porychka").toDouble(), 65.0);
    QCOMPARE(db->scalar("SELECT sumall FROM porychka").toDouble(), 75.0);
    QCOMPARE(count(*db, "SELECT count(*) FROM clerks_hours"), 1);
    const qint64 line = db->scalar("SELECT id FROM Jobs_In_Por WHERE idOp = 7").toLongLong();
    QSqlQuery h = db->exec("SELECT h1, idOp, Suma, idClerk, idPor FROM clerks_hours");
    QVERIFY(h.next());
    QCOMPARE(h.value(0).toDouble(), 3.0);
    QCOMPARE(h.value(1).toLongLong(), line);
    QCOMPARE(h.value(2).toDouble(), 24.0);
    QCOMPARE(h.value(3).toLongLong(), ivan);
    QVERIFY(db->scalar("SELECT idOp FROM Jobs_In_Por WHERE Trud = 'Измиване'").isNull());

    m = removeLabourLine(*db, line, ctx);
    QCOMPARE(count(*db, "SELECT count(*) FROM clerks_hours"), 0);
    QCOMPARE(count(*db, "SELECT count(*) FROM Jobs_In_Por"), 1);
    QCOMPARE(m.labourClient, 5.0);
    QCOMPARE(db->scalar("SELECT sumall FROM porychka").toDouble(), 15.0);
}

void TestOrderWork::externalGoodsTakenAndGivenBack() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::registeredOrder(*db, builders::completeOrder(), 5);
    const QString file = env.path("micro.db");
    builders::goodsFile(file, {{"G1", "Масло 5W40", 4, 20, 30}, {"G2", "Празно", 0, 1, 2}});
    {
        ExternalStore goods(file);
        const QList<Goods> inStock = goods.goodsInStock();
        QCOMPARE(inStock.size(), 1);
        QCOMPARE(inStock.first().name, QString("Масло 5W40"));
        QCOMPARE(goods.goodsInStock("масло*").size(), 1);
        QCOMPARE(goods.goodsInStock("масло").size(), 0); // as typed: no wildcard added
    }
    OrderMoney m = addExternalPart(*db,
                                   {.idPor = 5,
                                    .databaseIndex = 0,
                                    .databasePath = file,
                                    .good = "G1",
                                    .quantity = 3,
                                    .unitPrice = 30},
                                   {});
    QCOMPARE(builders::goodsQuantity(file, "G1"), 1.0);
    QCOMPARE(m.parts, 90.0);
    QSqlQuery line = db->exec("SELECT id, microBase, microPart, idPart FROM PartsInPor");
    QVERIFY(line.next());
    QCOMPARE(line.value(2).toString(), QString("G1"));
    QVERIFY(line.value(3).isNull());
    QCOMPARE(count(*db, "SELECT count(*) FROM Part_Moves"), 0);

    // More than the external warehouse holds: nothing is written on either side.
    QVERIFY_THROWS_EXCEPTION(
        ExternalStoreError,
        addExternalPart(
            *db, {.idPor = 5, .databasePath = file, .good = "G1", .quantity = 2, .unitPrice = 30},
            {}));
    QCOMPARE(count(*db, "SELECT count(*) FROM PartsInPor"), 1);
    QCOMPARE(builders::goodsQuantity(file, "G1"), 1.0);

    m = removePartLine(*db, line.value(0).toLongLong(), 1, {file}, {});
    QCOMPARE(builders::goodsQuantity(file, "G1"), 4.0);
    QCOMPARE(count(*db, "SELECT count(*) FROM PartsInPor"), 0);
    QCOMPARE(m.parts, 0.0);
}

void TestOrderWork::externalFailuresKeepTheLine_data() {
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("expected");
    QTest::newRow("goods code gone") << "code" << int(ExternalFailure::GoodsNotFound);
    QTest::newRow("file gone") << "file" << int(ExternalFailure::CannotOpen);
    QTest::newRow("not such a database") << "garbage" << int(ExternalFailure::CannotOpen);
    QTest::newRow("index not in the settings") << "index" << int(ExternalFailure::CannotOpen);
}

void TestOrderWork::externalFailuresKeepTheLine() {
    QFETCH(QString, failure);
    QFETCH(int, expected);
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::registeredOrder(*db, builders::completeOrder(), 5);
    const QString file = env.path("micro.db");
    builders::goodsFile(file, {{"G1", "Масло", 4, 20, 30}});
    addExternalPart(
        *db, {.idPor = 5, .databasePath = file, .good = "G1", .quantity = 1, .unitPrice = 30}, {});
    QStringList databases{file};
    if (failure == "code")
        db->exec("UPDATE PartsInPor SET microPart = 'G9'");
    else if (failure == "file")
        QFile::remove(file);
    else if (failure == "index")
        databases.clear();
    else {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("this is not a database at all, just some text");
    }
    const qint64 line = db->scalar("SELECT id FROM PartsInPor").toLongLong();
    try {
        removePartLine(*db, line, 1, databases, {});
        QFAIL("removal went on");
    } catch (const ExternalStoreError& e) {
        QCOMPARE(int(e.failure()), expected);
    }
    QCOMPARE(count(*db, "SELECT count(*) FROM PartsInPor"), 1);
    QCOMPARE(db->scalar("SELECT sumparts FROM porychka").toDouble(), 30.0);
    if (failure == "file")
        QVERIFY(!QFile::exists(file)); // a missing database is never created
}

void TestOrderWork::outsideServiceAndTechnicians() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::registeredOrder(*db, builders::completeOrder(), 5);
    QVERIFY(!sentToOutsideService(*db, 5));
    db->exec("INSERT INTO externals (idPor, back) VALUES (5, true)");
    QVERIFY(!sentToOutsideService(*db, 5));
    db->exec("INSERT INTO externals (idPor, back) VALUES (5, false)");
    QVERIFY(sentToOutsideService(*db, 5));

    builders::employee(*db, {.name = "Иван"});
    builders::employee(*db, {.name = "Стоян", .active = false});
    builders::employee(*db, {.name = "Мария", .kind = staff::kOtherEmployee});
    builders::employee(*db, {.name = "Петър"});
    QCOMPARE(staff::activeTechnicianNames(*db), (QStringList{"Иван", "Петър"}));
}

QTEST_MAIN(TestOrderWork)
#include "staff/employees.h"
#include "test_order_work.moc"

#include "orders/order_checks.h"
#include "orders/order_payment.h"
#include "orders/order_ready.h"
#include "orders/order_register.h"
#include "store/sql_values.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"

#include <QSqlRecord>
#include <QTest>

using namespace orders;
using testing::count;
using testing::TestEnvironment;

namespace {

const QDate kToday = QDate::currentDate();

// The worked example: two pieces at 50.00 bought at 30.00, labour 60.00 of which the
// technicians get 24.00, fee 10.00.
void workedOrder(store::Database& db, qint64 id, qint64 part,
                 const QString& client = "Иван Петров") {
    builders::order(db, {.id = id, .client = client});
    builders::partLine(db, id, {.part = part, .amount = 2, .price = 50});
    builders::labourLine(
        db, id, {.work = "Ремонт", .clientPrice = 60, .technicianAmount = 24, .technician = 2});
    builders::makeReady(db, id, {.fee = 10});
}

PaymentInput workedPayment(qint64 id, const QString& client = "Иван Петров") {
    return PaymentInput{.idPor = id,
                        .orderNumberText = QString::number(id),
                        .clientNames = client,
                        .fee = 10,
                        .labourClient = 60,
                        .labourClerk = 24,
                        .parts = 100,
                        .amount = 170,
                        .userId = 1};
}

double pech(store::Database& db, int note, int currency) {
    return db
        .scalar("SELECT Pech FROM pech WHERE Data = :d AND idNote = :n AND idVal = :v",
                {{"d", kToday}, {"n", note}, {"v", currency}})
        .toDouble();
}

// Every row of the tables an order's settlement may touch, as text.
QStringList snapshot(store::Database& db) {
    QStringList rows;
    for (const QString table : {"porychka", "pech", "kasa", "payClient", "payNoFact", "expenses",
                                "typeexpenses", "prihodi", "typepr", "paymClerks", "homevisit"}) {
        QSqlQuery q = db.exec("SELECT * FROM " + table + " ORDER BY 1");
        while (q.next()) {
            QStringList values;
            for (int i = 0; i < q.record().count(); ++i)
                values << q.value(i).toString();
            rows << table + ":" + values.join('|');
        }
    }
    return rows;
}

} // namespace

class TestOrderSettlement : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void levaOrderIsSettledInEveryBook();
    void dollarPartsProfitGoesToTheDollarRow();
    void secondOrderOfTheDayAddsToTheSameRows();
    void amountZeroWritesNoMoneyRecords();
    void discountAndSurcharge_data();
    void discountAndSurcharge();
    void registeredClientOnAccount();
    void externalPartsProfitIsThePriceCharged();
    void failureInTheMiddleLeavesEverythingAsBefore();
    void paidOrderIsNotPaidTwice();
    void readyChecks_data();
    void readyChecks();
    void paymentChecks();
    void warrantyOrderCreditsEveryLine();
    void zeroLabourWritesNoAccruals();
    void homeVisitIsClosed();
    void failedAccrualLeavesTheOrderInWork();
    void restoreRefusedOncePaidOut();
};

void TestOrderSettlement::levaOrderIsSettledInEveryBook() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 part = builders::part(*db, {.inPrice = 30, .inCurrency = store::kLeva});
    workedOrder(*db, 7, part);
    const PaymentResult r = payOrder(*db, workedPayment(7));
    QVERIFY(r.paid);
    QCOMPARE(r.profit, 86.0);
    QCOMPARE(pech(*db, 1, 1), 40.0);
    QCOMPARE(pech(*db, 2, 1), 36.0);
    QCOMPARE(pech(*db, 3, 1), 10.0);
    QCOMPARE(count(*db, "SELECT count(*) FROM pech"), 3);
    QSqlQuery cash = db->exec("SELECT Suma, idVal, Notes, UserID, Data FROM kasa");
    QVERIFY(cash.next());
    QCOMPARE(cash.value(0).toDouble(), 170.0);
    QCOMPARE(cash.value(1).toInt(), 1);
    QCOMPARE(cash.value(2).toString(), QString("Плащане поръчка №7"));
    QCOMPARE(cash.value(3).toInt(), 1);
    QCOMPARE(store::dateFromDb(cash.value(4)), kToday);
    QVERIFY(!cash.next());
    QSqlQuery order = db->exec("SELECT payed, payDate, idClerk, Pech, sumall FROM porychka");
    QVERIFY(order.next());
    QVERIFY(store::boolFromDb(order.value(0)));
    QCOMPARE(store::dateFromDb(order.value(1)), kToday);
    QCOMPARE(order.value(2).toInt(), 0);
    QCOMPARE(order.value(3).toDouble(), 86.0);
    QCOMPARE(order.value(4).toDouble(), 170.0);
    QCOMPARE(count(*db, "SELECT count(*) FROM payNoFact"), 0); // client not registered
    QCOMPARE(count(*db, "SELECT count(*) FROM payClient"), 0);
    QCOMPARE(count(*db, "SELECT count(*) FROM expenses") +
                 count(*db, "SELECT count(*) FROM prihodi"),
             0);
}

void TestOrderSettlement::dollarPartsProfitGoesToTheDollarRow() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 part = builders::part(*db, {.inPrice = 20, .inCurrency = store::kUsd});
    workedOrder(*db, 7, part);
    QVERIFY(paymentNeedsRates(*db, 7, false)); // its cost must be converted in any case
    PaymentInput in = workedPayment(7);
    in.foreignCurrencies = true;
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, payOrder(*db, in));
    QVERIFY(!store::boolFromDb(db->scalar("SELECT payed FROM porychka")));
    in.rates = store::Rates{kToday, 1.5, 1.95583};
    const PaymentResult r = payOrder(*db, in);
    QCOMPARE(pech(*db, 1, 2), 26.67);
    QCOMPARE(count(*db, "SELECT count(*) FROM pech WHERE idNote = 1 AND idVal = 1"), 0);
    QCOMPARE(r.profit, 86.0);
}

void TestOrderSettlement::secondOrderOfTheDayAddsToTheSameRows() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 leva = builders::part(*db, {.inPrice = 30, .inCurrency = store::kLeva});
    const qint64 dollar =
        builders::part(*db, {.name = "Свещ", .inPrice = 20, .inCurrency = store::kUsd});
    workedOrder(*db, 7, leva);
    workedOrder(*db, 8, dollar);
    workedOrder(*db, 9, dollar);
    const store::Rates rates{kToday, 1.5, 1.95583};
    for (qint64 id : {7, 8, 9}) {
        PaymentInput in = workedPayment(id);
        in.foreignCurrencies = true;
        in.rates = rates;
        QVERIFY(payOrder(*db, in).paid);
    }
    QCOMPARE(pech(*db, 1, 1), 40.0);
    QCOMPARE(pech(*db, 1, 2), 53.34);
    QCOMPARE(pech(*db, 2, 1), 108.0);
    QCOMPARE(pech(*db, 3, 1), 30.0);
    QCOMPARE(count(*db, "SELECT count(*) FROM pech"), 4);
    QCOMPARE(count(*db, "SELECT count(*) FROM kasa"), 3);
}

void TestOrderSettlement::amountZeroWritesNoMoneyRecords() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 part = builders::part(*db, {.inPrice = 30});
    workedOrder(*db, 7, part, "Транс ООД");
    builders::client(*db, {.name = "Транс ООД"});
    PaymentInput in = workedPayment(7, "Транс ООД");
    in.clientId = 1;
    in.amount = 0;
    in.discount = 170;
    const PaymentResult r = payOrder(*db, in);
    QVERIFY(r.paid);
    QCOMPARE(count(*db, "SELECT count(*) FROM kasa"), 0);
    QCOMPARE(count(*db, "SELECT count(*) FROM payClient"), 0);
    QCOMPARE(count(*db, "SELECT count(*) FROM payNoFact"), 0);
    QCOMPARE(pech(*db, 2, 1), 36.0);
    QCOMPARE(r.profit, 86.0 - 170.0);
    QCOMPARE(db->scalar("SELECT Pech FROM porychka").toDouble(), -84.0);
}

void TestOrderSettlement::discountAndSurcharge_data() {
    QTest::addColumn<double>("discount");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("type");
    QTest::addColumn<double>("booked");
    QTest::addColumn<double>("profit");
    QTest::newRow("discount") << 15.0 << "expenses"
                              << "Отстъпки в поръчки" << 15.0 << 71.0;
    QTest::newRow("surcharge") << -5.0 << "prihodi"
                               << "Корекции в поръчки" << 5.0 << 91.0;
}

void TestOrderSettlement::discountAndSurcharge() {
    QFETCH(double, discount);
    QFETCH(QString, table);
    QFETCH(QString, type);
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 part = builders::part(*db, {.inPrice = 30});
    workedOrder(*db, 7, part);
    PaymentInput in = workedPayment(7);
    in.discount = discount;
    in.amount = 170 - discount;
    const PaymentResult r = payOrder(*db, in);
    QTEST(r.profit, "profit");
    const QString typeTable = table == "expenses" ? "typeexpenses" : "typepr";
    QSqlQuery q = db->exec("SELECT t.Type, e.Suma, e.Notes, e.Data FROM " + table + " e JOIN " +
                           typeTable + " t ON t.id = e.TypeID");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), type);
    QTEST(q.value(1).toDouble(), "booked");
    QCOMPARE(q.value(2).toString(), QString("Иван Петров - поръчка 7"));
    QCOMPARE(store::dateFromDb(q.value(3)), kToday);
    QVERIFY(!q.next());
    QCOMPARE(db->scalar("SELECT Suma FROM kasa").toDouble(), 170 - discount);
}

void TestOrderSettlement::registeredClientOnAccount() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 part = builders::part(*db, {.inPrice = 30});
    workedOrder(*db, 7, part, "Транс ООД");
    const qint64 firm = builders::client(*db, {.name = "Транс ООД"});
    PaymentInput in = workedPayment(7, "Транс ООД");
    in.clientId = firm;
    in.method = PayMethod::Account;
    payOrder(*db, in);
    QCOMPARE(count(*db, "SELECT count(*) FROM kasa"), 0);
    QSqlQuery debt = db->exec("SELECT Suma, idVal, Notes, idName FROM payClient");
    QVERIFY(debt.next());
    QCOMPARE(debt.value(0).toDouble(), 170.0);
    QCOMPARE(debt.value(2).toString(), QString("От поръчка №7"));
    QCOMPARE(debt.value(3).toLongLong(), firm);
    QSqlQuery unbilled = db->exec("SELECT idClient, data, opis, suma FROM payNoFact");
    QVERIFY(unbilled.next());
    QCOMPARE(unbilled.value(0).toLongLong(), firm);
    QCOMPARE(store::dateFromDb(unbilled.value(1)), kToday);
    QCOMPARE(unbilled.value(2).toString(), QString("Ремонт - сервизна поръчка No 7"));
    QCOMPARE(unbilled.value(3).toDouble(), 170.0);
}

void TestOrderSettlement::externalPartsProfitIsThePriceCharged() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const QString file = env.path("micro.db");
    // The list price has risen to 45 since the line was booked at 30.
    builders::goodsFile(file, {{"G1", "Масло", 4, 20, 45}});
    builders::order(*db, {.id = 7, .ready = true, .state = 3});
    builders::order(*db, {.id = 8, .ready = true, .type = 2, .state = 3});
    db->exec("INSERT INTO PartsInPor (idPor, amnt, priceLV, microBase, microPart) "
             "VALUES (7, 2, 30, 0, 'G1'), (8, 1, 0, 0, 'G1')");
    PaymentResult r =
        payOrder(*db, {.idPor = 7, .parts = 60, .amount = 60, .externalDatabases = {file}});
    QCOMPARE(r.profit, 20.0);
    QCOMPARE(pech(*db, 1, 1), 20.0);
    // A warranty order gives the part free: its cost is a loss, not a profit at list price.
    r = payOrder(*db, {.idPor = 8, .externalDatabases = {file}});
    QCOMPARE(r.profit, -20.0);
    QCOMPARE(pech(*db, 1, 1), 0.0);
}

void TestOrderSettlement::failureInTheMiddleLeavesEverythingAsBefore() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 part = builders::part(*db, {.inPrice = 30});
    workedOrder(*db, 7, part);
    db->exec("INSERT INTO pech (Data, idNote, idVal, Pech) VALUES (:d, 2, 1, 5)", {{"d", kToday}});
    // The till refuses, after the order row and the profit rows have been written.
    db->exec("CREATE TRIGGER refuse_cash BEFORE INSERT ON kasa "
             "BEGIN SELECT RAISE(ABORT, 'kasa is locked'); END");
    const QStringList before = snapshot(*db);
    PaymentInput in = workedPayment(7);
    in.discount = 15;
    try {
        payOrder(*db, in);
        QFAIL("payment went on");
    } catch (const store::DbError& e) {
        QVERIFY(e.message().contains("kasa is locked"));
    }
    QCOMPARE(snapshot(*db), before);
}

void TestOrderSettlement::paidOrderIsNotPaidTwice() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 part = builders::part(*db, {.inPrice = 30});
    workedOrder(*db, 7, part);
    builders::order(*db, {.id = 8});
    QVERIFY(payOrder(*db, workedPayment(7)).paid);
    const QStringList after = snapshot(*db);
    QVERIFY(!payOrder(*db, workedPayment(7)).paid);
    QVERIFY(!payOrder(*db, workedPayment(8)).paid); // not ready
    QCOMPARE(snapshot(*db), after);
}

void TestOrderSettlement::readyChecks_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("fee");
    QTest::addColumn<double>("labourClient");
    QTest::addColumn<double>("labourClerk");
    QTest::addColumn<QStringList>("expected"); // "?" before a question
    const QString zero = "?Отчет на поръчка с нулева цена!\nТова вероятно означва отказан "
                         "ремонт.\nЖелаете ли да продължите?";
    const QString fee = "?Taксата е различна от обявената!\nЖелаете ли да продължите?";
    const QString labour =
        "?За ремонта е положен труд, а цената на труда е нулева\nЖелаете ли да продължите?";
    QTest::newRow("all fine") << 0 << 100.0 << 10.0 << 50.0 << 20.0 << QStringList{};
    QTest::newRow("negative amount")
        << 0 << -1.0 << 10.0 << 50.0 << 20.0
        << QStringList{"Не може да отчетете поръчка с отрицателна цена!"};
    QTest::newRow("zero amount") << 0 << 0.0 << 10.0 << 0.0 << 20.0 << QStringList{zero};
    QTest::newRow("zero amount, warranty") << 2 << 0.0 << 0.0 << 0.0 << 30.0 << QStringList{};
    QTest::newRow("other fee") << 0 << 100.0 << 15.0 << 50.0 << 20.0 << QStringList{fee};
    QTest::newRow("other fee, warranty") << 1 << 0.0 << 0.0 << 0.0 << 20.0 << QStringList{};
    QTest::newRow("negative fee") << 0 << 100.0 << -2.0 << 50.0 << 20.0
                                  << QStringList{
                                         "не може да въвеждате отрицателна стойност за такса!",
                                         fee};
    QTest::newRow("negative labour")
        << 0 << 100.0 << 10.0 << -5.0 << 20.0
        << QStringList{"Не може да въвеждате отрицателна стойност за цена на труда!"};
    QTest::newRow("zero technicians") << 0 << 100.0 << 10.0 << 50.0 << 0.0 << QStringList{labour};
}

void TestOrderSettlement::readyChecks() {
    QFETCH(int, type);
    QFETCH(double, amount);
    QFETCH(double, fee);
    QFETCH(double, labourClient);
    QFETCH(double, labourClerk);
    QStringList texts;
    for (const OrderCheck& c :
         orders::readyChecks({type, amount, fee, 10, labourClient, labourClerk, true}))
        texts << (c.question ? "?" : "") + c.text;
    QTEST(texts, "expected");
}

void TestOrderSettlement::paymentChecks() {
    QStringList texts;
    for (const OrderCheck& c : orders::paymentChecks({0, -1, -1, 10, 0, 0, true}))
        texts << c.text;
    QCOMPARE(texts, (QStringList{"Не може да отчетете поръчка с отрицателна цена!",
                                 "не може да въвеждате отрицателна стойност за такса!",
                                 "Taксата е различна от обявената!\nЖелаете ли да продължите?"}));
    QVERIFY(orders::paymentChecks({2, 0, 0, 10, 0, 0, true}).isEmpty());
    QVERIFY(orders::paymentChecks({0, 0, 10, 10, 0, 0, false}).isEmpty());
}

void TestOrderSettlement::warrantyOrderCreditsEveryLine() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::order(*db, {.id = 7, .type = 2, .idClerk = 3});
    for (int i = 0; i < 3; ++i)
        builders::labourLine(
            *db, 7, {.work = "x", .clientPrice = 0, .technicianAmount = 10, .technician = 2 + i});
    QCOMPARE(markReady(*db, {.idPor = 7, .resultItem = 1}), ReadyOutcome::Ready);
    QSqlQuery order =
        db->exec("SELECT ready, readyDate, porState, idClerk, sumall, taksa FROM porychka");
    QVERIFY(order.next());
    QVERIFY(store::boolFromDb(order.value(0)));
    QCOMPARE(store::dateFromDb(order.value(1)), kToday);
    QCOMPARE(order.value(2).toInt(), 4);
    QCOMPARE(order.value(3).toInt(), 0);
    QSqlQuery e = db->exec("SELECT idClerk, data, mesec, godina, suma, noPor, payed, notes "
                           "FROM paymClerks ORDER BY id");
    int rows = 0;
    while (e.next()) {
        QCOMPARE(e.value(0).toInt(), 2 + rows);
        QCOMPARE(store::dateFromDb(e.value(1)), kToday);
        QCOMPARE(e.value(2).toInt(), kToday.month());
        QCOMPARE(e.value(3).toInt(), kToday.year());
        QCOMPARE(e.value(4).toDouble(), 10.0);
        QCOMPARE(e.value(5).toInt(), 7);
        QVERIFY(!store::boolFromDb(e.value(6)));
        QCOMPARE(e.value(7).toString(), QString("От поръчка"));
        ++rows;
    }
    QCOMPARE(rows, 3);
    // Reported once: a second marking (another workstation) credits nothing more.
    QCOMPARE(markReady(*db, {.idPor = 7}), ReadyOutcome::AlreadyReady);
    QCOMPARE(count(*db, "SELECT count(*) FROM paymClerks"), 3);
    QCOMPARE(db->scalar("SELECT porState FROM porychka").toInt(), 4);
}

void TestOrderSettlement::zeroLabourWritesNoAccruals() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::order(*db, {.id = 7});
    builders::labourLine(*db, 7,
                         {.work = "x", .clientPrice = 20, .technicianAmount = 0, .technician = 2});
    QCOMPARE(
        markReady(*db, {.idPor = 7, .fee = 10, .labourClient = 20, .amount = 30, .resultItem = 3}),
        ReadyOutcome::Ready);
    QCOMPARE(count(*db, "SELECT count(*) FROM paymClerks"), 0);
    QSqlQuery q = db->exec("SELECT porState, taksa, sumtrud, sumall FROM porychka");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 7);
    QCOMPARE(q.value(1).toDouble(), 10.0);
    QCOMPARE(q.value(2).toDouble(), 20.0);
    QCOMPARE(q.value(3).toDouble(), 30.0);
}

void TestOrderSettlement::homeVisitIsClosed() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::order(*db, {.id = 7});
    db->exec("INSERT INTO homevisit (field1, visited, idClerk) VALUES ('7', false, 3), "
             "('17', false, 3)");
    markReady(*db, {.idPor = 7});
    QSqlQuery q = db->exec("SELECT visited, idClerk, field2 FROM homevisit ORDER BY id");
    QVERIFY(q.next());
    QVERIFY(store::boolFromDb(q.value(0)));
    QCOMPARE(q.value(1).toInt(), 0);
    QCOMPARE(q.value(2).toString(), kToday.toString("dd.MM.yyyy"));
    QVERIFY(q.next());
    QVERIFY(!store::boolFromDb(q.value(0)));
}

void TestOrderSettlement::failedAccrualLeavesTheOrderInWork() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::order(*db, {.id = 7});
    for (const auto& [work, technician] : {std::pair{"x", 2}, {"y", 3}})
        builders::labourLine(
            *db, 7,
            {.work = work, .clientPrice = 20, .technicianAmount = 5, .technician = technician});
    db->exec("CREATE TRIGGER refuse_second BEFORE INSERT ON paymClerks WHEN NEW.idClerk = 3 "
             "BEGIN SELECT RAISE(ABORT, 'earnings locked'); END");
    const QStringList before = snapshot(*db);
    QVERIFY_THROWS_EXCEPTION(store::DbError, markReady(*db, {.idPor = 7}));
    QCOMPARE(snapshot(*db), before);
}

void TestOrderSettlement::restoreRefusedOncePaidOut() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::order(*db, {.id = 7, .ready = true, .readyDate = kToday, .state = 3});
    builders::order(*db, {.id = 8, .ready = true, .readyDate = kToday, .state = 3});
    for (const auto& [por, paid] : {std::pair{7, false}, {7, true}, {8, false}})
        db->exec("INSERT INTO paymClerks (idClerk, suma, noPor, payed) VALUES (2, 10, :p, :paid)",
                 {{"p", por}, {"paid", paid}});
    for (qint64 por : {7, 8})
        builders::labourLine(
            *db, por, {.work = "x", .clientPrice = 20, .technicianAmount = 10, .technician = 2});
    try {
        restoreToWork(*db, 7);
        QFAIL("restored");
    } catch (const RestoreRefused& e) {
        QCOMPARE(e.message(), earningsPaidOutText(7));
    }
    QCOMPARE(count(*db, "SELECT count(*) FROM paymClerks WHERE noPor = 7"), 2);
    QVERIFY(store::boolFromDb(db->scalar("SELECT ready FROM porychka WHERE idPor = 7")));
    restoreToWork(*db, 8);
    QCOMPARE(count(*db, "SELECT count(*) FROM paymClerks WHERE noPor = 8"), 0);
    QCOMPARE(db->scalar("SELECT porState FROM porychka WHERE idPor = 8").toInt(), 1);
}

QTEST_MAIN(TestOrderSettlement)
#include "test_order_settlement.moc"

#include "store/currency.h"
#include "store/ledger.h"
#include "store/sql_values.h"
#include "store/transaction.h"
#include "support/test_environment.h"

#include <QSqlQuery>
#include <QTest>
#include <cmath>
#include <limits>

using namespace store;
using testing::TestEnvironment;

namespace {

struct PechRow {
    QDate date;
    int source;
    int currency;
    double amount;
};

QList<PechRow> pechRows(Database& db) {
    QList<PechRow> rows;
    QSqlQuery q = db.exec("SELECT Data, idNote, idVal, Pech FROM pech ORDER BY id");
    while (q.next())
        rows.append({dateFromDb(q.value(0)), q.value(1).toInt(), q.value(2).toInt(),
                     q.value(3).toDouble()});
    return rows;
}

int count(Database& db, const QString& table) {
    return db.scalar("SELECT count(*) FROM " + table).toInt();
}

// The profit of one sale line: prices converted to leva, difference times quantity, back into
// the currency of the delivery price.
double saleProfit(double salePrice, int saleCurrency, double deliveryPrice, int deliveryCurrency,
                  int quantity, const Rates& rates) {
    const double leva =
        (toLeva(salePrice, saleCurrency, rates) - toLeva(deliveryPrice, deliveryCurrency, rates)) *
        quantity;
    return fromLeva(leva, deliveryCurrency, rates);
}

} // namespace

class TestLedger : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void movementsKeepTheirRecordForm_data();
    void movementsKeepTheirRecordForm();
    void profitIsOneRowPerDaySourceAndCurrency();
    void lossLowersTheDaysProfitBelowZero();
    void expenseAndIncomeTypesAreCreatedOnce_data();
    void expenseAndIncomeTypesAreCreatedOnce();
    void earningsCarryTheOrderOnlyWhenGiven();
    void refusedPostingUndoesTheWholeOperation();
    void postingsCommitWithTheirOperation();
    void nonsenseIsRefusedBeforeAnythingIsWritten_data();
    void nonsenseIsRefusedBeforeAnythingIsWritten();
    void profitSourcesHaveTheirReportTexts_data();
    void profitSourcesHaveTheirReportTexts();
};

void TestLedger::movementsKeepTheirRecordForm_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("partyColumn");
    QTest::newRow("cash book, user") << "kasa"
                                     << "UserID";
    QTest::newRow("supplier debt") << "payments"
                                   << "idDost";
    QTest::newRow("client debt") << "payClient"
                                 << "idName";
}

void TestLedger::movementsKeepTheirRecordForm() {
    QFETCH(QString, table);
    QFETCH(QString, partyColumn);
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDateTime at(QDate(2024, 3, 5), QTime(14, 5, 9));
    const QString notes = "Плащане по ф-ра 12 на \"Иван's\" ООД";
    const double amount = -123.456; // kept to hundredths
    if (table == "kasa")
        postCash(*db, {.amount = amount, .currency = kUsd, .notes = notes, .userId = 7}, at);
    else if (table == "payments")
        postSupplierDebt(*db, {.amount = amount, .currency = kUsd, .notes = notes, .supplierId = 7},
                         at);
    else
        postClientDebt(*db, {.amount = amount, .currency = kUsd, .notes = notes, .clientId = 7},
                       at);

    QSqlQuery q = db->exec(
        QString("SELECT Data, Chas, Suma, idVal, Notes, %1 FROM %2").arg(partyColumn, table));
    QVERIFY(q.next());
    QCOMPARE(dateFromDb(q.value(0)), at.date());
    QCOMPARE(timeFromDb(q.value(1)), at.time());
    QCOMPARE(q.value(2).toDouble(), -123.46);
    QCOMPARE(q.value(3).toInt(), kUsd);
    QCOMPARE(q.value(4).toString(), notes);
    QCOMPARE(q.value(5).toInt(), 7);
    QVERIFY(!q.next());
}

void TestLedger::profitIsOneRowPerDaySourceAndCurrency() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDate day(2024, 3, 5);
    const Rates rates{day, 1.8, 1.95583};
    // Two counter sales of parts bought in dollars, sold in leva.
    const double first = saleProfit(30, kLeva, 12, kUsd, 1, rates);
    const double second = saleProfit(50, kLeva, 20, kUsd, 2, rates);
    postProfit(*db, ProfitSource::PartsSale, kUsd, first, day);
    postProfit(*db, ProfitSource::PartsSale, kUsd, second, day);
    QCOMPARE(count(*db, "pech"), 1);
    QList<PechRow> rows = pechRows(*db);
    QCOMPARE(rows[0].date, day);
    QCOMPARE(rows[0].source, 0);
    QCOMPARE(rows[0].currency, kUsd);
    QVERIFY(std::fabs(rows[0].amount - (first + second)) < 1e-9);
    QVERIFY(std::fabs(rows[0].amount - (30 / 1.8 - 12 + (100 / 1.8 - 40))) < 1e-9);

    // A part bought in leva, another source, another day: each its own row.
    postProfit(*db, ProfitSource::PartsSale, kLeva, 4.5, day);
    postProfit(*db, ProfitSource::LabourInOrders, kUsd, 10, day);
    postProfit(*db, ProfitSource::PartsSale, kUsd, 1, day.addDays(1));
    rows = pechRows(*db);
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[1].currency, kLeva);
    QCOMPARE(rows[1].amount, 4.5);
    QCOMPARE(rows[2].source, 2);
    QCOMPARE(rows[3].date, day.addDays(1));
    QVERIFY(std::fabs(rows[0].amount - (first + second)) < 1e-9);
}

void TestLedger::lossLowersTheDaysProfitBelowZero() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDate day = QDate::currentDate();
    postProfit(*db, ProfitSource::PartsSale, kLeva, 5); // today by default
    const Rates rates{day, 1.8, 1.95583};
    const double loss = saleProfit(10, kLeva, 15, kLeva, 2, rates);
    QCOMPARE(loss, -10.0);
    postProfit(*db, ProfitSource::PartsSale, kLeva, loss);
    const QList<PechRow> rows = pechRows(*db);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].date, day);
    QCOMPARE(rows[0].amount, -5.0);
}

void TestLedger::expenseAndIncomeTypesAreCreatedOnce_data() {
    QTest::addColumn<bool>("expense");
    QTest::addColumn<QString>("typeTable");
    QTest::addColumn<QString>("table");
    QTest::newRow("expense") << true << "typeexpenses"
                             << "expenses";
    QTest::newRow("income") << false << "typepr"
                            << "prihodi";
}

void TestLedger::expenseAndIncomeTypesAreCreatedOnce() {
    QFETCH(bool, expense);
    QFETCH(QString, typeTable);
    QFETCH(QString, table);
    TestEnvironment env;
    auto db = env.newDatabase();
    auto post = [&](const QString& type, double amount, const QString& notes, const QDate& day) {
        return expense ? postExpense(*db, type, amount, notes, day)
                       : postIncome(*db, type, amount, notes, day);
    };
    db->exec("INSERT INTO " + typeTable + " (Type) VALUES ('Наем')");
    const QDate day(2024, 1, 31);
    const int first = post("Заплати", 800.555, "Заплата м.01", day);
    const int again = post("Заплати", 20, "Аванс", day);
    const int existing = post("Наем", 300, "", day);
    const int otherCase = post("заплати", 1, "", day); // types match exactly
    QCOMPARE(again, first);
    QVERIFY(existing != first);
    QVERIFY(otherCase != first);
    QCOMPARE(count(*db, typeTable), 3);
    QCOMPARE(db->scalar("SELECT count(*) FROM " + typeTable + " WHERE Type = 'Заплати'").toInt(),
             1);

    QSqlQuery q = db->exec("SELECT TypeID, Data, Suma, Notes FROM " + table + " ORDER BY id");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), first);
    QCOMPARE(dateFromDb(q.value(1)), day);
    QCOMPARE(q.value(2).toDouble(), 800.555);
    QCOMPARE(q.value(3).toString(), QString("Заплата м.01"));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), first);
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), existing);
    QVERIFY(q.next());
    QVERIFY(!q.next());
}

void TestLedger::earningsCarryTheOrderOnlyWhenGiven() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDate day(2023, 12, 31);
    postEarning(*db, {.clerkId = 3, .amount = 12.345, .notes = "Труд", .orderNo = 1042}, day);
    postEarning(*db, {.clerkId = 4, .amount = -5, .notes = "Удръжка"}, day);
    QSqlQuery q =
        db->exec("SELECT idClerk, data, mesec, godina, suma, noPor, payed, notes FROM paymClerks "
                 "ORDER BY id");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 3);
    QCOMPARE(dateFromDb(q.value(1)), day);
    QCOMPARE(q.value(2).toInt(), 12);
    QCOMPARE(q.value(3).toInt(), 2023);
    QCOMPARE(q.value(4).toDouble(), 12.34); // half to even
    QCOMPARE(q.value(5).toLongLong(), 1042);
    QCOMPARE(boolFromDb(q.value(6)), false);
    QVERIFY(!q.value(6).isNull());
    QCOMPARE(q.value(7).toString(), QString("Труд"));
    QVERIFY(q.next());
    QCOMPARE(q.value(4).toDouble(), -5.0);
    QVERIFY(q.value(5).isNull());
}

void TestLedger::refusedPostingUndoesTheWholeOperation() {
    TestEnvironment env;
    auto db = env.newDatabase();
    postProfit(*db, ProfitSource::PartsSale, kLeva, 10); // an earlier, finished operation
    db->exec("CREATE TRIGGER refuse BEFORE INSERT ON payClient "
             "BEGIN SELECT RAISE(ABORT, 'client account locked'); END");
    QString engineText;
    try {
        Transaction operation(*db);
        postCash(*db, {.amount = 50, .currency = kLeva, .notes = "Поръчка 5", .userId = 1});
        postProfit(*db, ProfitSource::PartsSale, kLeva, 15);
        postExpense(*db, "Отстъпки в поръчки", 2, "Поръчка 5");
        postClientDebt(*db, {.amount = 30, .currency = kLeva, .notes = "Поръчка 5", .clientId = 2});
        operation.commit();
        QFAIL("the refused posting did not throw");
    } catch (const DbError& e) {
        engineText = e.message();
    }
    QVERIFY2(engineText.contains("client account locked"), qPrintable(engineText));
    QCOMPARE(count(*db, "kasa"), 0);
    QCOMPARE(count(*db, "expenses"), 0);
    QCOMPARE(count(*db, "typeexpenses"), 0);
    const QList<PechRow> rows = pechRows(*db);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].amount, 10.0);
    // The connection is usable afterwards.
    postCash(*db, {.amount = 1, .currency = kLeva, .notes = "", .userId = 1});
    QCOMPARE(count(*db, "kasa"), 1);
}

void TestLedger::postingsCommitWithTheirOperation() {
    TestEnvironment env;
    const QString path = env.path("ops.mdz");
    {
        auto db = Database::createFile(path);
        Transaction operation(*db);
        postSupplierDebt(*db,
                         {.amount = -100, .currency = kEur, .notes = "Плащане", .supplierId = 1});
        postCash(*db, {.amount = -100, .currency = kEur, .notes = "Плащане", .userId = 1});
        operation.commit();
    }
    auto db = Database::openFile(path);
    QCOMPARE(db->scalar("SELECT sum(Suma) FROM payments WHERE idVal = 3").toDouble(), -100.0);
    QCOMPARE(db->scalar("SELECT sum(Suma) FROM kasa WHERE idVal = 3").toDouble(), -100.0);
}

void TestLedger::nonsenseIsRefusedBeforeAnythingIsWritten_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<int>("currency");
    QTest::newRow("currency 0") << 10.0 << 0;
    QTest::newRow("currency 4") << 10.0 << 4;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << kLeva;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << kUsd;
}

void TestLedger::nonsenseIsRefusedBeforeAnythingIsWritten() {
    QFETCH(double, amount);
    QFETCH(int, currency);
    TestEnvironment env;
    auto db = env.newDatabase();
    QVERIFY_THROWS_EXCEPTION(
        DbError,
        postCash(*db, {.amount = amount, .currency = currency, .notes = "x", .userId = 1}));
    QVERIFY_THROWS_EXCEPTION(DbError, postProfit(*db, ProfitSource::OrderFees, currency, amount));
    QCOMPARE(count(*db, "kasa"), 0);
    QCOMPARE(count(*db, "pech"), 0);
}

void TestLedger::profitSourcesHaveTheirReportTexts_data() {
    QTest::addColumn<int>("idNote");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << "От продажба части";
    QTest::newRow("1") << 1 << "От части в поръчка";
    QTest::newRow("2") << 2 << "От труд в поръчка";
    QTest::newRow("3") << 3 << "От такса в поръчка";
    QTest::newRow("4") << 4 << "От гаранционни поръчки";
    QTest::newRow("5 unused") << 5 << "";
    QTest::newRow("6") << 6 << "От абонаментни договори";
    QTest::newRow("7 unknown") << 7 << "";
    QTest::newRow("negative") << -1 << "";
}

void TestLedger::profitSourcesHaveTheirReportTexts() {
    QFETCH(int, idNote);
    QFETCH(QString, text);
    QCOMPARE(profitSourceText(idNote), text);
}

QTEST_MAIN(TestLedger)
#include "test_ledger.moc"

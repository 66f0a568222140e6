#include "store/currency.h"
#include "store/sql_values.h"
#include "support/test_environment.h"

#include <QTest>
#include <limits>

using namespace store;
using testing::TestEnvironment;

class TestCurrency : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void codesHaveTheirTexts_data();
    void codesHaveTheirTexts();
    void conversionGoesThroughLeva_data();
    void conversionGoesThroughLeva();
    void conversionRefusesUnknownCodesAndMissingRates();
    void rateRowsAreFoundByDate();
    void proposalsAreDefaultsThenTheLatestRow();
    void rowsWithoutPositiveRatesAreRefused_data();
    void rowsWithoutPositiveRatesAreRefused();
    void aDateHasOneRateRow();
};

void TestCurrency::codesHaveTheirTexts_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("leva") << 1 << "лв.";
    QTest::newRow("dollars") << 2 << "USD";
    QTest::newRow("euros") << 3 << "EUR";
    QTest::newRow("none") << 0 << "";
    QTest::newRow("four") << 4 << "";
}

void TestCurrency::codesHaveTheirTexts() {
    QFETCH(int, code);
    QFETCH(QString, text);
    QCOMPARE(currencyText(code), text);
    QCOMPARE(isCurrencyCode(code), !text.isEmpty());
}

void TestCurrency::conversionGoesThroughLeva_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<double>("expected");
    // 1 USD = 1.8 leva, 1 EUR = 1.95583 leva.
    QTest::newRow("leva stay") << 12.5 << 1 << 1 << 12.5;
    QTest::newRow("dollars to leva") << 10.0 << 2 << 1 << 18.0;
    QTest::newRow("euros to leva") << 100.0 << 3 << 1 << 195.583;
    QTest::newRow("leva to dollars") << 18.0 << 1 << 2 << 10.0;
    QTest::newRow("leva to euros") << 195.583 << 1 << 3 << 100.0;
    QTest::newRow("dollars to euros") << 195.583 << 2 << 3 << 180.0;
    QTest::newRow("negative amount") << -9.0 << 2 << 1 << -16.2;
}

void TestCurrency::conversionGoesThroughLeva() {
    QFETCH(double, amount);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(double, expected);
    const Rates rates{QDate(2024, 3, 5), 1.8, 1.95583};
    QVERIFY(qAbs(convert(amount, from, to, rates) - expected) < 1e-9);
    if (to == kLeva)
        QVERIFY(qAbs(toLeva(amount, from, rates) - expected) < 1e-9);
    if (from == kLeva)
        QVERIFY(qAbs(fromLeva(amount, to, rates) - expected) < 1e-9);
    // And back again.
    QVERIFY(qAbs(convert(expected, to, from, rates) - amount) < 1e-9);
}

void TestCurrency::conversionRefusesUnknownCodesAndMissingRates() {
    const Rates rates{QDate(2024, 3, 5), 1.8, 1.95583};
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, toLeva(1, 4, rates));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, fromLeva(1, 0, rates));
    // No rate row read yet: leva still work, foreign amounts are not divided by zero.
    const Rates none{};
    QCOMPARE(toLeva(5, kLeva, none), 5.0);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, fromLeva(5, kUsd, none));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, toLeva(5, kEur, none));
}

void TestCurrency::rateRowsAreFoundByDate() {
    TestEnvironment env;
    auto db = env.newDatabase();
    QVERIFY(!ratesOf(*db, QDate(2024, 3, 5)));
    QVERIFY(!latestRates(*db));
    addRates(*db, {QDate(2024, 3, 6), 1.81, 1.95583});
    addRates(*db, {QDate(2024, 3, 4), 1.79, 1.95583});
    addRates(*db, {QDate(2024, 3, 5), 1.8, 1.96});
    const auto row = ratesOf(*db, QDate(2024, 3, 5));
    QVERIFY(row);
    QCOMPARE(row->date, QDate(2024, 3, 5));
    QCOMPARE(row->usd, 1.8);
    QCOMPARE(row->eur, 1.96);
    QVERIFY(!ratesOf(*db, QDate(2024, 3, 7)));
    QCOMPARE(latestRates(*db)->date, QDate(2024, 3, 6));
}

void TestCurrency::proposalsAreDefaultsThenTheLatestRow() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDate day(2024, 3, 8);
    Rates proposal = proposedRates(*db, day);
    QCOMPARE(proposal.date, day);
    QCOMPARE(proposal.usd, 1.7);
    QCOMPARE(proposal.eur, 1.956);
    addRates(*db, {QDate(2024, 3, 6), 1.85, 1.95583});
    addRates(*db, {QDate(2024, 3, 1), 1.6, 1.9}); // added later, but an older date
    proposal = proposedRates(*db, day);
    QCOMPARE(proposal.date, day);
    QCOMPARE(proposal.usd, 1.85);
    QCOMPARE(proposal.eur, 1.95583);
}

void TestCurrency::rowsWithoutPositiveRatesAreRefused_data() {
    QTest::addColumn<double>("usd");
    QTest::addColumn<double>("eur");
    QTest::newRow("dollar 0") << 0.0 << 1.95583;
    QTest::newRow("euro 0") << 1.8 << 0.0;
    QTest::newRow("dollar negative") << -1.8 << 1.95583;
    QTest::newRow("euro negative") << 1.8 << -0.01;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 1.9;
    QTest::newRow("infinite") << 1.8 << std::numeric_limits<double>::infinity();
}

void TestCurrency::rowsWithoutPositiveRatesAreRefused() {
    QFETCH(double, usd);
    QFETCH(double, eur);
    TestEnvironment env;
    auto db = env.newDatabase();
    QVERIFY_THROWS_EXCEPTION(RateError, addRates(*db, {QDate(2024, 3, 5), usd, eur}));
    QCOMPARE(db->scalar("SELECT count(*) FROM valcourse").toInt(), 0);
}

void TestCurrency::aDateHasOneRateRow() {
    TestEnvironment env;
    auto db = env.newDatabase();
    addRates(*db, {QDate(2024, 3, 5), 1.8, 1.95583});
    QVERIFY_THROWS_EXCEPTION(DbError, addRates(*db, {QDate(2024, 3, 5), 1.9, 2.0}));
    QCOMPARE(db->scalar("SELECT count(*) FROM valcourse").toInt(), 1);
    QCOMPARE(ratesOf(*db, QDate(2024, 3, 5))->usd, 1.8);
}

QTEST_MAIN(TestCurrency)
#include "test_currency.moc"

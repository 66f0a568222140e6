#include "store/money.h"
#include "store/operation_paths.h"
#include "store/sql_helpers.h"
#include "store/sqlite_functions.h"
#include "support/test_environment.h"

#include <QTest>

using namespace store;
using testing::TestEnvironment;

class TestSqlHelpers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundMoneyTakesHalvesToEven_data();
    void roundMoneyTakesHalvesToEven();
    void formatMoneyUsesBlankAndComma_data();
    void formatMoneyUsesBlankAndComma();
    void parseMoneyAcceptsPointAndComma_data();
    void parseMoneyAcceptsPointAndComma();
    void patternsTreatOnlyStarAsWildcard_data();
    void patternsTreatOnlyStarAsWildcard();
    void likeMatcher_data();
    void likeMatcher();
    void nextNumberIsLargestPlusOne();
    void numberTakenMeanwhileIsRetriedOnce();
    void secondCollisionIsReported();
    void sumsOfNothingAreZero();
    void identityAndNamePaths();
};

void TestSqlHelpers::roundMoneyTakesHalvesToEven_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("rounded");
    // Exact binary halves show the tie rule; the rest are ordinary roundings.
    QTest::newRow("half down to even") << 0.125 << 0.12;
    QTest::newRow("half up to even") << 0.375 << 0.38;
    QTest::newRow("another half down") << 0.625 << 0.62;
    QTest::newRow("negative half") << -0.125 << -0.12;
    QTest::newRow("below half") << 10.444 << 10.44;
    QTest::newRow("above half") << 10.446 << 10.45;
    QTest::newRow("third") << 1.0 / 3.0 << 0.33;
    QTest::newRow("large") << 1234567.891 << 1234567.89;
    QTest::newRow("tiny negative is zero") << -0.001 << 0.0;
}

void TestSqlHelpers::roundMoneyTakesHalvesToEven() {
    QFETCH(double, amount);
    QFETCH(double, rounded);
    QCOMPARE(roundMoney(amount), rounded);
}

void TestSqlHelpers::formatMoneyUsesBlankAndComma_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "0,00";
    QTest::newRow("thousands") << 1234.5 << "1 234,50";
    QTest::newRow("millions negative") << -1234567.891 << "-1 234 567,89";
    QTest::newRow("rounds into next thousand") << 999.999 << "1 000,00";
    QTest::newRow("no minus on zero") << -0.001 << "0,00";
    QTest::newRow("hundreds") << 123.0 << "123,00";
}

void TestSqlHelpers::formatMoneyUsesBlankAndComma() {
    QFETCH(double, amount);
    QFETCH(QString, text);
    QCOMPARE(formatMoney(amount), text);
}

void TestSqlHelpers::parseMoneyAcceptsPointAndComma_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("comma") << "12,50" << true << 12.5;
    QTest::newRow("point") << "12.50" << true << 12.5;
    QTest::newRow("blank thousands") << "1 234,5" << true << 1234.5;
    QTest::newRow("negative") << "-3" << true << -3.0;
    QTest::newRow("surrounding blanks") << "  7 " << true << 7.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letters") << "12лв" << false << 0.0;
    QTest::newRow("two marks") << "1,2,3" << false << 0.0;
}

void TestSqlHelpers::parseMoneyAcceptsPointAndComma() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const auto parsed = parseMoney(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

void TestSqlHelpers::patternsTreatOnlyStarAsWildcard_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("contains");
    QTest::addColumn<QString>("beginsWith");
    QTest::newRow("plain") << "филтър"
                           << "%филтър%"
                           << "филтър%";
    QTest::newRow("star") << "a*b"
                          << "%a%b%"
                          << "a%b%";
    QTest::newRow("percent literal") << "50%"
                                     << "%50\\%%"
                                     << "50\\%%";
    QTest::newRow("underscore literal") << "a_b"
                                        << "%a\\_b%"
                                        << "a\\_b%";
    QTest::newRow("backslash literal") << "C:\\x"
                                       << "%C:\\\\x%"
                                       << "C:\\\\x%";
    QTest::newRow("empty finds all") << ""
                                     << "%%"
                                     << "%";
}

void TestSqlHelpers::patternsTreatOnlyStarAsWildcard() {
    QFETCH(QString, typed);
    QFETCH(QString, contains);
    QFETCH(QString, beginsWith);
    QCOMPARE(containsPattern(typed), contains);
    QCOMPARE(beginsWithPattern(typed), beginsWith);
    QCOMPARE(literalPrefixPattern("a*%"), QString("a*\\%%"));
}

void TestSqlHelpers::likeMatcher_data() {
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matches");
    QTest::newRow("exact other case") << "ПЕТРОВ"
                                      << "петров" << true;
    QTest::newRow("contains") << "%тро%"
                              << "Петров" << true;
    QTest::newRow("begins") << "Пет%"
                            << "Петров" << true;
    QTest::newRow("does not begin") << "тров%"
                                    << "Петров" << false;
    QTest::newRow("one character") << "П_тров"
                                   << "Петров" << true;
    QTest::newRow("backtracking") << "%ab%ac"
                                  << "abxabac" << true;
    QTest::newRow("escaped percent") << "50\\%%"
                                     << "50% отстъпка" << true;
    QTest::newRow("escaped percent needs percent") << "50\\%%"
                                                   << "500" << false;
    QTest::newRow("empty pattern") << ""
                                   << "x" << false;
    QTest::newRow("only percent") << "%"
                                  << "" << true;
}

void TestSqlHelpers::likeMatcher() {
    QFETCH(QString, pattern);
    QFETCH(QString, text);
    QFETCH(bool, matches);
    QCOMPARE(likeMatches(pattern, text, QLatin1Char('\\')), matches);
}

void TestSqlHelpers::nextNumberIsLargestPlusOne() {
    TestEnvironment env;
    auto db = env.newDatabase();
    QCOMPARE(nextNumber(*db, "porychka", "idPor"), std::nullopt);
    db->exec("INSERT INTO porychka (idPor) VALUES (7)");
    db->exec("INSERT INTO porychka (idPor) VALUES (41)");
    db->exec("INSERT INTO porychka (idPor) VALUES (3)");
    QCOMPARE(nextNumber(*db, "porychka", "idPor"), std::optional<qint64>(42));
    // Receipt numbers go beyond the 16-bit range.
    db->exec("INSERT INTO sprSales (RazpNo) VALUES (40000)");
    QCOMPARE(nextNumber(*db, "sprSales", "RazpNo"), std::optional<qint64>(40001));
}

void TestSqlHelpers::numberTakenMeanwhileIsRetriedOnce() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 first = insertWithNextNumber(*db, "porychka", "idPor", 1000, [&](qint64 n) {
        db->exec("INSERT INTO porychka (idPor) VALUES (:n)", {{"n", n}});
    });
    QCOMPARE(first, 1000);

    // Another workstation stores 1001 between our reading of the largest number and our
    // insert: the unique key refuses it, and the next number is taken.
    int calls = 0;
    const qint64 used = insertWithNextNumber(*db, "porychka", "idPor", 1000, [&](qint64 n) {
        if (++calls == 1) {
            QCOMPARE(n, 1001);
            throw DbError("UNIQUE constraint failed: porychka.idPor");
        }
        db->exec("INSERT INTO porychka (idPor, clientnames) VALUES (:n, 'mine')", {{"n", n}});
    });
    QCOMPARE(calls, 2);
    QCOMPARE(used, 1002);
    QCOMPARE(db->scalar("SELECT clientnames FROM porychka WHERE idPor = 1002").toString(),
             QString("mine"));
    QCOMPARE(db->scalar("SELECT count(*) FROM porychka").toInt(), 2);
}

void TestSqlHelpers::secondCollisionIsReported() {
    TestEnvironment env;
    auto db = env.newDatabase();
    db->exec("INSERT INTO porychka (idPor) VALUES (1)");
    QVERIFY_THROWS_EXCEPTION(
        DbError, insertWithNextNumber(*db, "porychka", "idPor", 1, [&](qint64) {
            db->exec("INSERT INTO porychka (idPor) VALUES (1)"); // always taken
        }));
    QCOMPARE(db->scalar("SELECT count(*) FROM porychka").toInt(), 1);
    QCOMPARE(db->transactionDepth(), 0);
}

void TestSqlHelpers::sumsOfNothingAreZero() {
    TestEnvironment env;
    auto db = env.newDatabase();
    QCOMPARE(sumOrZero(*db, "SELECT sum(Suma) AS summary FROM kasa WHERE idVal = 3"), 0.0);
    db->exec("INSERT INTO kasa (Suma, idVal) VALUES (10.5, 1)");
    db->exec("INSERT INTO kasa (Suma, idVal) VALUES (-2.25, 1)");
    db->exec("INSERT INTO kasa (Suma, idVal) VALUES (99, 2)");
    QCOMPARE(sumOrZero(*db, "SELECT sum(Suma) FROM kasa WHERE idVal = :v", {{"v", 1}}), 8.25);
    QCOMPARE(sumOrZero(*db, "SELECT sum(Suma) FROM kasa WHERE idVal = :v", {{"v", 3}}), 0.0);
}

void TestSqlHelpers::identityAndNamePaths() {
    QCOMPARE(operationIdentityPath({3, 12, 45}), QString("$00003\\$00012\\$00045\\"));
    QCOMPARE(operationIdentityPath({123456}), QString("$123456\\"));
    QCOMPARE(operationIdentityPath({}), QString());
    QCOMPARE(operationNamePath({"Опел", "Двигател"}), QString("Опел\\Двигател\\"));
}

QTEST_MAIN(TestSqlHelpers)
#include "test_sql_helpers.moc"

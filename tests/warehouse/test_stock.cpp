#include "store/transaction.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "warehouse/stock.h"

#include <QTest>

using namespace warehouse;
using testing::rows;
using testing::stockOf;
using testing::TestEnvironment;

class TestStock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void takingRefusesWhatIsNotThere_data();
    void takingRefusesWhatIsNotThere();
    void takingAndAddingMoveTheCount();
    void serialUnitsLeaveAndComeBackOneRowEach();
    void refusedSerialUnitChangesNothing();
    void refusalInsideAnOperationRollsItBack();
};

void TestStock::takingRefusesWhatIsNotThere_data() {
    QTest::addColumn<int>("stock");
    QTest::addColumn<int>("take");
    QTest::addColumn<int>("refusal"); // -1: allowed
    QTest::newRow("all of it") << 3 << 3 << -1;
    QTest::newRow("one more than there is") << 3 << 4 << int(StockRefusal::AboveStock);
    QTest::newRow("from no stock") << 0 << 1 << int(StockRefusal::AboveStock);
    QTest::newRow("zero") << 3 << 0 << int(StockRefusal::NotPositive);
    QTest::newRow("negative (would add)") << 3 << -2 << int(StockRefusal::NotPositive);
}

void TestStock::takingRefusesWhatIsNotThere() {
    QFETCH(int, stock);
    QFETCH(int, take);
    QFETCH(int, refusal);
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 id = builders::part(*db, {.name = "Филтър", .amount = stock});
    try {
        takeUnits(*db, id, take);
        QCOMPARE(refusal, -1);
        QCOMPARE(stockOf(*db, id), stock - take);
    } catch (const StockError& e) {
        QCOMPARE(int(e.refusal()), refusal);
        QCOMPARE(stockOf(*db, id), stock);
    }
}

void TestStock::takingAndAddingMoveTheCount() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 id = builders::part(*db, {.name = "Свещ"});
    db->exec("UPDATE parts SET amnt = NULL WHERE id = :id", {{"id", id}});
    QCOMPARE(unitsInStock(*db, id), 0); // empty counts as none
    addUnits(*db, id, 5);
    takeUnits(*db, id, 2);
    QCOMPARE(unitsInStock(*db, id), 3);
    QVERIFY_THROWS_EXCEPTION(StockError, addUnits(*db, id, 0));
    QVERIFY_THROWS_EXCEPTION(StockError, addUnits(*db, id + 100, 1));
    QVERIFY_THROWS_EXCEPTION(StockError, unitsInStock(*db, id + 100));
    try {
        takeUnits(*db, id + 100, 1);
        QFAIL("an unknown part was taken from");
    } catch (const StockError& e) {
        QCOMPARE(e.refusal(), StockRefusal::UnknownPart);
    }
}

void TestStock::serialUnitsLeaveAndComeBackOneRowEach() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 id = builders::part(*db, {.name = "Акумулатор"});
    const qint64 other = builders::part(*db, {.name = "Стартер"});
    for (const char* sn : {"A-1", "A-2", "A-3"})
        addSerialUnit(*db, id, sn);
    addSerialUnit(*db, other, " B-1 ", "щаб");
    QCOMPARE(unitsInStock(*db, id), 3);
    QCOMPARE(serialNumbersOf(*db, id), (QStringList{"A-1", "A-2", "A-3"}));
    QCOMPARE(serialNumbersOf(*db, other), QStringList{"B-1"}); // trimmed
    QVERIFY(serialNumberInStock(*db, "B-1"));

    takeSerialUnit(*db, id, "A-2");
    QCOMPARE(unitsInStock(*db, id), 2);
    QCOMPARE(serialNumbersOf(*db, id), (QStringList{"A-1", "A-3"}));
    QVERIFY(!serialNumberInStock(*db, "A-2"));

    addSerialUnit(*db, id, "A-2"); // returned by a customer
    QCOMPARE(unitsInStock(*db, id), 3);
    QCOMPARE(serialNumbersOf(*db, id), (QStringList{"A-1", "A-3", "A-2"}));
    QVERIFY(hasSerialNumbers(*db, id));
}

void TestStock::refusedSerialUnitChangesNothing() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 id = builders::part(*db, {.name = "Акумулатор"});
    const qint64 other = builders::part(*db, {.name = "Стартер"});
    addSerialUnit(*db, id, "A-1");
    addSerialUnit(*db, other, "B-1");
    const auto before = rows(*db, "SELECT * FROM PartSN ORDER BY id");
    struct Case {
        qint64 part;
        const char* serial;
        StockRefusal refusal;
    };
    // Another part's number, an unknown number, a blank one.
    for (const Case& c : {Case{id, "B-1", StockRefusal::UnknownSerial},
                          Case{id, "Z-9", StockRefusal::UnknownSerial},
                          Case{id, "  ", StockRefusal::EmptySerial}}) {
        try {
            takeSerialUnit(*db, c.part, c.serial);
            QFAIL(c.serial);
        } catch (const StockError& e) {
            QCOMPARE(e.refusal(), c.refusal);
        }
    }
    QVERIFY_THROWS_EXCEPTION(StockError, addSerialUnit(*db, id, ""));
    QCOMPARE(rows(*db, "SELECT * FROM PartSN ORDER BY id"), before);
    QCOMPARE(unitsInStock(*db, id), 1);
    QCOMPARE(unitsInStock(*db, other), 1);
}

void TestStock::refusalInsideAnOperationRollsItBack() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 a = builders::part(*db, {.name = "Маркуч", .amount = 5});
    const qint64 b = builders::part(*db, {.name = "Скоба", .amount = 1});
    try {
        store::Transaction tx(*db);
        takeUnits(*db, a, 2);
        takeUnits(*db, b, 2); // refused: the whole operation goes
        tx.commit();
        QFAIL("taking above stock was accepted");
    } catch (const StockError&) {
    }
    QCOMPARE(stockOf(*db, a), 5);
    QCOMPARE(stockOf(*db, b), 1);
}

QTEST_MAIN(TestStock)
#include "test_stock.moc"

#include "orders/order_work.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"

#include <QTest>

using namespace orders;
using testing::count;
using testing::stockOf;
using testing::TestEnvironment;

// A part without a serial number is booked with an empty text, as every earlier version
// wrote it; rows of old data with no value at all are read the same way.
class TestOrderPartSerials : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void partWithoutSerialIsStoredWithAnEmptyText();
    void oldLineWithoutAnyValueCountsAsNoSerial();
};

void TestOrderPartSerials::partWithoutSerialIsStoredWithAnEmptyText() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::registeredOrder(*db, builders::completeOrder(), 5);
    const qint64 part = builders::part(*db, {.amount = 5, .outPrice = 50});
    addStockPart(*db, {.idPor = 5, .partId = part, .quantity = 2, .unitPrice = 50, .userId = 1},
                 {});
    QCOMPARE(count(*db, "SELECT count(*) FROM PartsInPor WHERE serial = ''"), 1);
    QCOMPARE(count(*db, "SELECT count(*) FROM Part_Moves WHERE serial = '' AND amnt = -2"), 1);

    const qint64 line = db->scalar("SELECT id FROM PartsInPor").toLongLong();
    removePartLine(*db, line, 1, {}, {});
    QCOMPARE(count(*db, "SELECT count(*) FROM Part_Moves WHERE serial = '' AND amnt = 2"), 1);
    QCOMPARE(count(*db, "SELECT count(*) FROM Part_Moves WHERE serial IS NULL"), 0);
    QCOMPARE(count(*db, "SELECT count(*) FROM PartSN"), 0);
    QCOMPARE(stockOf(*db, part), 5);
}

void TestOrderPartSerials::oldLineWithoutAnyValueCountsAsNoSerial() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::registeredOrder(*db, builders::completeOrder(), 5);
    const qint64 part = builders::part(*db, {.amount = 5, .outPrice = 50});
    db->exec("INSERT INTO PartsInPor (idPor, idPart, amnt, priceLV, closed, serial) "
             "VALUES (5, :p, 1, 40, false, NULL)",
             {{"p", part}});
    // The new units join the old line and keep its price.
    addStockPart(*db, {.idPor = 5, .partId = part, .quantity = 2, .unitPrice = 40, .userId = 1},
                 {});
    QCOMPARE(count(*db, "SELECT count(*) FROM PartsInPor"), 1);
    QCOMPARE(count(*db, "SELECT amnt FROM PartsInPor"), 3);

    const qint64 line = db->scalar("SELECT id FROM PartsInPor").toLongLong();
    const OrderMoney m = removePartLine(*db, line, 1, {}, {});
    QCOMPARE(stockOf(*db, part), 6); // all three units, none as a serial-numbered one
    QCOMPARE(count(*db, "SELECT count(*) FROM PartSN"), 0);
    QCOMPARE(count(*db, "SELECT count(*) FROM Part_Moves WHERE serial = '' AND amnt = 3"), 1);
    QCOMPARE(m.parts, 0.0);
}

QTEST_MAIN(TestOrderPartSerials)
#include "test_order_part_serials.moc"

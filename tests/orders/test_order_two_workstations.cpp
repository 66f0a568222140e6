#include "orders/external_store.h"
#include "orders/order_payment.h"
#include "orders/order_ready.h"
#include "orders/order_register.h"
#include "orders/order_work.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"

#include <QTest>

using namespace orders;
using testing::count;
using testing::rows;
using testing::stockOf;
using testing::TestEnvironment;

namespace {

// Two workstations on one database file, each with its own connection.
struct Workstations {
    TestEnvironment env;
    std::unique_ptr<store::Database> a = env.newDatabase();
    std::unique_ptr<store::Database> b = env.otherWorkstation();
};

// Order 5 in work as one workstation booked it: two filters, one battery with its serial
// number, one labour line paid by time.
struct Booked {
    qint64 technician = 0;
    qint64 filter = 0;
    qint64 battery = 0;
    qint64 filterLine = 0;
    qint64 labourLine = 0;
};

Booked bookWork(store::Database& db) {
    Booked w;
    builders::registeredOrder(db, builders::completeOrder(), 5);
    w.technician = builders::employee(db);
    w.filter = builders::part(db, {.amount = 5, .outPrice = 50});
    w.battery = builders::part(
        db, {.name = "Акумулатор", .amount = 2, .outPrice = 120, .serials = {"SN-A", "SN-B"}});
    addStockPart(db, {.idPor = 5, .partId = w.filter, .quantity = 2, .unitPrice = 50, .userId = 1},
                 {});
    addStockPart(db,
                 {.idPor = 5,
                  .partId = w.battery,
                  .quantity = 1,
                  .serial = "SN-A",
                  .unitPrice = 120,
                  .userId = 1},
                 {});
    addLabourLine(db,
                  {.idPor = 5,
                   .description = "Смяна на масло",
                   .clientPrice = 60,
                   .technicianAmount = 24,
                   .technicianId = w.technician,
                   .hours = 1,
                   .byTime = true},
                  {});
    w.filterLine =
        db.scalar("SELECT id FROM PartsInPor WHERE idPart = :p", {{"p", w.filter}}).toLongLong();
    w.labourLine = db.scalar("SELECT id FROM Jobs_In_Por").toLongLong();
    return w;
}

// Every table a change of the order's work or money touches, to show that a refused one
// wrote nothing.
QList<QList<QVariantList>> snapshot(store::Database& db) {
    return {rows(db, "SELECT id, amnt FROM parts ORDER BY id"),
            rows(db, "SELECT idPart, SN FROM PartSN ORDER BY id"),
            rows(db, "SELECT * FROM Part_Moves ORDER BY id"),
            rows(db, "SELECT * FROM PartsInPor ORDER BY id"),
            rows(db, "SELECT * FROM Jobs_In_Por ORDER BY id"),
            rows(db, "SELECT * FROM clerks_hours ORDER BY id"),
            rows(db, "SELECT * FROM paymClerks ORDER BY id"),
            rows(db, "SELECT * FROM kasa ORDER BY id"),
            rows(db, "SELECT * FROM porychka")};
}

enum class Change {
    AddPart,
    AddSerialUnit,
    RemovePart,
    AddExternalPart,
    AddLabour,
    RemoveLabour,
    ReportOpening
};

void makeChange(Change c, store::Database& db, const Booked& w, const QString& goodsPath) {
    switch (c) {
    case Change::AddPart:
        addStockPart(db, {.idPor = 5, .partId = w.filter, .quantity = 1, .unitPrice = 50}, {});
        return;
    case Change::AddSerialUnit:
        addStockPart(
            db,
            {.idPor = 5, .partId = w.battery, .quantity = 1, .serial = "SN-B", .unitPrice = 120},
            {});
        return;
    case Change::RemovePart:
        removePartLine(db, w.filterLine, 1, {}, {});
        return;
    case Change::AddExternalPart:
        addExternalPart(
            db,
            {.idPor = 5, .databasePath = goodsPath, .good = "G1", .quantity = 1, .unitPrice = 9},
            {});
        return;
    case Change::AddLabour:
        addLabourLine(db,
                      {.idPor = 5,
                       .description = "Диагностика",
                       .clientPrice = 30,
                       .technicianAmount = 12,
                       .technicianId = w.technician},
                      {});
        return;
    case Change::RemoveLabour:
        removeLabourLine(db, w.labourLine, {});
        return;
    case Change::ReportOpening:
        storeReportOpening(db, 5, 10, {});
        return;
    }
}

} // namespace

class TestOrderTwoWorkstations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void changeRefusedOnceTheOtherMovedTheOrderOn_data();
    void changeRefusedOnceTheOtherMovedTheOrderOn();
    void backToWorkRefused_data();
    void backToWorkRefused();
    void readyAndPaymentRecheckTheOrder();
    void workGoesOnOnceBackInWork();
};

void TestOrderTwoWorkstations::changeRefusedOnceTheOtherMovedTheOrderOn_data() {
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("paid");
    QTest::addColumn<QString>("message");
    const std::pair<const char*, Change> changes[] = {
        {"part", Change::AddPart},
        {"serial unit", Change::AddSerialUnit},
        {"part removed", Change::RemovePart},
        {"external part", Change::AddExternalPart},
        {"labour", Change::AddLabour},
        {"labour removed", Change::RemoveLabour},
    };
    const QString notStored = QStringLiteral("\nПромяната не е записана.");
    for (const auto& [name, c] : changes) {
        QTest::addRow("%s, ready", name)
            << int(c) << false << QStringLiteral("Поръчка  №5 вече е отчетена!") + notStored;
        QTest::addRow("%s, paid", name)
            << int(c) << true << QStringLiteral("Поръчка  №5 вече е платена!") + notStored;
    }
    QTest::newRow("report opening, ready")
        << int(Change::ReportOpening) << false << QStringLiteral("Поръчка  №5 вече е отчетена!");
    QTest::newRow("report opening, paid")
        << int(Change::ReportOpening) << true << QStringLiteral("Поръчка  №5 вече е платена!");
}

// Workstation A still has the order open while B reports (and pays) it.
void TestOrderTwoWorkstations::changeRefusedOnceTheOtherMovedTheOrderOn() {
    QFETCH(int, change);
    QFETCH(bool, paid);
    QFETCH(QString, message);
    Workstations ws;
    const Booked work = bookWork(*ws.a);
    const QString goods = ws.env.path("goods.db");
    builders::goodsFile(goods, {{"G1", "Крушка H7", 4, 5, 9}});

    builders::makeReady(*ws.b, 5, {.fee = 10});
    if (paid)
        builders::makePaid(*ws.b, 5);
    const auto before = snapshot(*ws.a);

    try {
        makeChange(Change(change), *ws.a, work, goods);
        QFAIL("the change was accepted");
    } catch (const OrderStateRefused& e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(snapshot(*ws.a), before);
    QCOMPARE(builders::goodsQuantity(goods, "G1"), 4.0);
}

void TestOrderTwoWorkstations::backToWorkRefused_data() {
    QTest::addColumn<bool>("paid");
    QTest::addColumn<QString>("message");
    const QString notRestored = QStringLiteral("\nПоръчката не може да бъде върната в работа.");
    QTest::newRow("paid meanwhile") << true << "Поръчка  №5 вече е платена!" + notRestored;
    QTest::newRow("restored meanwhile") << false << "Поръчка  №5 не е готова!" + notRestored;
}

// Both workstations show the order ready; B pays it or sends it back to work first.
void TestOrderTwoWorkstations::backToWorkRefused() {
    QFETCH(bool, paid);
    QFETCH(QString, message);
    Workstations ws;
    bookWork(*ws.a);
    builders::makeReady(*ws.a, 5, {.fee = 10});
    if (paid)
        builders::makePaid(*ws.b, 5);
    else
        restoreToWork(*ws.b, 5);
    const auto before = snapshot(*ws.a);

    try {
        restoreToWork(*ws.a, 5);
        QFAIL("restored");
    } catch (const OrderStateRefused& e) {
        QCOMPARE(e.message(), message);
    }
    QCOMPARE(snapshot(*ws.a), before);
    // A paid order keeps its technicians' earnings.
    QCOMPARE(count(*ws.a, "SELECT count(*) FROM paymClerks WHERE noPor = 5"), paid ? 1 : 0);
}

void TestOrderTwoWorkstations::readyAndPaymentRecheckTheOrder() {
    Workstations ws;
    const Booked work = bookWork(*ws.a);
    const ReadyValues values{
        .idPor = 5, .fee = 10, .labourClient = 60, .parts = 220, .amount = 290};
    QCOMPARE(markReady(*ws.b, values), ReadyOutcome::Ready);
    QCOMPARE(markReady(*ws.a, values), ReadyOutcome::AlreadyReady);
    QCOMPARE(count(*ws.a, "SELECT count(*) FROM paymClerks"), 1); // credited once

    restoreToWork(*ws.b, 5);
    const auto before = snapshot(*ws.a);
    const PaymentResult r = payOrder(*ws.a, {.idPor = 5, .fee = 10, .amount = 290});
    QVERIFY(!r.paid);
    QCOMPARE(snapshot(*ws.a), before);
    QCOMPARE(stockOf(*ws.a, work.filter), 3);
}

// Ready on one workstation, back to work on the other: both may book work again, and the
// order is then reported and paid as usual.
void TestOrderTwoWorkstations::workGoesOnOnceBackInWork() {
    Workstations ws;
    const Booked work = bookWork(*ws.a);
    builders::makeReady(*ws.b, 5, {.fee = 10});
    restoreToWork(*ws.a, 5);
    QCOMPARE(count(*ws.b, "SELECT count(*) FROM paymClerks"), 0);

    const OrderMoney added = addStockPart(
        *ws.b, {.idPor = 5, .partId = work.filter, .quantity = 1, .unitPrice = 50, .userId = 2},
        {.fee = 10});
    QCOMPARE(added.parts, 270.0);
    QCOMPARE(stockOf(*ws.a, work.filter), 2);
    QCOMPARE(ws.a->scalar("SELECT sumparts FROM porychka").toDouble(), 270.0);
    const OrderMoney removed = removeLabourLine(*ws.a, work.labourLine, {.fee = 10});
    QCOMPARE(removed.amount, 280.0);
    QCOMPARE(count(*ws.b, "SELECT count(*) FROM clerks_hours"), 0);
    QCOMPARE(storeReportOpening(*ws.a, 5, 10, {}), 280.0);

    builders::makeReady(*ws.b, 5, {.fee = 10});
    QVERIFY(builders::makePaid(*ws.a, 5).paid);
    QCOMPARE(ws.b->scalar("SELECT Suma FROM kasa").toDouble(), 280.0);
}

QTEST_MAIN(TestOrderTwoWorkstations)
#include "test_order_two_workstations.moc"

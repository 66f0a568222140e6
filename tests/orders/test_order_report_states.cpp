#include "orders/order_payment.h"
#include "orders/order_register.h"
#include "orders/order_register_window.h"
#include "orders/order_report_window.h"
#include "orders/order_work.h"
#include "shell/business_settings.h"
#include "shell/session.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "support/widget_access.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace orders;
using testing::child;
using testing::click;
using testing::count;
using testing::rows;
using testing::stockOf;
using testing::TestEnvironment;

namespace {

// Two workstations on one database file: A has the window open, B works on the same order.
struct Workstations {
    TestEnvironment env;
    std::unique_ptr<store::Database> a = env.newDatabase();
    std::unique_ptr<store::Database> b = env.otherWorkstation();
};

// Order 5 in work for a registered client with 10% off parts: 2 filters at 50.00 from stock,
// labour 60.00 of which 24.00 for the technician; default fee 10.00.
struct Work {
    qint64 filter = 0;
    qint64 labourLine = 0;
};

Work bookWork(store::Database& db) {
    Work w;
    shell::BusinessSettings::load(db).setNum(db, shell::settingKeys::taksa, 10);
    builders::client(db, {.name = "Транс ООД", .partsDiscount = 10});
    orders::NewOrder order = builders::completeOrder();
    order.clientName = QStringLiteral("Транс ООД");
    builders::registeredOrder(db, order, 5);
    const qint64 technician = builders::employee(db);
    w.filter = builders::part(db, {.amount = 5, .inPrice = 30, .outPrice = 50});
    addStockPart(db, {.idPor = 5, .partId = w.filter, .quantity = 2, .unitPrice = 50, .userId = 1},
                 {});
    addLabourLine(db,
                  {.idPor = 5,
                   .description = "Смяна на масло",
                   .clientPrice = 60,
                   .technicianAmount = 24,
                   .technicianId = technician},
                  {});
    w.labourLine = db.scalar("SELECT id FROM Jobs_In_Por").toLongLong();
    return w;
}

QString text(QWidget& w, const char* name) {
    return child<QLineEdit>(w, name)->text();
}

QStringList shown(const QSignalSpy& spy) {
    QStringList texts;
    for (const QList<QVariant>& signal : spy)
        texts << signal.at(0).toString();
    return texts;
}

const QStringList kOpening{"Списъка с частите", "Заработка...", "Списък труд"};

} // namespace

class TestOrderReportStates : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusedChangeClosesTheReport_data();
    void refusedChangeClosesTheReport();
    void lineRemovedElsewhereShowsTheOrderAsStored();
    void reportOfAnOrderReportedMeanwhileDoesNotOpen();
    void readyAndPaymentRefusedCloseTheWindow_data();
    void readyAndPaymentRefusedCloseTheWindow();
    void backToWorkRefusedShowsTheOrderAsItIs();
    void statusOfEveryStepFromOpeningToPayment();
    void paymentStatusFollowsTheBooksWritten_data();
    void paymentStatusFollowsTheBooksWritten();
};

void TestOrderReportStates::refusedChangeClosesTheReport_data() {
    QTest::addColumn<QByteArray>("button");
    QTest::addColumn<bool>("paid");
    QTest::addColumn<QString>("message");
    const QString notStored = QStringLiteral("\nПромяната не е записана.");
    QTest::newRow("part, ready") << QByteArray("btnDelPart") << false
                                 << "Поръчка  №5 вече е отчетена!" + notStored;
    QTest::newRow("part, paid") << QByteArray("btnDelPart") << true
                                << "Поръчка  №5 вече е платена!" + notStored;
    QTest::newRow("labour, paid") << QByteArray("delWork") << true
                                  << "Поръчка  №5 вече е платена!" + notStored;
}

// A's report stays open while B reports (and pays) the order; A then removes a line.
void TestOrderReportStates::refusedChangeClosesTheReport() {
    QFETCH(QByteArray, button);
    QFETCH(bool, paid);
    QFETCH(QString, message);
    Workstations ws;
    const Work work = bookWork(*ws.a);
    shell::Session session = builders::session(*ws.a);
    TfrmOtchet w(*ws.a, session);
    QVERIFY(w.openOrder(5, OrderMode::Report));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    builders::makeReady(*ws.b, 5, {.fee = 10, .discount = 10});
    if (paid)
        builders::makePaid(*ws.b, 5);
    const auto stored = rows(*ws.a, "SELECT * FROM porychka");
    click(w, button.constData());

    QCOMPARE(ws.env.responder().texts(), QStringList{message});
    QCOMPARE(ws.env.responder().messages[0].caption, QString("Съобщение"));
    QCOMPARE(ws.env.responder().messages[0].icon, ui::MessageIcon::Warning);
    // The order has moved on: the report can no longer work on it.
    QVERIFY(!w.isVisible());
    QCOMPARE(w.result(), int(QDialog::Rejected));
    QCOMPARE(stockOf(*ws.a, work.filter), 3);
    QCOMPARE(count(*ws.a, "SELECT count(*) FROM PartsInPor"), 1);
    QCOMPARE(count(*ws.a, "SELECT count(*) FROM Jobs_In_Por"), 1);
    QCOMPARE(count(*ws.a, "SELECT count(*) FROM Part_Moves"), 1);
    QCOMPARE(rows(*ws.a, "SELECT * FROM porychka"), stored);
}

// B took the labour line away and added a part while A's report was open: A's removal of
// that line is refused and the report shows what the order holds now.
void TestOrderReportStates::lineRemovedElsewhereShowsTheOrderAsStored() {
    Workstations ws;
    const Work work = bookWork(*ws.a);
    shell::Session session = builders::session(*ws.a);
    TfrmOtchet w(*ws.a, session);
    QVERIFY(w.openOrder(5, OrderMode::Report));
    w.show();
    QCOMPARE(text(w, "eTrudClient"), QString("60,00"));

    removeLabourLine(*ws.b, work.labourLine, {.fee = 10, .discParts = 10});
    addStockPart(*ws.b, {.idPor = 5, .partId = work.filter, .quantity = 1, .unitPrice = 50},
                 {.fee = 10, .discParts = 10});
    click(w, "delWork");

    QCOMPARE(ws.env.responder().texts(), QStringList{"Този ред вече е премахнат от поръчката!"});
    QVERIFY(w.isVisible()); // still in work: the report goes on
    QCOMPARE(child<QTableView>(w, "grTrud")->model()->rowCount(), 0);
    QCOMPARE(child<QTableView>(w, "gridParts")->model()->rowCount(), 1);
    QCOMPARE(text(w, "eTrudClient"), QString("0,00"));
    QCOMPARE(text(w, "eParts"), QString("150,00"));
    QCOMPARE(text(w, "eOtst"), QString("15,00"));
    QCOMPARE(text(w, "eSuma"), QString("145,00"));
    QCOMPARE(ws.a->scalar("SELECT sumall FROM porychka").toDouble(), 145.0);
}

void TestOrderReportStates::reportOfAnOrderReportedMeanwhileDoesNotOpen() {
    Workstations ws;
    bookWork(*ws.a);
    builders::makeReady(*ws.b, 5, {.fee = 10, .discount = 10});
    const auto stored = rows(*ws.a, "SELECT * FROM porychka");
    shell::Session session = builders::session(*ws.a);
    TfrmOtchet w(*ws.a, session);
    QVERIFY(!w.openOrder(5, OrderMode::Report));
    QCOMPARE(ws.env.responder().texts(), QStringList{"Поръчка  №5 вече е отчетена!"});
    QCOMPARE(rows(*ws.a, "SELECT * FROM porychka"), stored); // the fee was not stored again
}

void TestOrderReportStates::readyAndPaymentRefusedCloseTheWindow_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("message");
    QTest::newRow("ready, reported elsewhere")
        << int(OrderMode::Report) << QString("Поръчка  №5 вече е отчетена!");
    QTest::newRow("payment, back in work elsewhere")
        << int(OrderMode::Payment) << QString("Поръчка  №5 не е готова!");
}

void TestOrderReportStates::readyAndPaymentRefusedCloseTheWindow() {
    QFETCH(int, mode);
    QFETCH(QString, message);
    Workstations ws;
    bookWork(*ws.a);
    if (OrderMode(mode) == OrderMode::Payment)
        builders::makeReady(*ws.a, 5, {.fee = 10, .discount = 10});
    shell::Session session = builders::session(*ws.a);
    TfrmOtchet w(*ws.a, session);
    QVERIFY(w.openOrder(5, OrderMode(mode)));
    w.show();

    if (OrderMode(mode) == OrderMode::Payment)
        restoreToWork(*ws.b, 5);
    else
        builders::makeReady(*ws.b, 5, {.fee = 10, .discount = 10});
    const auto earnings = rows(*ws.a, "SELECT * FROM paymClerks");
    click(w, OrderMode(mode) == OrderMode::Payment ? "btnPay" : "btnReady");

    QCOMPARE(ws.env.responder().texts(), QStringList{message});
    QVERIFY(!w.isVisible());
    QCOMPARE(rows(*ws.a, "SELECT * FROM paymClerks"), earnings);
    QCOMPARE(count(*ws.a, "SELECT count(*) FROM kasa"), 0);
    QCOMPARE(count(*ws.a, "SELECT count(*) FROM pech"), 0);
}

// The register on A lists the ready order; B is paid for it before A sends it back to work.
void TestOrderReportStates::backToWorkRefusedShowsTheOrderAsItIs() {
    Workstations ws;
    bookWork(*ws.a);
    builders::makeReady(*ws.a, 5, {.fee = 10, .discount = 10});
    shell::Session session = builders::session(*ws.a);
    const shell::BusinessSettings settings = shell::BusinessSettings::load(*ws.a);
    TfrmSprPor r(*ws.a, session, settings);
    r.show();
    QVERIFY(QTest::qWaitForWindowExposed(&r));
    child<QLineEdit>(r, "ePorNo")->setText("5");
    click(r, "BitBtn2");
    QCOMPARE(r.currentOrder(), std::optional<qint64>(5));
    QVERIFY(child<QPushButton>(r, "btnRestore")->isEnabled());

    builders::makePaid(*ws.b, 5);
    click(r, "btnRestore");

    QCOMPARE(
        ws.env.responder().texts(),
        QStringList{"Поръчка  №5 вече е платена!\nПоръчката не може да бъде върната в работа."});
    QCOMPARE(ws.env.responder().messages[0].caption, QString("Съобщение"));
    QCOMPARE(ws.env.responder().messages[0].icon, ui::MessageIcon::Warning);
    // The list shows the order paid: neither back to work nor payment is offered any more.
    QCOMPARE(r.currentOrder(), std::optional<qint64>(5));
    QVERIFY(!child<QPushButton>(r, "btnRestore")->isEnabled());
    QVERIFY(!child<QPushButton>(r, "btnPay")->isEnabled());
    QCOMPARE(count(*ws.a, "SELECT count(*) FROM paymClerks WHERE noPor = 5"), 1);
    QCOMPARE(count(*ws.a, "SELECT count(*) FROM porychka WHERE ready = true"), 1);
}

void TestOrderReportStates::statusOfEveryStepFromOpeningToPayment() {
    TestEnvironment env;
    auto db = env.newDatabase();
    bookWork(*db);
    shell::Session session = builders::session(*db);
    TfrmOtchet w(*db, session);
    QSignalSpy spy(&w, &TfrmOtchet::statusShown);
    QVERIFY(w.openOrder(5, OrderMode::Report));
    w.show();
    QCOMPARE(shown(spy), kOpening);
    QCOMPARE(child<QLabel>(w, "lb")->text(), QString());

    spy.clear();
    click(w, "btnReady");
    QCOMPARE(w.mode(), OrderMode::Payment);
    QCOMPARE(shown(spy),
             QStringList({"Запис отчет", "Запис на заработка", "Проверка в ангажиментите"}) +
                 kOpening);

    spy.clear();
    click(w, "btnPay"); // cash, registered client, 10.00 discount
    QCOMPARE(shown(spy), QStringList({"Начало отчет", "Редакция поръчка", "Запис печалба",
                                      "Печалба от части", "Запис в касата", "Запис за фактури",
                                      "Запис в разходите", "Запис печалбата за поръчката"}));
    QCOMPARE(child<QLabel>(w, "lb")->text(), QString());
    QCOMPARE(env.responder().messages.size(), 0);
    QCOMPARE(db->scalar("SELECT Suma FROM kasa").toDouble(), 160.0);
}

void TestOrderReportStates::paymentStatusFollowsTheBooksWritten_data() {
    QTest::addColumn<bool>("registered");
    QTest::addColumn<int>("method");
    QTest::addColumn<double>("amount");
    QTest::addColumn<double>("discount");
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("on account with a surcharge") << true << int(PayMethod::Account) << 175.0 << -5.0
                                                 << QStringList{"Редакция поръчка",
                                                                "Запис печалба",
                                                                "Печалба от части",
                                                                "Запис на задължение",
                                                                "Запис за фактури",
                                                                "Запис в приходите",
                                                                "Запис печалбата за поръчката"};
    QTest::newRow("nothing to pay, client not registered")
        << false << int(PayMethod::Cash) << 0.0 << 0.0
        << QStringList{"Редакция поръчка", "Запис печалба", "Печалба от части",
                       "Запис печалбата за поръчката"};
}

void TestOrderReportStates::paymentStatusFollowsTheBooksWritten() {
    QFETCH(bool, registered);
    QFETCH(int, method);
    QFETCH(double, amount);
    QFETCH(double, discount);
    QFETCH(QStringList, steps);
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 firm = builders::client(*db);
    builders::order(*db, {.id = 5, .ready = true, .readyDate = QDate::currentDate(), .state = 3});
    PaymentInput in{.idPor = 5, .orderNumberText = "5", .clientNames = "Транс ООД"};
    if (registered)
        in.clientId = firm;
    in.fee = 10;
    in.labourClient = 60;
    in.labourClerk = 24;
    in.parts = 100;
    in.amount = amount;
    in.discount = discount;
    in.method = PayMethod(method);
    QStringList seen;
    QVERIFY(payOrder(*db, in, QDateTime::currentDateTime(), [&seen](const QString& step) {
                seen << step;
            }).paid);
    QCOMPARE(seen, steps);
}

QTEST_MAIN(TestOrderReportStates)
#include "test_order_report_states.moc"

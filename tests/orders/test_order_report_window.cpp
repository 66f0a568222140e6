#include "orders/new_order_window.h"
#include "orders/operations_catalogue_window.h"
#include "orders/operations_tree.h"
#include "orders/order_commands.h"
#include "orders/order_parts_dialog.h"
#include "orders/order_registration.h"
#include "orders/order_report_window.h"
#include "orders/start_number_dialog.h"
#include "shell/business_settings.h"
#include "shell/session.h"
#include "staff/employees_window.h"
#include "store/sql_values.h"
#include "support/builders.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "warehouse/parts_list_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>

using namespace orders;
using testing::child;
using testing::click;
using testing::ModalAnswer;
using testing::TestEnvironment;

namespace {

QString text(QWidget& w, const char* name) {
    return child<QLineEdit>(w, name)->text();
}

// Types into a money field as the user does (select all, type).
void type(QWidget& w, const char* name, const QString& value) {
    QLineEdit* e = child<QLineEdit>(w, name);
    e->setFocus();
    e->selectAll();
    QTest::keyClicks(e, value);
}

// Answers the parts picker: the part in the list with this designation, quantity as given.
void pickPart(TfrmPorParts* d, const QString& part, const QString& quantity) {
    QTableView* grid = d->list()->grid();
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        if (grid->model()->index(row, 0).data().toString() == part)
            grid->selectRow(row);
    }
    click(*d, "btnChoose");
    child<QLineEdit>(*d, "eAmnt")->setText(quantity);
    click(*d, "btnRec");
}

} // namespace

class TestOrderReportWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reportOpensWithTheClientDiscount();
    void unpaidOrderZeroesTheMoneyFields();
    void repairCardIsOfferedOnlyWhereItPrints();
    void aMinusInTheFeeIsRefusedVisibly();
    void euroPartPricedWithTodaysRate();
    void commandRefusals_data();
    void commandRefusals();
    void noTechniciansOpensTheEmployees();
    void orderFromNewToPaid();
};

void TestOrderReportWindow::reportOpensWithTheClientDiscount() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = builders::session(*db);
    session.settings().setNum(*db, shell::settingKeys::taksa, 10);
    builders::employee(*db, {.name = "Иван"});
    builders::client(*db, {.name = "Транс ООД", .partsDiscount = 10});
    builders::order(*db, {.id = 5, .client = "Транс ООД"});
    builders::partLine(*db, 5, {.part = 1, .amount = 2, .price = 50});
    builders::labourLine(*db, 5,
                         {.work = "x", .clientPrice = 50, .technicianAmount = 20, .technician = 2});
    TfrmOtchet w(*db, session);
    QVERIFY(w.openOrder(5, OrderMode::Report));
    w.show();
    QCOMPARE(w.windowTitle(), QString("Отчет на поръчка - нормален ремонт"));
    QCOMPARE(db->scalar("SELECT sumall FROM porychka").toDouble(), 150.0);
    QCOMPARE(text(w, "eOtst"), QString("10,00"));
    QCOMPARE(text(w, "eSuma"), QString("150,00"));
    QCOMPARE(text(w, "eDiscParts"), QString("10,00"));
    type(w, "eSuma", "140");
    QCOMPARE(text(w, "eOtst"), QString("20,00"));
    type(w, "eOtst", "-5");
    QCOMPARE(text(w, "eSuma"), QString("165,00"));
    type(w, "eTaksa", "12");
    QCOMPARE(text(w, "eOtst"), QString("10,00")); // the client's discount applies again
    QCOMPARE(text(w, "eSuma"), QString("152,00"));
    QVERIFY(child<QPushButton>(w, "btnReady")->isVisibleTo(&w));
    QVERIFY(!child<QPushButton>(w, "btnPay")->isVisibleTo(&w));
}

void TestOrderReportWindow::repairCardIsOfferedOnlyWhereItPrints() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = builders::session(*db);
    builders::employee(*db, {.name = "Иван"});
    builders::order(*db, {.id = 5});
    {
        TfrmOtchet w(*db, session);
        QVERIFY(w.openOrder(5, OrderMode::Report));
        w.show();
        QVERIFY(!child<QCheckBox>(w, "chkPrnCard")->isVisible());
    }
    TfrmOtchet w(*db, session);
    w.setRepairCardCommand([](qint64) {});
    QVERIFY(w.openOrder(5, OrderMode::Report));
    w.show();
    QVERIFY(child<QCheckBox>(w, "chkPrnCard")->isVisible());
}

void TestOrderReportWindow::aMinusInTheFeeIsRefusedVisibly() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = builders::session(*db);
    builders::employee(*db, {.name = "Иван"});
    builders::order(*db, {.id = 5});
    TfrmOtchet w(*db, session);
    QVERIFY(w.openOrder(5, OrderMode::Report));
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* fee = child<QLineEdit>(w, "eTaksa");
    fee->setFocus();
    fee->selectAll();
    QTest::keyClicks(fee, "-10");
    QCOMPARE(fee->text(), QString("10"));
    QVERIFY2(QToolTip::isVisible() && QToolTip::text().contains("отрицателна"),
             qPrintable(QToolTip::text()));
}

void TestOrderReportWindow::unpaidOrderZeroesTheMoneyFields() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = builders::session(*db);
    session.settings().setNum(*db, shell::settingKeys::taksa, 10);
    builders::employee(*db, {.name = "Иван"});
    builders::order(*db, {.id = 5, .type = 2});
    builders::part(*db, {.amount = 3, .inPrice = 30, .outPrice = 50});
    TfrmOtchet w(*db, session);
    QVERIFY(w.openOrder(5, OrderMode::Report));
    w.show();
    QVERIFY(w.windowTitle().endsWith(" - гаранционен ремонт"));
    for (const char* f : {"eTaksa", "eOtst", "eSuma"}) {
        QCOMPARE(text(w, f), QString("0,00"));
        QVERIFY(!child<QLineEdit>(w, f)->isEnabled());
    }
    ModalAnswer<TfrmPorParts> answer([](TfrmPorParts* d) { pickPart(d, "Филтър масло", "2"); });
    click(w, "btnAddPart");
    QCOMPARE(answer.seen, 1);
    QCOMPARE(db->scalar("SELECT priceLV FROM PartsInPor").toDouble(), 0.0);
    QCOMPARE(db->scalar("SELECT amnt FROM PartsInPor").toInt(), 2);
    QCOMPARE(db->scalar("SELECT sumall FROM porychka").toDouble(), 0.0);
    QCOMPARE(db->scalar("SELECT amnt FROM parts").toInt(), 1);
}

void TestOrderReportWindow::euroPartPricedWithTodaysRate() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = builders::session(*db);
    builders::registeredOrder(*db, builders::completeOrder(), 5);
    builders::part(*db, {.amount = 3, .inPrice = 30, .outPrice = 10, .outCurrency = store::kEur});
    builders::rates(*db, {.usd = 1.7, .eur = 1.95583});
    TfrmOtchet w(*db, session);
    QVERIFY(w.openOrder(5, OrderMode::Parts));
    w.show();
    QVERIFY(!child<QLineEdit>(w, "eTaksa")->isEnabled());
    {
        ModalAnswer<TfrmPorParts> answer([](TfrmPorParts* d) { pickPart(d, "Филтър масло", "1"); });
        click(w, "btnAddPart");
    }
    QCOMPARE(db->scalar("SELECT priceLV FROM PartsInPor").toDouble(), 19.56);
    QCOMPARE(text(w, "eParts"), QString("19,56"));
    QCOMPARE(db->scalar("SELECT sumparts FROM porychka").toDouble(), 19.56);
    QCOMPARE(db->scalar("SELECT count(*) FROM Part_Moves").toInt(), 1);

    // Above the stock the picker refuses and nothing is booked.
    env.responder().clear();
    ModalAnswer<TfrmPorParts> tooMany([](TfrmPorParts* d) {
        pickPart(d, "Филтър масло", "5");
        d->cancelAmount();
        d->reject();
    });
    click(w, "btnAddPart");
    QCOMPARE(env.responder().texts(),
             QStringList{"Не може да въведете по-голямо количество от наличното!"});
    QCOMPARE(db->scalar("SELECT amnt FROM PartsInPor").toInt(), 1);
}

void TestOrderReportWindow::commandRefusals_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("ready");
    QTest::addColumn<bool>("payed");
    QTest::addColumn<bool>("outside");
    QTest::addColumn<QString>("message");
    QTest::newRow("report of a ready order")
        << 1 << true << false << false << "Поръчка  №5 вече е отчетена!";
    QTest::newRow("parts into a ready order")
        << 0 << true << false << false << "Поръчка  №5 вече е отчетена!";
    QTest::newRow("payment of a paid order")
        << 2 << true << true << false << "Поръчка  №5 вече е платена!";
    QTest::newRow("payment of an order in work")
        << 2 << false << false << false << "Поръчка  №5 не е готова!";
    QTest::newRow("report of an order at an outside service")
        << 1 << false << false << true
        << QString::fromUtf8("Поръчка  №5 e изпратена към външен сервиз и не е върната");
    QTest::newRow("parts while at an outside service") << 0 << false << false << true << "";
}

void TestOrderReportWindow::commandRefusals() {
    QFETCH(int, mode);
    QFETCH(bool, ready);
    QFETCH(bool, payed);
    QFETCH(bool, outside);
    QFETCH(QString, message);
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = builders::session(*db);
    builders::employee(*db, {.name = "Иван"});
    builders::order(*db, {.id = 5, .ready = ready, .payed = payed});
    if (outside)
        db->exec("INSERT INTO externals (idPor, back) VALUES (5, false)");
    const auto refusal = orderCommandRefusal(*db, OrderMode(mode), 5);
    QCOMPARE(refusal.value_or(QString()), message);
    if (message.isEmpty())
        return;
    ModalAnswer<TfrmOtchet> opened([](TfrmOtchet* w) { w->reject(); });
    runOrderCommand(nullptr, *db, session, OrderMode(mode), 5);
    QCOMPARE(opened.seen, 0);
    QCOMPARE(env.responder().texts(), QStringList{message});
    QCOMPARE(env.responder().messages.first().caption, QString("Съобщение"));
}

void TestOrderReportWindow::noTechniciansOpensTheEmployees() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = builders::session(*db);
    builders::registeredOrder(*db, builders::completeOrder(), 5);
    builders::employee(*db, {.name = "Стоян", .active = false});
    {
        ModalAnswer<TfrmOtchet> report([](TfrmOtchet* w) { w->reject(); });
        ModalAnswer<TsrClerks> employees([](TsrClerks* w) { w->reject(); });
        runOrderCommand(nullptr, *db, session, OrderMode::Report, 5);
        QCOMPARE(report.seen, 0);
        QCOMPARE(employees.seen, 1);
    }
    QCOMPARE(env.responder().texts(), QStringList{noTechniciansText()});
    // Parts need no technician; without the right nothing happens at all.
    ModalAnswer<TfrmOtchet> parts([](TfrmOtchet* w) { w->reject(); });
    runOrderCommand(nullptr, *db, session, OrderMode::Parts, 5);
    QCOMPARE(parts.seen, 1);
    shell::Session noRight = builders::session(builders::rightsWith({}));
    runOrderCommand(nullptr, *db, noRight, OrderMode::Parts, 5);
    QCOMPARE(parts.seen, 1);
}

// A new order through parts, labour, ready and payment; then every table it touched.
void TestOrderReportWindow::orderFromNewToPaid() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = builders::session(*db);
    session.settings().setNum(*db, shell::settingKeys::taksa, 10);
    const qint64 ivan = builders::employee(*db, {.name = "Иван", .percent = 40});
    builders::employee(*db, {.name = "Петър", .percent = 50});
    const qint64 part = builders::part(*db, {.amount = 5, .inPrice = 30, .outPrice = 50});
    const qint64 brand = *addNode(*db, kNoParent, "VW").id;
    const qint64 engine = *addNode(*db, brand, "Двигател").id;
    Operation op{.code = "M1", .name = "Смяна на масло", .clientPrice = 60, .workerPrice = 20};
    QVERIFY(!saveOperation(*db, op, engine));
    qint64 no = 0;
    { // the order is registered in its window, as a home visit, under the start number 100
        ModalAnswer<TfrmStartNum> start([](TfrmStartNum* ask) {
            QTest::keyClicks(child<QLineEdit>(*ask, "eStartNo"), "100");
            child<QPushButton>(*ask, "btnNum")->click();
        });
        TsrPor registration(*db, RepairPlace::HomeVisit);
        registration.show();
        QVERIFY(QTest::qWaitForWindowExposed(&registration));
        const NewOrder o = builders::completeOrder();
        child<QLineEdit>(registration, "eClientName")->setText(o.clientName);
        child<QLineEdit>(registration, "eClientAdres")->setText(o.clientAdres);
        child<QLineEdit>(registration, "eClientPhone")->setText(o.clientPhone);
        child<QComboBox>(registration, "eMarka")->setEditText(o.marka);
        child<QComboBox>(registration, "eModels")->setEditText(o.model);
        child<QLineEdit>(registration, "eYear")->setText(o.year);
        child<QLineEdit>(registration, "eRegNo")->setText(o.regNo);
        child<QLineEdit>(registration, "eKM")->setText(o.km);
        child<QPlainTextEdit>(registration, "eDefect")->setPlainText(o.defect);
        click(registration, "btnRec");
        QCOMPARE(start.seen, 1);
        QVERIFY(registration.savedNumber());
        no = *registration.savedNumber();
    }
    QCOMPARE(no, 100);
    QCOMPARE(db->scalar("SELECT count(*) FROM homevisit WHERE field1 = '100' AND visited = false")
                 .toInt(),
             1);

    { // parts into the order
        ModalAnswer<TfrmPorParts> picker([](TfrmPorParts* d) { pickPart(d, "Филтър масло", "2"); });
        ModalAnswer<TfrmOtchet> window([](TfrmOtchet* w) {
            QCOMPARE(w->mode(), OrderMode::Parts);
            click(*w, "btnAddPart");
            w->reject();
        });
        runOrderCommand(nullptr, *db, session, OrderMode::Parts, no);
        QCOMPARE(window.seen, 1);
        QCOMPARE(picker.seen, 1);
    }
    { // report: labour, then ready, which turns the window to payment; then pay
        ModalAnswer<TfrmWorkOp> catalogue([&](TfrmWorkOp* w) {
            QVERIFY(w->inOrderMode());
            w->selectNode(engine);
            QCOMPARE(w->listedOperations(), 1);
            click(*w, "btnGo");
            child<QComboBox>(*w, "cmbClerks")->setCurrentText("Иван");
            QCOMPARE(child<QLineEdit>(*w, "eInsOp")->text(), QString("код: M1; Смяна на масло"));
            QCOMPARE(child<QLineEdit>(*w, "payClerk")->text(), QString("24,00"));
            click(*w, "btnOk");
        });
        ModalAnswer<TfrmOtchet> window([&](TfrmOtchet* w) {
            if (w->mode() == OrderMode::Report) {
                click(*w, "addWorkOp");
                QCOMPARE(text(*w, "eSuma"), QString("170,00"));
                child<QComboBox>(*w, "cmbState")->setCurrentIndex(1);
                click(*w, "btnReady");
                QCOMPARE(w->mode(), OrderMode::Payment);
                QVERIFY(child<QPushButton>(*w, "btnPay")->isVisibleTo(w));
                click(*w, "btnPay");
            }
        });
        runOrderCommand(nullptr, *db, session, OrderMode::Report, no);
        QCOMPARE(catalogue.seen, 1);
        QCOMPARE(window.seen, 1);
    }
    QCOMPARE(env.responder().messages.size(), 0);
    QCOMPARE(env.responder().questions.size(), 0);

    QSqlQuery order = db->exec("SELECT ready, payed, porState, taksa, sumparts, sumtrud, sumall, "
                               "Pech, readyDate, payDate, idClerk FROM porychka WHERE idPor = :n",
                               {{"n", no}});
    QVERIFY(order.next());
    QVERIFY(store::boolFromDb(order.value(0)));
    QVERIFY(store::boolFromDb(order.value(1)));
    QCOMPARE(order.value(2).toInt(), 4);
    QCOMPARE(order.value(3).toDouble(), 10.0);
    QCOMPARE(order.value(4).toDouble(), 100.0);
    QCOMPARE(order.value(5).toDouble(), 60.0);
    QCOMPARE(order.value(6).toDouble(), 170.0);
    QCOMPARE(order.value(7).toDouble(), 86.0);
    QCOMPARE(store::dateFromDb(order.value(8)), QDate::currentDate());
    QCOMPARE(store::dateFromDb(order.value(9)), QDate::currentDate());
    QCOMPARE(order.value(10).toInt(), 0);
    QCOMPARE(db->scalar("SELECT amnt FROM parts WHERE id = :p", {{"p", part}}).toInt(), 3);
    QCOMPARE(
        db->scalar("SELECT count(*) FROM Part_Moves WHERE amnt = -2 AND idPor = :n", {{"n", no}})
            .toInt(),
        1);
    QSqlQuery labour = db->exec("SELECT idOp, Trud, Pr1, Pr2, idClerk FROM Jobs_In_Por");
    QVERIFY(labour.next());
    QCOMPARE(labour.value(0).toLongLong(), op.id);
    QCOMPARE(labour.value(2).toDouble(), 60.0);
    QCOMPARE(labour.value(3).toDouble(), 24.0);
    QCOMPARE(labour.value(4).toLongLong(), ivan);
    QSqlQuery earning = db->exec("SELECT idClerk, suma, noPor, notes FROM paymClerks");
    QVERIFY(earning.next());
    QCOMPARE(earning.value(0).toLongLong(), ivan);
    QCOMPARE(earning.value(1).toDouble(), 24.0);
    QCOMPARE(earning.value(2).toLongLong(), no);
    QVERIFY(!earning.next());
    QVERIFY(store::boolFromDb(db->scalar("SELECT visited FROM homevisit")));
    QCOMPARE(db->scalar("SELECT Pech FROM pech WHERE idNote = 1 AND idVal = 1").toDouble(), 40.0);
    QCOMPARE(db->scalar("SELECT Pech FROM pech WHERE idNote = 2").toDouble(), 36.0);
    QCOMPARE(db->scalar("SELECT Suma FROM kasa").toDouble(), 170.0);
    QCOMPARE(db->scalar("SELECT Notes FROM kasa").toString(),
             QString("Плащане поръчка №%1").arg(no));
    QCOMPARE(db->scalar("SELECT count(*) FROM pech").toInt(), 3);
    QCOMPARE(db->scalar("SELECT count(*) FROM payNoFact").toInt(), 0);
    QCOMPARE(db->scalar("SELECT count(*) FROM clerks_hours").toInt(), 0);
}

QTEST_MAIN(TestOrderReportWindow)
#include "test_order_report_window.moc"

#include "orders/order_register_window.h"
#include "shell/business_settings.h"
#include "shell/session.h"
#include "support/builders.h"
#include "support/test_environment.h"
#include "support/widget_access.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using builders::order;
using testing::child;
using testing::TestEnvironment;

namespace {

shell::Session sessionWithProfit(bool profit) {
    return builders::session(profit ? builders::allRights()
                                    : builders::allRightsBut({store::Right::Profit}));
}

struct Register {
    shell::Session session;
    shell::BusinessSettings settings;
    TfrmSprPor w;
    Register(store::Database& db, bool profit = true)
        : session(sessionWithProfit(profit)), settings(shell::BusinessSettings::load(db)),
          w(db, session, settings) {
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            qFatal("window not shown");
    }
    void click(const char* name) { child<QPushButton>(w, name)->click(); }
    QLineEdit* line(const char* name) { return child<QLineEdit>(w, name); }
    bool enabled(const char* name) { return child<QPushButton>(w, name)->isEnabled(); }
    bool actionEnabled(const char* name) { return child<QAction>(w, name)->isEnabled(); }
};

const QDate kToday = QDate::currentDate();

} // namespace

class TestOrderRegisterWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void shortCriterionIsRefused();
    void orderNumberIsASelectionOfItsOwn();
    void overdueReportAndCommandEnabling();
    void periodReportWithoutDatesAsksFirst();
    void emptyResult();
    void waitPanelShowsWhileTheSearchRuns();
    void profitNeedsTheRight_data();
    void profitNeedsTheRight();
    void typeChangeRefusedWithWork();
    void restoreAndWaitForParts();
};

void TestOrderRegisterWindow::shortCriterionIsRefused() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1});
    Register r(*db);
    r.line("eNames")->setText("Ива");
    r.click("BitBtn2");
    QCOMPARE(env.responder().texts(), QStringList{"Не сте задали критерий за търсене!"});
    QCOMPARE(env.responder().messages[0].caption, QString("Съобщение"));
    QCOMPARE(r.w.listedRows(), 0);
    r.line("eNames")->setText("Иван");
    r.click("BitBtn2");
    QCOMPARE(r.w.filterText(), QString("Kлиент съдържа \"Иван\""));
    QCOMPARE(r.w.listedRows(), 1);
    QVERIFY(!child<QWidget>(r.w, "pFilt")->isVisible());
}

void TestOrderRegisterWindow::orderNumberIsASelectionOfItsOwn() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 56});
    order(*db, {.id = 57});
    Register r(*db);
    r.line("eNames")->setText("Иван Петров");
    r.line("ePorNo")->setText("57");
    QCOMPARE(r.line("eNames")->text(), QString());
    QVERIFY(!r.line("eNames")->isEnabled());
    r.click("BitBtn2");
    QCOMPARE(r.w.filterText(), QString("Номер на поръчка: 57"));
    QCOMPARE(r.w.listedRows(), 1);
    QCOMPARE(r.w.currentOrder(), std::optional<qint64>(57));
    r.line("ePorNo")->clear();
    QVERIFY(r.line("eNames")->isEnabled());
}

void TestOrderRegisterWindow::waitPanelShowsWhileTheSearchRuns() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1});
    Register r(*db);
    auto* panel = child<QWidget>(r.w, "pMess");
    QVERIFY(!panel->isVisible());
    // Looked at while the list takes the rows of the search.
    bool shownDuringSearch = false;
    QObject::connect(r.w.findChild<QTableView*>("grid")->model(),
                     &QAbstractItemModel::modelAboutToBeReset,
                     [&] { shownDuringSearch = panel->isVisible(); });
    r.click("BitBtn1");
    QCOMPARE(r.w.listedRows(), 1);
    QVERIFY(shownDuringSearch);
    QVERIFY(!panel->isVisible());
    QVERIFY(r.w.isEnabled());
}

void TestOrderRegisterWindow::overdueReportAndCommandEnabling() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1, .endDate = kToday});
    order(*db, {.id = 2, .endDate = kToday.addDays(1)});
    Register r(*db);
    QVERIFY(!r.enabled("btnOtchet"));
    QList<qint64> reported;
    r.w.setReportCommand([&](qint64 id) { reported << id; });
    child<QRadioButton>(r.w, "rb6")->setChecked(true);
    QVERIFY(!child<QWidget>(r.w, "date1")->isEnabled());
    r.click("BitBtn1");
    QCOMPARE(r.w.filterText(), QString("Всички неотчетени поръчки с изтекъл срок на ремонт"));
    QCOMPARE(r.w.listedRows(), 1);
    QVERIFY(r.enabled("btnOtchet"));
    QVERIFY(!r.enabled("btnParts")); // not wired yet
    QVERIFY(!r.enabled("btnPay"));   // not ready
    QVERIFY(!r.enabled("btnRestore"));
    QVERIFY(r.actionEnabled("mnChngType"));
    QVERIFY(r.actionEnabled("mnWaitPart"));
    QVERIFY(r.enabled("prnGrid"));
    r.click("btnOtchet");
    child<QAction>(r.w, "popOtchet")->trigger();
    QCOMPARE(reported, (QList<qint64>{1, 1}));
}

void TestOrderRegisterWindow::periodReportWithoutDatesAsksFirst() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1, .porDate = kToday.addDays(-400)});
    Register r(*db);
    child<QRadioButton>(r.w, "rb3")->setChecked(true);
    QVERIFY(child<QWidget>(r.w, "date1")->isEnabled());
    for (const char* name : {"date1", "date2"}) {
        QWidget* date = child<QWidget>(r.w, name);
        date->setFocus();
        QTest::keyClick(date, Qt::Key_Delete);
    }
    r.click("BitBtn1");
    QCOMPARE(env.responder().questions.size(), 1);
    QVERIFY(env.responder().questions[0].startsWith("Не сте задали дати за търсене"));
    QCOMPARE(r.w.listedRows(), 0);
    env.responder().answers << true;
    r.click("BitBtn1");
    QCOMPARE(r.w.filterText(), QString("Приети уреди"));
    QCOMPARE(r.w.listedRows(), 1);
}

void TestOrderRegisterWindow::emptyResult() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1, .ready = true, .readyDate = kToday});
    Register r(*db);
    r.click("BitBtn1"); // unfinished orders: none
    QCOMPARE(env.responder().texts(), QStringList{"Няма намерени данни по зададените критерии!"});
    QVERIFY(!r.enabled("btnEditPor"));
    QVERIFY(!r.enabled("prnGrid"));
}

void TestOrderRegisterWindow::profitNeedsTheRight_data() {
    QTest::addColumn<bool>("right");
    QTest::newRow("with right 37") << true;
    QTest::newRow("without right 37") << false;
}

void TestOrderRegisterWindow::profitNeedsTheRight() {
    QFETCH(bool, right);
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1, .sumAll = 100, .pech = 30});
    order(*db, {.id = 2, .sumAll = 50.5, .pech = 12.25});
    Register r(*db, right);
    r.click("BitBtn1");
    QCOMPARE(r.w.listedRows(), 2);
    auto* grid = child<QTableView>(r.w, "grid");
    QCOMPARE(grid->isColumnHidden(orders::ColPech), !right);
    QCOMPARE(grid->isColumnHidden(orders::ColSumAll), false);
    auto* totals = child<QLabel>(r.w, "lbTotals");
    QCOMPARE(totals->isVisible(), right);
    if (right)
        QVERIFY(totals->text().contains("сума 150,50; печалба 42,25"));
    else
        QCOMPARE(totals->text(), QString());
    // A layout saved by another user with the profit shown does not bring it back.
    r.w.saveLayout();
    Register again(*db, right);
    again.click("BitBtn1");
    QCOMPARE(child<QTableView>(again.w, "grid")->isColumnHidden(orders::ColPech), !right);
}

void TestOrderRegisterWindow::typeChangeRefusedWithWork() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1});
    builders::partLine(*db, 1, {.part = 1});
    Register r(*db);
    r.click("BitBtn1");
    child<QAction>(r.w, "mnChngType")->trigger();
    QCOMPARE(env.responder().texts(),
             QStringList{"Не можете да смените типа на ремонта, ако имат въведени труд или "
                         "части!\nЗа целта изберете \"Отчет\" и изтрийте всички вложени части и "
                         "сервизни операции по поръчката!\nСлед това излезте от там, като "
                         "натиснете бутона \"Изход\". След това можете да смените типа на "
                         "ремонта"});
    QCOMPARE(env.responder().messages[0].icon, ui::MessageIcon::Warning);
}

void TestOrderRegisterWindow::restoreAndWaitForParts() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1});
    builders::labourLine(*db, 1);
    builders::makeReady(*db, 1); // credits the technician once
    order(*db, {.id = 2});
    Register r(*db);
    child<QRadioButton>(r.w, "rb2")->setChecked(true);
    r.click("BitBtn1");
    QCOMPARE(r.w.currentOrder(), std::optional<qint64>(1));
    QVERIFY(r.enabled("btnRestore"));
    QVERIFY(!r.actionEnabled("mnChngType"));
    QVERIFY(!r.actionEnabled("mnWaitPart")); // state 3
    r.click("btnRestore");
    QCOMPARE(db->scalar("SELECT porState FROM porychka WHERE idPor = 1").toInt(), 1);
    QCOMPARE(db->scalar("SELECT count(*) FROM paymClerks").toInt(), 0);

    r.line("ePorNo")->setText("2");
    child<QPushButton>(r.w, "btnFilt")->click();
    r.click("BitBtn2");
    child<QAction>(r.w, "mnWaitPart")->trigger();
    QCOMPARE(db->scalar("SELECT porState FROM porychka WHERE idPor = 2").toInt(), 2);
    QVERIFY(!r.actionEnabled("mnWaitPart"));
}

QTEST_MAIN(TestOrderRegisterWindow)
#include "test_order_register_window.moc"

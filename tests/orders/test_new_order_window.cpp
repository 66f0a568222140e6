#include "orders/new_order_window.h"
#include "orders/start_number_dialog.h"
#include "orders/symptom_codes_window.h"
#include "store/sql_values.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "support/widget_access.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

using builders::completeOrder;
using builders::order;
using testing::child;
using testing::rowCount;
using testing::TestEnvironment;

namespace {

// Runs the step on the next modal dialog of type T once it is open.
template <typename T> void whenModal(std::function<void(T&)> step) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [step, poll] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            step(*dialog);
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

struct Window {
    TsrPor w;
    explicit Window(store::Database& db, orders::RepairPlace place = orders::RepairPlace::Workshop)
        : w(db, place) {
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            qFatal("window not shown");
        QApplication::setActiveWindow(&w);
    }
    QLineEdit* line(const char* name) { return child<QLineEdit>(w, name); }
    QComboBox* combo(const char* name) { return child<QComboBox>(w, name); }
    void fill(const orders::NewOrder& o) {
        line("eClientName")->setText(o.clientName);
        line("eClientAdres")->setText(o.clientAdres);
        line("eClientPhone")->setText(o.clientPhone);
        combo("eMarka")->setEditText(o.marka);
        combo("eModels")->setEditText(o.model);
        line("eYear")->setText(o.year);
        line("eRegNo")->setText(o.regNo);
        line("eKM")->setText(o.km);
        child<QPlainTextEdit>(w, "eDefect")->setPlainText(o.defect);
    }
    void save() { child<QPushButton>(w, "btnRec")->click(); }
};

} // namespace

class TestNewOrderWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void emptyTableAsksForTheStartNumberFirst();
    void dueDateFollowsTheTypeAndNeverLiesBeforeToday();
    void knownRegistrationNumberFillsTheForm();
    void blankNameStopsSaving();
    void typedNumbersAndTakenNumbers_data();
    void typedNumbersAndTakenNumbers();
    void homeVisitIsSavedWithItsVisit();
    void noPreviousRepairs();
    void symptomCodeAddsAComplaintLine();
};

void TestNewOrderWindow::emptyTableAsksForTheStartNumberFirst() {
    TestEnvironment env;
    auto db = env.newDatabase();
    bool refusedToClose = false;
    whenModal<TfrmStartNum>([&](TfrmStartNum& ask) {
        QCOMPARE(child<QLabel>(ask, "lbMess")->text(),
                 QString("Въведете стартов номер на поръчка"));
        child<QPushButton>(ask, "btnNum")->click(); // empty: stays open
        ask.close();
        ask.reject();
        refusedToClose = ask.isVisible();
        QTest::keyClicks(child<QLineEdit>(ask, "eStartNo"), "5x00");
        child<QPushButton>(ask, "btnNum")->click();
    });
    Window win(*db);
    QVERIFY(refusedToClose);
    QCOMPARE(win.line("eNomer")->text(), QString("500"));
    win.fill(completeOrder());
    win.save();
    QVERIFY(env.responder().messages.isEmpty());
    QCOMPARE(win.w.savedNumber(), std::optional<qint64>(500));
    QCOMPARE(db->scalar("SELECT idPor FROM porychka").toInt(), 500);
    Window next(*db);
    QCOMPARE(next.line("eNomer")->text(), QString("501"));
}

void TestNewOrderWindow::dueDateFollowsTheTypeAndNeverLiesBeforeToday() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1});
    Window win(*db);
    auto* type = win.combo("cmbType");
    auto* due = child<QDateEdit>(win.w, "backDate");
    const QDate today = QDate::currentDate();
    QCOMPARE(type->currentIndex(), 0);
    QCOMPARE(due->date(), today.addDays(2));
    type->setCurrentIndex(2);
    QCOMPARE(due->date(), today);
    type->setCurrentIndex(1);
    QCOMPARE(due->date(), today.addDays(1));
    type->setCurrentIndex(0);
    QCOMPARE(due->date(), today.addDays(2));
    due->setDate(today.addDays(-3));
    QCOMPARE(due->date(), today);
    auto* place = win.combo("cmbPlace");
    QCOMPARE(child<QLabel>(win.w, "lbBackDate")->text(), QString("Дата на връщане"));
    place->setCurrentIndex(1);
    QCOMPARE(child<QLabel>(win.w, "lbBackDate")->text(), QString("Дата на посещение"));
}

void TestNewOrderWindow::knownRegistrationNumberFillsTheForm() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1, .client = "Стар", .regNo = "СА1234АВ"});
    order(*db, {.id = 2,
                .client = "Мария О'Нийл",
                .adres = "Варна",
                .phone = "052111",
                .marka = "Опел",
                .model = "Астра",
                .regNo = "СА1234АВ",
                .couppe = "W0L1",
                .engine = "Z16"});
    Window win(*db);
    auto* regNo = win.line("eRegNo");
    regNo->setFocus();
    QTRY_VERIFY(regNo->hasFocus());
    regNo->insert(" са1234ав ");
    QTest::keyClick(regNo, Qt::Key_Return);
    QCOMPARE(regNo->text(), QString("са1234ав"));
    QCOMPARE(win.line("eClientName")->text(), QString("Мария О'Нийл"));
    QCOMPARE(win.line("eClientAdres")->text(), QString("Варна"));
    QCOMPARE(win.line("eClientPhone")->text(), QString("052111"));
    QCOMPARE(win.combo("eMarka")->currentText(), QString("Опел"));
    QCOMPARE(win.combo("eModels")->currentText(), QString("Астра"));
    QCOMPARE(win.combo("eModification")->currentText(), QString("1.9 TDI"));
    QCOMPARE(win.combo("eEngine")->currentText(), QString("Z16"));
    QCOMPARE(win.line("eYear")->text(), QString("2001"));
    QCOMPARE(win.line("eCouppe")->text(), QString("W0L1"));
    QCOMPARE(win.line("eKM")->text(), QString()); // the mileage is typed anew
    QTRY_VERIFY(win.line("eKM")->hasFocus());
    QVERIFY(env.responder().questions.isEmpty());
}

void TestNewOrderWindow::blankNameStopsSaving() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1, .regNo = "CB0000AA"});
    Window win(*db);
    orders::NewOrder o = completeOrder();
    o.clientName = "   ";
    win.fill(o);
    win.save();
    QCOMPARE(env.responder().messages.size(), 1);
    QCOMPARE(env.responder().messages[0].caption, QString("Грешка"));
    QCOMPARE(env.responder().messages[0].text, QString("Трябва да въведете имената на клиента!"));
    QCOMPARE(env.responder().messages[0].icon, ui::MessageIcon::Error);
    QCOMPARE(win.line("eClientName")->text(), QString());
    QTRY_VERIFY(win.line("eClientName")->hasFocus());
    QVERIFY(win.w.isVisible());
    QCOMPARE(rowCount(*db, "porychka"), 1);
    QVERIFY(child<QPushButton>(win.w, "btnRec")->isEnabled());
}

void TestNewOrderWindow::typedNumbersAndTakenNumbers_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("proposedNext");
    QTest::newRow("proposed") << QString() << 58 << 59;
    QTest::newRow("typed free number") << "1000" << 1000 << 1001;
    QTest::newRow("typed taken number") << "12" << 58 << 59;
}

void TestNewOrderWindow::typedNumbersAndTakenNumbers() {
    QFETCH(QString, typed);
    QFETCH(int, stored);
    QFETCH(int, proposedNext);
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 12});
    order(*db, {.id = 57});
    {
        Window win(*db);
        QCOMPARE(win.line("eNomer")->text(), QString("58"));
        if (!typed.isEmpty())
            win.line("eNomer")->setText(typed);
        win.fill(completeOrder());
        win.save();
        QVERIFY(env.responder().messages.isEmpty());
        QVERIFY(!win.w.isVisible());
        QCOMPARE(win.w.savedNumber(), std::optional<qint64>(stored));
    }
    QCOMPARE(rowCount(*db, "porychka"), 3);
    Window next(*db);
    QCOMPARE(next.line("eNomer")->text(), QString::number(proposedNext));
}

void TestNewOrderWindow::homeVisitIsSavedWithItsVisit() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 7});
    Window win(*db, orders::RepairPlace::HomeVisit);
    QCOMPARE(win.combo("cmbPlace")->currentIndex(), 1);
    win.fill(completeOrder());
    const QDate visitDay = QDate::currentDate().addDays(4);
    child<QDateEdit>(win.w, "backDate")->setDate(visitDay);
    win.save();
    QCOMPARE(rowCount(*db, "homevisit"), 1);
    QSqlQuery q = db->exec("SELECT field1, DateVisit, ClientName FROM homevisit");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QString("8"));
    QCOMPARE(store::dateFromDb(q.value(1)), visitDay);
    QCOMPARE(q.value(2).toString(), completeOrder().clientName);
    QCOMPARE(store::dateFromDb(db->scalar("SELECT endDate FROM porychka WHERE idPor = 8")),
             visitDay);

    // The visit command only marks the order as a home visit; cancelling books nothing.
    Window cancelled(*db);
    child<QPushButton>(cancelled.w, "btnHome")->click();
    QCOMPARE(cancelled.combo("cmbPlace")->currentIndex(), 1);
    child<QPushButton>(cancelled.w, "btnCancel")->click();
    QCOMPARE(rowCount(*db, "homevisit"), 1);
    QCOMPARE(rowCount(*db, "porychka"), 2);
}

void TestNewOrderWindow::noPreviousRepairs() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1, .regNo = "CA0000AA"});
    Window win(*db);
    win.fill(completeOrder());
    child<QPushButton>(win.w, "btnCheck")->click();
    QCOMPARE(env.responder().messages.size(), 1);
    QCOMPARE(env.responder().messages[0].caption, QString("Съобщение"));
    QCOMPARE(env.responder().messages[0].text, QString("Няма предишни ремонти"));
    QCOMPARE(env.responder().messages[0].icon, ui::MessageIcon::Warning);
}

void TestNewOrderWindow::symptomCodeAddsAComplaintLine() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1});
    db->exec("INSERT INTO Sympt_Codes (description, marka, code_add, value) VALUES "
             "('Прекъсва на празен ход', 'VW', 'P0301', 0)");
    Window win(*db);
    child<QPlainTextEdit>(win.w, "eDefect")->setPlainText("Тракане;");
    whenModal<TfrmSymp>([](TfrmSymp& symptoms) {
        QVERIFY(child<QPushButton>(symptoms, "btnOk")->isVisible());
        child<QPushButton>(symptoms, "btnOk")->click();
    });
    child<QPushButton>(win.w, "addDefect")->click();
    QCOMPARE(child<QPlainTextEdit>(win.w, "eDefect")->toPlainText(),
             QString("Тракане;\nПрекъсва на празен ход, група: VW, код: P0301;"));
}

QTEST_MAIN(TestNewOrderWindow)
#include "test_new_order_window.moc"

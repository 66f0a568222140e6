#include "orders/parts_in_orders_window.h"
#include "orders/symptom_codes_window.h"
#include "orders/visit_dialog.h"
#include "orders/visits.h"
#include "staff/employees.h"
#include "store/sql_values.h"
#include "support/builders.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "ui/progress_window.h"

#include <QLabel>
#include <QPushButton>
#include <QSqlTableModel>
#include <QTableView>
#include <QTest>
#include <functional>

using testing::child;
using testing::TestEnvironment;

namespace {} // namespace

// Calls back for every window that is shown while it lives.
class ShowWatcher : public QObject {
public:
    explicit ShowWatcher(std::function<void(QObject*)> shown) : shown_(std::move(shown)) {
        qApp->installEventFilter(this);
    }
    ~ShowWatcher() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            shown_(watched);
        return false;
    }

private:
    std::function<void(QObject*)> shown_;
};

class TestSymptomsPartsVisits : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void symptomWithoutDescriptionStaysInEditing();
    void symptomIsStoredTrimmed();
    void partsReportStartsAfreshOnEveryRun();
    void visitReportedByAnEmployee();
};

void TestSymptomsPartsVisits::symptomWithoutDescriptionStaysInEditing() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TfrmSymp w(*db, TfrmSymp::Mode::Browse);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(!child<QPushButton>(w, "btnOk")->isVisible());
    child<QPushButton>(w, "btnAdd")->click();
    auto* model = qobject_cast<QSqlTableModel*>(child<QTableView>(w, "grid")->model());
    model->setData(model->index(0, 1), "   ");
    child<QPushButton>(w, "btnPost")->click();
    QCOMPARE(env.responder().texts(),
             QStringList{"Полето за описание на симптома не може да бъде празно!"});
    QVERIFY(w.isEditing());
    QVERIFY(!child<QPushButton>(w, "btnExit")->isEnabled());
    w.reject();
    QVERIFY(w.isVisible());
    QCOMPARE(db->scalar("SELECT count(*) FROM Sympt_Codes").toInt(), 0);
    child<QPushButton>(w, "btnCancelEdit")->click();
    QVERIFY(!w.isEditing());
}

void TestSymptomsPartsVisits::symptomIsStoredTrimmed() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TfrmSymp w(*db, TfrmSymp::Mode::Pick);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    child<QPushButton>(w, "btnAdd")->click();
    auto* model = qobject_cast<QSqlTableModel*>(child<QTableView>(w, "grid")->model());
    model->setData(model->index(0, 1), "  Тракане отпред  ");
    model->setData(model->index(0, 2), " VW ");
    model->setData(model->index(0, 3), "  ");
    child<QPushButton>(w, "btnPost")->click();
    QVERIFY(env.responder().messages.isEmpty());
    QSqlQuery q = db->exec("SELECT description, marka, code_add, value FROM Sympt_Codes");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QString("Тракане отпред"));
    QCOMPARE(q.value(1).toString(), QString("VW"));
    QVERIFY(q.value(2).isNull());
    QCOMPARE(q.value(3).toDouble(), 0.0);
    const auto chosen = w.chosenSymptom();
    QVERIFY(chosen);
    QCOMPARE(chosen->description, QString("Тракане отпред"));
    QVERIFY(chosen->code.isNull());
}

void TestSymptomsPartsVisits::partsReportStartsAfreshOnEveryRun() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 part = builders::part(
        *db, {.name = "Маслен филтър", .type = "Филтри", .partNo = "W712", .amount = 5});
    for (const auto& [por, amount] : {std::pair{1, 2}, {2, 3}}) {
        builders::registeredOrder(*db, builders::completeOrder(), por);
        builders::partLine(*db, por, {.part = part, .amount = amount});
    }
    TsrPartsPor w(*db);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // The progress window says what is going on while the orders are added up.
    QStringList shown;
    ShowWatcher watcher([&](QObject* o) {
        if (auto* bar = qobject_cast<TfrmBar*>(o))
            shown << bar->findChild<QLabel*>("Label1")->text();
    });
    auto* grid = child<QTableView>(w, "grid");
    for (int run = 0; run < 2; ++run) {
        child<QPushButton>(w, "btnSpr")->click();
        QCOMPARE(w.resultRows(), 1);
        QCOMPARE(grid->model()->index(0, 4).data().toInt(), 5);
    }
    QCOMPARE(shown, QStringList(2, "Зареждане на данни, моля изчакайте ..."));
}

void TestSymptomsPartsVisits::visitReportedByAnEmployee() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::employee(*db, {.name = "Иван Техник"});
    builders::employee(*db, {.name = "Напуснал", .active = false});
    QCOMPARE(staff::activeEmployeeNames(*db), QStringList({"Administrator", "Иван Техник"}));
    db->exec("INSERT INTO homevisit (DateVisit, ClientName, visited, idContract, idClerk) VALUES "
             "(:d, 'Клиент', false, 3, 0)",
             {{"d", QDate::currentDate()}});
    const qint64 visit = db->scalar("SELECT max(id) FROM homevisit").toLongLong();
    QVERIFY(!orders::reportVisitDone(*db, visit, "Никой", "x", QDate(2024, 3, 5)));
    QVERIFY(orders::reportVisitDone(*db, visit, "Иван Техник", "сменен филтър", QDate(2024, 3, 5)));
    QSqlQuery q = db->exec("SELECT visited, Notes, idClerk, field2 FROM homevisit");
    QVERIFY(q.next());
    QCOMPARE(store::boolFromDb(q.value(0)), true);
    QCOMPARE(q.value(1).toString(), QString("сменен филтър"));
    QCOMPARE(q.value(2).toLongLong(),
             db->scalar("SELECT id FROM clerks WHERE Name = 'Иван Техник'").toLongLong());
    QCOMPARE(q.value(3).toString(), QString("05.03.2024"));
}

QTEST_MAIN(TestSymptomsPartsVisits)
#include "test_symptoms_parts_visits.moc"

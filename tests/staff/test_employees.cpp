#include "shell/login.h"
#include "shell/password_hash.h"
#include "staff/employee_dialog.h"
#include "staff/employees.h"
#include "staff/employees_window.h"
#include "store/database.h"
#include "store/rights.h"
#include "support/builders.h"
#include "support/test_environment.h"
#include "support/widget_access.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>

using namespace staff;
using testing::child;
using testing::click;
using testing::ModalAnswer;
using testing::TestEnvironment;

namespace {

// Every rate the same, so that a changed one stands out.
qint64 addEmployee(store::Database& db, const QString& name, std::optional<int> worker, bool active,
                   double rate = 10) {
    return builders::employee(db, {.name = name,
                                   .active = active,
                                   .kind = worker,
                                   .percent = int(rate),
                                   .normalRate = rate,
                                   .warrantyRate = rate});
}

QString preset(int level) {
    return *store::rightsPresetForLevel(level);
}

QTreeWidgetItem* rowOf(TsrClerks& w, const QString& name) {
    auto* grid = child<QTreeWidget>(w, "grNames");
    for (int i = 0; i < grid->topLevelItemCount(); ++i) {
        if (grid->topLevelItem(i)->text(TsrClerks::grNamesName) == name)
            return grid->topLevelItem(i);
    }
    return nullptr;
}

} // namespace

class TestEmployees : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clickOnANodeSpreadsDownAndUp_data();
    void clickOnANodeSpreadsDownAndUp();
    void treeFollowsClicksAndPresets();
    void newEmployeeOpensWorkingAtLevelTwo();
    void savedEmployeeCanLogInWithTheHashedPassword();
    void emptyPasswordKeepsTheStoredOne();
    void duplicateName_data();
    void duplicateName();
    void duplicateNameKeepsTheDialogOpen();
    void protectedEmployeeKeepsStatusKindAndRights();
    void kindRuleDisablesRatesButKeepsThem();
    void payFieldSwallowsMinus();
    void shortRightsStringIsRebuiltToTheFullTree();
    void gridShowsStatusKindAndPreviewLines();
    void bulkRatesTouchOnlyWorkingTechnicians_data();
    void bulkRatesTouchOnlyWorkingTechnicians();
    void ratePanelBlocksTheWindow();
    void newEmployeeFromTheWindow();
};

void TestEmployees::clickOnANodeSpreadsDownAndUp_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("granted");
    QTest::addColumn<QString>("after");
    const QString none(43, '2');
    const QString all(43, '1');
    auto with = [](QString s, std::initializer_list<std::pair<int, char>> changes) {
        for (auto [position, state] : changes)
            s[position - 1] = QLatin1Char(state);
        return s;
    };
    QTest::newRow("one item of a group")
        << none << 12 << true << with(none, {{11, '3'}, {12, '1'}});
    QTest::newRow("the last missing item completes the group")
        << with(none, {{1, '3'}, {2, '1'}}) << 3 << true
        << with(none, {{1, '1'}, {2, '1'}, {3, '1'}});
    QTest::newRow("withdrawing the last item empties the group")
        << with(none, {{39, '3'}, {43, '1'}}) << 43 << false << none;
    QTest::newRow("withdrawing one item of a full group")
        << all << 20 << false << with(all, {{16, '3'}, {20, '2'}});
    QTest::newRow("a group grants all its items")
        << with(none, {{28, '3'}, {30, '1'}}) << 28 << true
        << with(none, {{28, '1'},
                       {29, '1'},
                       {30, '1'},
                       {31, '1'},
                       {32, '1'},
                       {33, '1'},
                       {34, '1'},
                       {35, '1'},
                       {36, '1'},
                       {37, '1'},
                       {38, '1'}});
    QTest::newRow("a group withdraws all its items")
        << all << 4 << false
        << with(all, {{4, '2'}, {5, '2'}, {6, '2'}, {7, '2'}, {8, '2'}, {9, '2'}, {10, '2'}});
    QTest::newRow("a short string is completed first")
        << QString("1") << 2 << true << with(none, {{1, '3'}, {2, '1'}});
}

void TestEmployees::clickOnANodeSpreadsDownAndUp() {
    QFETCH(QString, before);
    QFETCH(int, position);
    QFETCH(bool, granted);
    QFETCH(QString, after);
    QCOMPARE(withRightSet(before, position, granted), after);
}

void TestEmployees::treeFollowsClicksAndPresets() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TsrAddClerk d(*db, std::nullopt);
    d.show();
    auto* tree = child<QTreeWidget>(d, "chkTree");
    QCOMPARE(tree->topLevelItemCount(), 6);
    int nodes = 0;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        nodes += 1 + tree->topLevelItem(i)->childCount();
    QCOMPARE(nodes, store::kRightsCount);

    for (int level : {0, 1, 2}) {
        child<QComboBox>(d, "cmbPrefs")->setCurrentIndex(level);
        QCOMPARE(d.treeRights(), preset(level));
    }
    // A user's click on a group and on an item, as the check box itself changes state.
    d.rightsNode(39)->setCheckState(0, Qt::Checked);
    QCOMPARE(d.treeRights().mid(38, 5), QString("11111"));
    d.rightsNode(41)->setCheckState(0, Qt::Unchecked);
    QCOMPARE(d.treeRights().mid(38, 5), QString("31211"));
    QCOMPARE(d.rightsNode(39)->checkState(0), Qt::PartiallyChecked);
}

void TestEmployees::newEmployeeOpensWorkingAtLevelTwo() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TsrAddClerk d(*db, std::nullopt);
    d.show();
    QCOMPARE(child<QComboBox>(d, "cmbStatus")->currentIndex(), 0);
    QCOMPARE(child<QComboBox>(d, "cmbPrefs")->currentIndex(), 2);
    QCOMPARE(d.treeRights(), preset(2));
    QVERIFY(child<QTreeWidget>(d, "chkTree")->isEnabled());
    QCOMPARE(d.focusWidget(), child<QWidget>(d, "eName"));

    child<QLineEdit>(d, "eName")->setText("  Петър Петров ");
    child<QComboBox>(d, "cmbWorker")->setCurrentIndex(kTechnician);
    child<QLineEdit>(d, "ePay")->setText("1 200,50");
    child<QLineEdit>(d, "eNorm")->setText("30");
    child<QLineEdit>(d, "eWarr")->setText("12.5");
    child<QLineEdit>(d, "eProc")->setText("40");
    child<QPlainTextEdit>(d, "dxDBMemo1")->setPlainText("Специалист по ходова част");
    click(d, "btnRec");
    QVERIFY(env.responder().messages.isEmpty());
    QCOMPARE(d.result(), int(QDialog::Accepted));

    const auto saved = loadEmployee(*db, d.employee().id);
    QVERIFY(saved);
    QCOMPARE(saved->name, QString("Петър Петров"));
    QCOMPARE(saved->pay, 1200.5);
    QCOMPARE(saved->worker, std::optional<int>(kTechnician));
    QCOMPARE(saved->rateNormal, 30.0);
    QCOMPARE(saved->rateWarranty, 12.5);
    QCOMPARE(saved->percent, 40);
    QCOMPARE(saved->info, QString("Специалист по ходова част"));
    QVERIFY(saved->active);
    QCOMPARE(saved->level, 2);
    QCOMPARE(saved->rights, preset(2));
    QVERIFY(!saved->hasPassword);
}

void TestEmployees::savedEmployeeCanLogInWithTheHashedPassword() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TsrAddClerk d(*db, std::nullopt);
    d.show();
    child<QLineEdit>(d, "eName")->setText("Мария Иванова");
    child<QLineEdit>(d, "eNick")->setText(" maria ");
    child<QLineEdit>(d, "ePass")->setText(" тайна1 ");
    child<QComboBox>(d, "cmbPrefs")->setCurrentIndex(1);
    click(d, "btnRec");
    QCOMPARE(d.result(), int(QDialog::Accepted));
    const QString stored =
        db->scalar("SELECT Password FROM clerks WHERE Name = 'Мария Иванова'").toString();
    QVERIFY(shell::isPasswordHash(stored));
    QVERIFY(!stored.contains("тайна1"));
    const auto user = shell::findLogin(*db, "maria", "тайна1");
    QVERIFY(user);
    QCOMPARE(user->rights, preset(1));
}

void TestEmployees::emptyPasswordKeepsTheStoredOne() {
    TestEnvironment env;
    auto db = env.newDatabase();
    Employee e = newEmployee();
    e.name = "Иван";
    e.nick = "ivan";
    QCOMPARE(saveEmployee(*db, e, "старата"), SaveOutcome::Saved);
    const QString firstHash =
        db->scalar("SELECT Password FROM clerks WHERE id = :id", {{"id", e.id}}).toString();

    TsrAddClerk d(*db, e.id);
    d.show();
    auto* pass = child<QLineEdit>(d, "ePass");
    QVERIFY(pass->text().isEmpty()); // the hash is never shown
    child<QLineEdit>(d, "eName")->setText("Иван Иванов");
    click(d, "btnRec");
    QCOMPARE(db->scalar("SELECT Password FROM clerks WHERE id = :id", {{"id", e.id}}).toString(),
             firstHash);
    QVERIFY(shell::findLogin(*db, "ivan", "старата"));

    TsrAddClerk again(*db, e.id);
    again.show();
    child<QLineEdit>(again, "ePass")->setText("новата");
    click(again, "btnRec");
    QVERIFY(!shell::findLogin(*db, "ivan", "старата"));
    QVERIFY(shell::findLogin(*db, "ivan", "новата"));
}

void TestEmployees::duplicateName_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("same name") << "Георги Петров";
    QTest::newRow("blanks around") << "  Георги Петров ";
    QTest::newRow("other letter case") << "ГЕОРГИ петров";
    QTest::newRow("empty") << "   ";
}

void TestEmployees::duplicateName() {
    QFETCH(QString, name);
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 first = addEmployee(*db, "Георги Петров", kTechnician, true);
    Employee e = newEmployee();
    e.name = name;
    QCOMPARE(saveEmployee(*db, e, "парола"), SaveOutcome::DuplicateName);
    QCOMPARE(e.id, 0);
    QCOMPARE(db->scalar("SELECT count(*) FROM clerks").toInt(), 2);
    // Renaming another employee to the name is refused too; keeping one's own name is not.
    const qint64 second = addEmployee(*db, "Стоян", kTechnician, true);
    Employee other = *loadEmployee(*db, second);
    other.name = name;
    QCOMPARE(saveEmployee(*db, other, {}), SaveOutcome::DuplicateName);
    QCOMPARE(loadEmployee(*db, second)->name, QString("Стоян"));
    Employee self = *loadEmployee(*db, first);
    self.name = "георги петров";
    QCOMPARE(saveEmployee(*db, self, {}), SaveOutcome::Saved);
}

void TestEmployees::duplicateNameKeepsTheDialogOpen() {
    TestEnvironment env;
    auto db = env.newDatabase();
    addEmployee(*db, "Д'Артанян", kTechnician, true);
    TsrAddClerk d(*db, std::nullopt);
    d.show();
    child<QLineEdit>(d, "eName")->setText("Д'Артанян ");
    click(d, "btnRec");
    QCOMPARE(env.responder().texts(), QStringList{"Служител с такова име вече е въведен!"});
    QCOMPARE(env.responder().messages.first().caption, QString("Грешка"));
    QCOMPARE(env.responder().messages.first().icon, ui::MessageIcon::Error);
    QVERIFY(d.isVisible());
    QCOMPARE(child<QLineEdit>(d, "eName")->selectedText(), QString("Д'Артанян"));
    // Neither Escape nor the close box end the entry; Cancel does, without a record.
    d.close();
    QVERIFY(d.isVisible());
    click(d, "btnCancel");
    QVERIFY(!d.isVisible());
    QCOMPARE(d.result(), int(QDialog::Rejected));
    QCOMPARE(db->scalar("SELECT count(*) FROM clerks").toInt(), 2);
}

void TestEmployees::protectedEmployeeKeepsStatusKindAndRights() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TsrAddClerk d(*db, qint64(1));
    d.show();
    for (const char* name : {"cmbStatus", "cmbPrefs", "cmbWorker", "chkTree"})
        QVERIFY2(!child<QWidget>(d, name)->isEnabled(), name);
    QCOMPARE(d.treeRights(), preset(0));
    child<QLineEdit>(d, "eName")->setText("Шеф");
    click(d, "btnRec");
    QCOMPARE(d.result(), int(QDialog::Accepted));

    // Even a record that says otherwise cannot change them.
    Employee admin = *loadEmployee(*db, 1);
    QCOMPARE(admin.name, QString("Шеф"));
    admin.active = false;
    admin.level = 2;
    admin.worker = kTechnician;
    admin.rights = preset(2);
    QCOMPARE(saveEmployee(*db, admin, {}), SaveOutcome::Saved);
    const Employee stored = *loadEmployee(*db, 1);
    QVERIFY(stored.active);
    QCOMPARE(stored.level, 0);
    QCOMPARE(stored.worker, std::optional<int>(kOtherEmployee));
    QCOMPARE(stored.rights, preset(0));
}

void TestEmployees::kindRuleDisablesRatesButKeepsThem() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 id = addEmployee(*db, "Техник Тодоров", kTechnician, true, 25);
    TsrAddClerk d(*db, id);
    d.show();
    QVERIFY(child<QLineEdit>(d, "eNorm")->isEnabled());
    child<QComboBox>(d, "cmbWorker")->setCurrentIndex(kOtherEmployee);
    for (const char* name : {"eNorm", "eWarr", "eProc"})
        QVERIFY2(!child<QLineEdit>(d, name)->isEnabled(), name);
    click(d, "btnRec");
    const Employee stored = *loadEmployee(*db, id);
    QCOMPARE(stored.worker, std::optional<int>(kOtherEmployee));
    QCOMPARE(stored.rateNormal, 25.0);
    QCOMPARE(stored.rateWarranty, 25.0);
    QCOMPARE(stored.percent, 25);
}

void TestEmployees::payFieldSwallowsMinus() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TsrAddClerk d(*db, std::nullopt);
    d.show();
    auto* pay = child<QLineEdit>(d, "ePay");
    pay->clear();
    QTest::keyClicks(pay, "-800-,5");
    QCOMPARE(pay->text(), QString("800,5"));
}

void TestEmployees::shortRightsStringIsRebuiltToTheFullTree() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 id = addEmployee(*db, "Стар запис", kOtherEmployee, true);
    db->exec("UPDATE clerks SET preferences = '1x13' WHERE id = :id", {{"id", id}});
    TsrAddClerk d(*db, id);
    d.show();
    QCOMPARE(d.rightsNode(1)->checkState(0), Qt::Checked);
    QCOMPARE(d.rightsNode(2)->checkState(0), Qt::Unchecked); // not a state at all
    QCOMPARE(d.rightsNode(3)->checkState(0), Qt::Checked);
    QCOMPARE(d.rightsNode(4)->checkState(0), Qt::PartiallyChecked);
    QCOMPARE(d.rightsNode(5)->checkState(0), Qt::Unchecked);
    // Every position has its box to tick, also beyond the stored string.
    for (int position = 1; position <= store::kRightsCount; ++position)
        QVERIFY2(d.rightsNode(position)->data(0, Qt::CheckStateRole).isValid(),
                 qPrintable(QString::number(position)));
    click(d, "btnRec");
    const QString rights = loadEmployee(*db, id)->rights;
    QCOMPARE(rights.size(), store::kRightsCount);
    QCOMPARE(rights, QString("1213") + QString(39, '2'));
}

void TestEmployees::gridShowsStatusKindAndPreviewLines() {
    TestEnvironment env;
    auto db = env.newDatabase();
    addEmployee(*db, "Работещ техник", kTechnician, true);
    const qint64 left = addEmployee(*db, "Напуснал служител", kOtherEmployee, false);
    db->exec("UPDATE clerks SET Info = 'Напусна през март' WHERE id = :id", {{"id", left}});
    TsrClerks w(*db);
    w.show();
    auto* grid = child<QTreeWidget>(w, "grNames");
    QCOMPARE(grid->topLevelItemCount(), 3);
    const QStringList first = {"Administrator", "0,00", "Служител", "Работещ"};
    for (int c = 0; c < first.size(); ++c)
        QCOMPARE(grid->topLevelItem(0)->text(c), first[c]);
    QCOMPARE(rowOf(w, "Работещ техник")->text(TsrClerks::grNamesworker), QString("Техник"));
    QCOMPARE(rowOf(w, "Работещ техник")->text(TsrClerks::grNamesH1), QString("10,00"));
    QCOMPARE(rowOf(w, "Напуснал служител")->text(TsrClerks::grNamesStatus), QString("Напуснал"));
    db->exec("UPDATE clerks SET worker = NULL WHERE id = :id", {{"id", left}});
    child<QCheckBox>(w, "chkInfo")->click();
    QTreeWidgetItem* row = rowOf(w, "Напуснал служител");
    QCOMPARE(row->text(TsrClerks::grNamesworker), QString());
    QCOMPARE(row->childCount(), 1);
    QCOMPARE(row->child(0)->text(0), QString("Напусна през март"));
    QCOMPARE(rowOf(w, "Работещ техник")->childCount(), 0);
    child<QCheckBox>(w, "chkInfo")->click();
    QCOMPARE(rowOf(w, "Напуснал служител")->childCount(), 0);
    // Best fit leaves every name readable.
    grid->setColumnWidth(TsrClerks::grNamesName, 5);
    click(w, "btnBestFit");
    QVERIFY(grid->columnWidth(TsrClerks::grNamesName) >=
            grid->fontMetrics().horizontalAdvance("Напуснал служител"));
}

void TestEmployees::bulkRatesTouchOnlyWorkingTechnicians_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("question");
    const QString rates = "Разценките за труд на всички техници ще бъдат заменени!\nЖелаете ли "
                          "да продължите?";
    QTest::newRow("normal rate") << "b1"
                                 << "e1"
                                 << "pr_n"
                                 << "27,50" << 27.5 << rates;
    QTest::newRow("warranty rate") << "b2"
                                   << "e2"
                                   << "pr_w"
                                   << "14.25" << 14.25 << rates;
    QTest::newRow("percent") << "b3"
                             << "e3"
                             << "Percent"
                             << "35" << 35.0
                             << "Личните проценти на всички техници ще бъдат заменени!\nЖелаете "
                                "ли да продължите?";
}

void TestEmployees::bulkRatesTouchOnlyWorkingTechnicians() {
    QFETCH(QString, button);
    QFETCH(QString, field);
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(double, value);
    QFETCH(QString, question);
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 working = addEmployee(*db, "Работещ техник", kTechnician, true);
    const qint64 left = addEmployee(*db, "Напуснал техник", kTechnician, false);
    const qint64 office = addEmployee(*db, "Служител", kOtherEmployee, true);
    const qint64 unknown = addEmployee(*db, "Без вид", std::nullopt, true);
    auto valueOf = [&](qint64 id) {
        return db->scalar(QString("SELECT %1 FROM clerks WHERE id = :id").arg(column), {{"id", id}})
            .toDouble();
    };
    TsrClerks w(*db);
    w.show();
    click(w, "BitBtn1");
    child<QLineEdit>(w, field.toLatin1())->setText(typed);

    env.responder().answers.enqueue(false);
    click(w, button.toLatin1());
    QCOMPARE(env.responder().questions, QStringList{question});
    QCOMPARE(valueOf(working), 10.0);

    env.responder().answers.enqueue(true);
    click(w, button.toLatin1());
    QCOMPARE(valueOf(working), value);
    for (qint64 id : {left, office, unknown})
        QCOMPARE(valueOf(id), 10.0);

    // An empty field asks nothing and changes nothing.
    env.responder().questions.clear();
    child<QLineEdit>(w, field.toLatin1())->clear();
    click(w, button.toLatin1());
    QVERIFY(env.responder().questions.isEmpty());
    QCOMPARE(valueOf(working), value);
}

void TestEmployees::ratePanelBlocksTheWindow() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TsrClerks w(*db);
    w.show();
    auto* e3 = child<QLineEdit>(w, "e3");
    click(w, "BitBtn1");
    QVERIFY(child<QWidget>(w, "p1")->isVisible());
    QCOMPARE(child<QWidget>(w, "p1")->pos(), QPoint(16, 32));
    QVERIFY(!child<QWidget>(w, "pnlList")->isEnabled());
    QVERIFY(!child<QWidget>(w, "pnlButtons")->isEnabled());
    QTest::keyClicks(e3, "-4");
    QCOMPARE(e3->text(), QString("4"));
    w.close();
    QVERIFY(w.isVisible());
    click(w, "BitBtn5");
    QVERIFY(!child<QWidget>(w, "p1")->isVisible());
    QVERIFY(child<QWidget>(w, "pnlList")->isEnabled());
    click(w, "btnExit");
    QVERIFY(!w.isVisible());
}

void TestEmployees::newEmployeeFromTheWindow() {
    TestEnvironment env;
    auto db = env.newDatabase();
    addEmployee(*db, "Иван", kTechnician, true);
    TsrClerks w(*db);
    w.show();
    int attempts = 0;
    ModalAnswer<TsrAddClerk> answer([&](TsrAddClerk* d) {
        // First a name that is taken, then a free one.
        child<QLineEdit>(*d, "eName")->setText(attempts++ == 0 ? "иван" : "Стефан");
        click(*d, "btnRec");
    });
    click(w, "brnIns");
    QCOMPARE(attempts, 2);
    QCOMPARE(env.responder().texts(), QStringList{"Служител с такова име вече е въведен!"});
    QVERIFY(rowOf(w, "Стефан"));
    QCOMPARE(rowOf(w, "Стефан")->text(TsrClerks::grNamesStatus), QString("Работещ"));
    QCOMPARE(child<QTreeWidget>(w, "grNames")->currentItem(), rowOf(w, "Стефан"));
}

QTEST_MAIN(TestEmployees)
#include "test_employees.moc"

#include "app/main_window.h"
#include "shell/business_settings.h"
#include "shell/own_data.h"
#include "shell/session.h"
#include "shell/user_settings.h"
#include "store/database.h"
#include "store/rights.h"
#include "support/builders.h"
#include "support/test_environment.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

using testing::TestEnvironment;

namespace {

QString rightsOfLevel(int level) {
    return *store::rightsPresetForLevel(level);
}

// The workstation is named: unfinished sales are told apart by it.
shell::Session sessionWith(const QString& rights, const QString& name = "Иван Петров") {
    return builders::session(rights, {.nick = "ivan", .name = name, .workstation = "station-A"});
}

shell::OwnData someOwnData() {
    return {"Фирма ООД", "1234567890",  "123456789",    "София",
            "Иван",      "Сервиз Иван", "София, ул. 1", "02 111"};
}

// Runs the action with the control's name and tells whether its command ran.
bool trigger(TsrMain& window, const QString& actionName) {
    auto* action = window.findChild<QAction*>(actionName);
    if (!action)
        qFatal("no action %s", qPrintable(actionName));
    QSignalSpy ran(&window, &TsrMain::commandRan);
    action->trigger();
    return ran.count() == 1;
}

bool clickLink(TsrMain& window, const QString& link, QString* handler = nullptr) {
    QSignalSpy ran(&window, &TsrMain::commandRan);
    emit window.findChild<QLabel*>("AdvPanel1")->linkActivated(link);
    if (handler && ran.count() == 1)
        *handler = ran.at(0).at(0).toString();
    return ran.count() == 1;
}

// Acts on the next modal dialog as soon as it is shown.
void onNextModal(std::function<void(QWidget*)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(modal);
        }
    });
    timer->start();
}

// Records which windows the commands open instead of running their modal loops.
std::shared_ptr<QStringList> quiet(TestEnvironment& env) {
    auto opened = std::make_shared<QStringList>();
    env.responder().modalRunner = [opened](QDialog& dialog) {
        *opened << dialog.objectName();
        return int(QDialog::Rejected);
    };
    return opened;
}

// Rejects every modal dialog that a command opens on its own while this lives, so that a
// command can be run to its end without a user.
class RejectModals {
public:
    RejectModals() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        timer_.start();
    }

private:
    QTimer timer_;
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void captionAndUser();
    void presetsGovernTheCommands_data();
    void presetsGovernTheCommands();
    void cashBookLinkIsForEveryoneTheMenuNeedsItsRight();
    void panelLinksMatchOnlyExactly_data();
    void panelLinksMatchOnlyExactly();
    void openCounterSaleBlocksTheWarehouseAndOrderCommands_data();
    void openCounterSaleBlocksTheWarehouseAndOrderCommands();
    void counterSaleWaitsForTheSalaryWindows();
    void everyCommandIsPresent();
    void emptyRegistersAreReported_data();
    void emptyRegistersAreReported();
    void deliveryWithoutSuppliersOffersThem();
    void closingAsksUnlessTheStartFailed();
    void maintenancePanelOpensOnlyWithTheCode();
    void firstShowingDemandsOwnDataAndMarksTheFirstStart();
    void firstShowingReportsAnUnfinishedSaleOfThisWorkstation();
    void aboutBoxShowsTheVersion();
    void missingPresentationSaysWhereItWasLookedFor();
    void employeesRegisterRefreshesTheUsersName();
    void rateRegisterOpensFromTheMenu();
    void ownWarehouseCommandsWaitForIt_data();
    void ownWarehouseCommandsWaitForIt();
    void settingsSwitchTheDatabaseWithoutANewLogin();
};

void TestMainWindow::captionAndUser() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = sessionWith(rightsOfLevel(2));
    TsrMain window(*db, session);
    QCOMPARE(window.windowTitle(), QString("Управление на автосервиз - версия 1.00"));
    QCOMPARE(window.userStatusText(), QString("Потребител: Иван Петров"));
    QVERIFY(window.findChild<QStatusBar*>("StatusBar1"));
}

void TestMainWindow::presetsGovernTheCommands_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("runs");
    QTest::newRow("L1 order report (20)") << 1 << "bOt" << true;
    QTest::newRow("L1 salaries (42)") << 1 << "mnPayment" << false;
    QTest::newRow("L1 order payment (21)") << 1 << "bPay" << true;
    QTest::newRow("L2 counter sale (14)") << 2 << "btSaleParts" << true;
    QTest::newRow("L2 new order (17)") << 2 << "btPor" << true;
    QTest::newRow("L2 order payment (21)") << 2 << "bPay" << false;
    QTest::newRow("L2 order report (20)") << 2 << "bOt" << false;
    QTest::newRow("L2 own data (10)") << 2 << "mnMyInfo" << false;
    QTest::newRow("L0 salaries (42)") << 0 << "mnPayment" << true;
    QTest::newRow("L2 order register (none)") << 2 << "mnPor" << true;
}

void TestMainWindow::presetsGovernTheCommands() {
    QFETCH(int, level);
    QFETCH(QString, action);
    QFETCH(bool, runs);
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = sessionWith(rightsOfLevel(level));
    TsrMain window(*db, session);
    quiet(env);
    RejectModals closer;
    QCOMPARE(trigger(window, action), runs);
    // A refused command says nothing.
    QVERIFY(env.responder().messages.isEmpty());
}

void TestMainWindow::cashBookLinkIsForEveryoneTheMenuNeedsItsRight() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session level2 = sessionWith(rightsOfLevel(2));
    TsrMain window(*db, level2);
    QString handler;
    QVERIFY(clickLink(window, "kasa", &handler));
    QCOMPARE(handler, QString("bKasaClick"));
    QVERIFY(!trigger(window, "mnKasa"));

    shell::Session level1 = sessionWith(rightsOfLevel(1));
    TsrMain other(*db, level1);
    QVERIFY(trigger(other, "mnKasa"));
    QVERIFY(clickLink(other, "kasa"));
}

void TestMainWindow::panelLinksMatchOnlyExactly_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("handler"); // empty: nothing runs
    const std::pair<const char*, const char*> links[] = {
        {"dost", "btInpPartsClick"}, {"sale", "btSalePartsClick"}, {"saleCl", "mnPackSalesClick"},
        {"nal", "mnPartsClick"},     {"new_por", "btPorClick"},    {"ot_por", "bOtClick"},
        {"pay_por", "bPayClick"},    {"parts_por", "bPPorClick"},  {"spr_por", "mnPorClick"},
        {"gtp", "bGtpClick"},        {"shorts", "bUslClick"},      {"home", "bAdrClick"},
        {"razh", "btRazhClick"},     {"prih", "bPrihClick"},       {"kasa", "bKasaClick"},
    };
    for (const auto& [link, handler] : links)
        QTest::newRow(link) << QString(link) << QString(handler);
    QTest::newRow("Dost") << "Dost"
                          << "";
    QTest::newRow("KASA") << "KASA"
                          << "";
    QTest::newRow("trailing blank") << "kasa "
                                    << "";
    QTest::newRow("handler name") << "bKasaClick"
                                  << "";
}

void TestMainWindow::panelLinksMatchOnlyExactly() {
    QFETCH(QString, link);
    QFETCH(QString, handler);
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::supplier(*db, "Доставчик"); // the delivery asks nothing
    shell::Session session = sessionWith(rightsOfLevel(0));
    TsrMain window(*db, session);
    quiet(env);
    RejectModals closer;
    QString ran;
    QCOMPARE(clickLink(window, link, &ran), !handler.isEmpty());
    QCOMPARE(ran, handler);
}

void TestMainWindow::openCounterSaleBlocksTheWarehouseAndOrderCommands_data() {
    QTest::addColumn<QString>("handler");
    QTest::addColumn<bool>("blocked");
    for (const char* h : {"mnPartsClick", "btPartsClick", "btInpPartsClick", "mnPorClick",
                          "bOtClick", "bPayClick", "bPPorClick"})
        QTest::newRow(h) << QString(h) << true;
    QTest::newRow("new order") << "btPorClick" << false;
    QTest::newRow("cash book") << "bKasaClick" << false;
}

void TestMainWindow::openCounterSaleBlocksTheWarehouseAndOrderCommands() {
    QFETCH(QString, handler);
    QFETCH(bool, blocked);
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::supplier(*db, "Доставчик");
    shell::Session session = sessionWith(rightsOfLevel(0));
    TsrMain window(*db, session);
    quiet(env);
    RejectModals closer;
    QVERIFY(window.runCommand(handler));
    session.setSaleVisible(true);
    QCOMPARE(window.runCommand(handler), !blocked);
    session.setSaleVisible(false);
    QVERIFY(window.runCommand(handler));
}

void TestMainWindow::counterSaleWaitsForTheSalaryWindows() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = sessionWith(rightsOfLevel(2));
    TsrMain window(*db, session);
    QVERIFY(trigger(window, "Sale_F2"));
    window.setMenuEnabled("mnZapl", false);
    QVERIFY(!window.findChild<QMenu*>("mnZapl")->menuAction()->isEnabled());
    QVERIFY(!trigger(window, "Sale_F2"));
    QVERIFY(!trigger(window, "btSaleParts"));
    window.setMenuEnabled("mnZapl", true);
    QVERIFY(trigger(window, "btSaleParts"));
}

void TestMainWindow::everyCommandIsPresent() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = sessionWith(rightsOfLevel(0));
    TsrMain window(*db, session);
    const QStringList actions = {
        "btInpParts", "mnParts",    "btParts",   "btSaleParts", "Sale_F2",     "mnPackSales",
        "btPor",      "mnPor",      "bOt",       "bPay",        "bPPor",       "bUsl",
        "mnShorts",   "TBItem6",    "TBItem13",  "bGtp",        "mnSprGtp",    "bAdr",
        "TBItem16",   "mnOtchWarr", "TBItem5",   "TBItem11",    "TBItem14",    "btRazh",
        "bPrih",      "mnKasa",     "mnPech",    "TBItem20",    "N8",          "mnClientsDebt",
        "mnDost",     "mnSales",    "TBItem18",  "TBItem19",    "mnCorespond", "mnDostav",
        "TBItem7",    "mnCars",     "TBItem17",  "TBItem12",    "mnFact",      "mnNoFact",
        "mnSprFact",  "mnClerks",   "mnPayment", "mnSprPay",    "mnAvans",     "mnGloba",
        "mnNagrada",  "mnTools",    "mnSndHand", "mnMyInfo",    "mnPrefs",     "mnVal",
        "N6",         "mnRestore",  "N11",       "N13",         "TBItem4",     "mnExit",
        "Action1"};
    for (const QString& name : actions) {
        auto* action = window.findChild<QAction*>(name);
        QVERIFY2(action, qPrintable(name));
        QVERIFY2(!action->text().isEmpty() || !action->shortcut().isEmpty(), qPrintable(name));
    }
    for (const char* menu : {"mnSpr", "mnArchiv", "mnZapl"})
        QVERIFY2(window.findChild<QMenu*>(menu), menu);
}

void TestMainWindow::missingPresentationSaysWhereItWasLookedFor() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = sessionWith(rightsOfLevel(2));
    TsrMain window(*db, session);
    const QString folder = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    QVERIFY(!QFileInfo::exists(QCoreApplication::applicationDirPath() + "/presentation.doc"));
    QVERIFY(trigger(window, "TBItem4"));
    QCOMPARE(env.responder().messages.size(), 1);
    const QString text = env.responder().messages.at(0).text;
    QVERIFY2(text.contains("presentation.doc") && text.contains(folder), qPrintable(text));
}

void TestMainWindow::emptyRegistersAreReported_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("fill"); // the register to fill
    QTest::addColumn<QString>("message");
    QTest::newRow("supplier accounts") << "N8"
                                       << "suppliers"
                                       << "Няма въведени доставчици";
    QTest::newRow("client accounts") << "mnClientsDebt"
                                     << "clients"
                                     << "Няма въведени фирми-клиенти";
    QTest::newRow("unbilled payments") << "mnNoFact"
                                       << "clients"
                                       << "Няма въведени клиенти!";
}

void TestMainWindow::emptyRegistersAreReported() {
    QFETCH(QString, action);
    QFETCH(QString, fill);
    QFETCH(QString, message);
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = sessionWith(rightsOfLevel(0));
    TsrMain window(*db, session);
    QVERIFY(trigger(window, action));
    QCOMPARE(env.responder().texts(), QStringList{message});
    QCOMPARE(env.responder().messages.at(0).caption, QString("Съобщение"));
    QCOMPARE(env.responder().messages.at(0).icon, ui::MessageIcon::Warning);
    env.responder().clear();
    if (fill == "suppliers")
        builders::supplier(*db, "Д");
    else
        builders::client(*db, {.name = "Ф"});
    QVERIFY(trigger(window, action));
    QVERIFY(env.responder().messages.isEmpty());
}

void TestMainWindow::deliveryWithoutSuppliersOffersThem() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = sessionWith(rightsOfLevel(0));
    TsrMain window(*db, session);
    const auto opened = quiet(env);
    QSignalSpy ran(&window, &TsrMain::commandRan);
    QVERIFY(window.runCommand("btInpPartsClick"));
    QCOMPARE(env.responder().questions,
             QStringList{"Няма въведени доставчици. Желаете ли да въведете доставчици?"});
    QCOMPARE(ran.count(), 1); // No: the suppliers register is not opened

    // Yes opens the suppliers register itself (not through its command) and asks again while
    // there are still none.
    env.responder().clear();
    env.responder().answers << true << false;
    window.runCommand("btInpPartsClick");
    QCOMPARE(env.responder().questions.size(), 2);
    QCOMPARE(ran.count(), 2);
    QCOMPARE(ran.at(1).at(0).toString(), QString("btInpPartsClick"));
    QCOMPARE(*opened, QStringList{"TsrDost"});
}

void TestMainWindow::closingAsksUnlessTheStartFailed() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::saveOwnData(*db, someOwnData());
    QSettings("Brenvik", "Motrela").setValue("FirstStart", QDate::currentDate());
    shell::Session session = sessionWith(rightsOfLevel(2));
    TsrMain window(*db, session);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();

    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    QCOMPARE(env.responder().questions, QStringList{"Желаете ли да излезете от програмата?"});
    env.responder().answers << true;
    QVERIFY(trigger(window, "mnExit"));
    QVERIFY(!window.isVisible());

    env.responder().clear();
    window.show();
    window.setExitWithoutAsking(true);
    QVERIFY(window.close());
    QVERIFY(env.responder().questions.isEmpty());
}

void TestMainWindow::maintenancePanelOpensOnlyWithTheCode() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::order(*db, {.id = 1, .engine = "K9K"});
    shell::Session session = sessionWith(rightsOfLevel(2));
    TsrMain window(*db, session);
    window.show();
    QWidget* panel = window.findChild<QWidget*>("pHidden");
    QVERIFY(panel && !panel->isVisible());

    env.responder().inputs << QString("640372057") << std::nullopt << QString("640372058");
    QVERIFY(trigger(window, "Action1"));
    QVERIFY(!panel->isVisible());
    trigger(window, "Action1");
    QVERIFY(!panel->isVisible());
    trigger(window, "Action1");
    QVERIFY(panel->isVisible());
    QVERIFY(window.findChild<QLabel*>("lbState")->text().contains(rightsOfLevel(2)));

    // Clearing the engine numbers asks first; No keeps them.
    QTest::mouseClick(panel->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(env.responder().questions.size(), 1);
    QCOMPARE(db->scalar("SELECT warName FROM porychka").toString(), QString("K9K"));
    env.responder().answers << true;
    QTest::mouseClick(panel->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(db->scalar("SELECT warName FROM porychka").toString(), QString());

    // The settings defaults fill in only what is missing, and the stored table is shown.
    session.settings().setNum(*db, "Taksa", 7.5);
    env.responder().clear();
    QTest::mouseClick(panel->findChild<QPushButton*>("btnDefaults"), Qt::LeftButton);
    QCOMPARE(env.responder().texts(), QStringList{"Добавени стойности по подразбиране: 4."});
    const shell::BusinessSettings stored = shell::BusinessSettings::load(*db);
    QCOMPARE(stored.serviceFee(), 7.5);
    QVERIFY(stored.has("Currency") && stored.has("FirstTimeYear"));
    QCOMPARE(window.findChild<QPlainTextEdit*>("MemoTables")->toPlainText(),
             session.settings().toText());
    QVERIFY(window.findChild<QPlainTextEdit*>("MemoTables")->toPlainText().contains("Taksa"));
    env.responder().clear();
    QTest::mouseClick(panel->findChild<QPushButton*>("btnDefaults"), Qt::LeftButton);
    QCOMPARE(env.responder().texts(), QStringList{"Всички стойности по подразбиране са налице."});

    trigger(window, "Action1"); // hides without asking
    QVERIFY(!panel->isVisible());
    QVERIFY(env.responder().inputs.isEmpty());
    window.setExitWithoutAsking(true);
}

void TestMainWindow::firstShowingDemandsOwnDataAndMarksTheFirstStart() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = sessionWith(rightsOfLevel(0));
    TsrMain window(*db, session);
    const auto opened = quiet(env);
    QSignalSpy ran(&window, &TsrMain::commandRan);
    bool cancelWasDisabled = false;
    bool stayedOpen = false;
    onNextModal([&](QWidget* dialog) {
        QCOMPARE(dialog->objectName(), QString("TfrmMyInfo"));
        cancelWasDisabled = !dialog->findChild<QPushButton*>("btnCancel")->isEnabled();
        dialog->close();
        stayedOpen = dialog->isVisible();
        const shell::OwnData d = someOwnData();
        const QStringList values = {d.name,           d.taxNumber,      d.bulstat,
                                    d.address,        d.representative, d.serviceName,
                                    d.serviceAddress, d.servicePhones};
        const char* names[] = {"eName", "eNDR",      "eBul",       "eAdres",
                               "eMol",  "eServName", "eServAdres", "eServPhones"};
        for (int i = 0; i < 8; ++i)
            dialog->findChild<QLineEdit*>(names[i])->setText(values[i]);
        dialog->findChild<QPushButton*>("btnRec")->click();
    });
    window.firstShowing();
    QVERIFY(cancelWasDisabled);
    QVERIFY(stayedOpen);
    QVERIFY(shell::hasOwnData(*db));
    QVERIFY(window.findChild<QLabel*>("lbIdentity")->text().contains("Сервиз Иван"));
    // The settings are opened once at the user's first start, and the date is kept.
    QCOMPARE(ran.count(), 1);
    QCOMPARE(ran.at(0).at(0).toString(), QString("mnPrefsClick"));
    QCOMPARE(*opened, QStringList{"TsrNastr"});
    QCOMPARE(QSettings("Brenvik", "Motrela").value("FirstStart").toDate(), QDate::currentDate());
    QVERIFY(env.responder().messages.isEmpty());

    // The next start asks for neither.
    TsrMain next(*db, session);
    QSignalSpy nextRan(&next, &TsrMain::commandRan);
    next.firstShowing();
    QCOMPARE(nextRan.count(), 0);
}

void TestMainWindow::firstShowingReportsAnUnfinishedSaleOfThisWorkstation() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::saveOwnData(*db, someOwnData());
    QSettings("Brenvik", "Motrela").setValue("FirstStart", QDate::currentDate());
    db->exec("INSERT INTO tmpSales (station, idPart, amnt) VALUES ('station-B', 1, 1)");
    shell::Session session = sessionWith(rightsOfLevel(2));
    {
        TsrMain window(*db, session);
        window.firstShowing();
        QVERIFY(env.responder().messages.isEmpty()); // another workstation's sale
    }
    db->exec("INSERT INTO tmpSales (station, idPart, amnt) VALUES ('station-A', 1, 1)");
    TsrMain window(*db, session);
    window.firstShowing();
    QCOMPARE(env.responder().texts(), QStringList{"Има незавършена продажба към клиент!"});
    QCOMPARE(env.responder().messages.at(0).caption, QString("Съобщение"));
    QCOMPARE(env.responder().messages.at(0).icon, ui::MessageIcon::Exclamation);
}

void TestMainWindow::aboutBoxShowsTheVersion() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = sessionWith(rightsOfLevel(2));
    TsrMain window(*db, session);
    QString shown;
    bool closeVisible = false;
    onNextModal([&](QWidget* about) {
        shown = about->findChild<QLabel*>("lbVersion")->text();
        auto* close = about->findChild<QPushButton*>("btnClose");
        closeVisible = close->isVisible();
        close->click();
    });
    QVERIFY(trigger(window, "N13"));
    QCOMPARE(shown, QString("вeрсия 1.00"));
    QVERIFY(closeVisible);
}

void TestMainWindow::employeesRegisterRefreshesTheUsersName() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = builders::session(rightsOfLevel(0));
    TsrMain window(*db, session);
    const auto opened = quiet(env);
    QCOMPARE(window.userStatusText(), QString("Потребител: Administrator"));
    db->exec("UPDATE clerks SET Name = 'Главен администратор' WHERE id = 1");
    QVERIFY(trigger(window, "mnClerks"));
    QCOMPARE(*opened, QStringList{"TsrClerks"});
    QCOMPARE(window.userStatusText(), QString("Потребител: Главен администратор"));
    QCOMPARE(session.userName(), QString("Главен администратор"));
}

void TestMainWindow::rateRegisterOpensFromTheMenu() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = sessionWith(rightsOfLevel(2));
    TsrMain window(*db, session);
    QString opened;
    onNextModal([&](QWidget* dialog) {
        opened = dialog->objectName();
        dialog->close();
    });
    QVERIFY(trigger(window, "mnVal"));
    QCOMPARE(opened, QString("TsrCourse"));
}

void TestMainWindow::ownWarehouseCommandsWaitForIt_data() {
    QTest::addColumn<int>("store");
    QTest::addColumn<bool>("listStored");
    QTest::addColumn<bool>("runs");
    QTest::newRow("own warehouse") << 0 << false << true;
    QTest::newRow("external warehouses") << 2 << true << false;
    QTest::newRow("external without a list") << 2 << false << true;
}

void TestMainWindow::ownWarehouseCommandsWaitForIt() {
    QFETCH(int, store);
    QFETCH(bool, listStored);
    QFETCH(bool, runs);
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::supplier(*db, "Доставчик");
    shell::BusinessSettings settings = shell::BusinessSettings::load(*db);
    settings.setInt(*db, "Store", store);
    if (listStored)
        shell::saveExternalDatabases(*db, {env.path("warehouse.mdb")});
    shell::Session session({1, "ivan", "Иван", rightsOfLevel(0)}, "ws", settings);
    TsrMain window(*db, session);
    quiet(env);
    RejectModals closer;
    for (const char* handler : {"btInpPartsClick", "btSalePartsClick", "mnPackSalesClick"})
        QVERIFY2(window.runCommand(handler) == runs, handler);
    QVERIFY(window.runCommand("mnPorClick")); // the orders do not depend on it
}

void TestMainWindow::settingsSwitchTheDatabaseWithoutANewLogin() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::saveOwnData(*db, someOwnData());
    QDir().mkpath(env.path("other"));
    const QString otherPath = env.path("other/Drumvel.mdz");
    {
        auto other = env.newDatabase("other/Drumvel.mdz");
        shell::saveOwnData(*other, someOwnData());
        builders::client(*other, {.name = "Само в другата база"});
        shell::BusinessSettings otherSettings = shell::BusinessSettings::load(*other);
        otherSettings.setInt(*other, "Currency", 1);
    }
    shell::userSettings().setValue("BaseFile", db->filePath());
    shell::Session session = builders::session(*db, rightsOfLevel(0));
    TsrMain window(*db, session);
    QVERIFY(!window.findChild<QAction*>("mnVal")->isVisible());
    env.responder().modalRunner = [&](QDialog& dialog) {
        if (dialog.objectName() == "TsrNastr") {
            env.responder().fileNames.enqueue(otherPath);
            dialog.findChild<QPushButton*>("eDatabaseButton")->click();
        }
        return int(QDialog::Accepted);
    };
    QVERIFY(window.runCommand("mnPrefsClick"));

    // The one connection every window holds now works on the other file, with its settings.
    QCOMPARE(QFileInfo(db->filePath()).canonicalFilePath(),
             QFileInfo(otherPath).canonicalFilePath());
    QCOMPARE(db->scalar("SELECT count(*) FROM firms").toInt(), 1);
    QVERIFY(session.settings().foreignCurrencies());
    QVERIFY(window.findChild<QAction*>("mnVal")->isVisible());
    QVERIFY(window.findChild<QLabel*>("pnlDatabase")->text().endsWith("Drumvel.mdz"));
    QCOMPARE(window.userStatusText(), QString("Потребител: Administrator"));
    QVERIFY(env.responder().messages.isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"

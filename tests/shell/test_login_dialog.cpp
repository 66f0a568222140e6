#include "shell/help_window.h"
#include "shell/login_dialog.h"
#include "store/database.h"
#include "support/builders.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTextBrowser>

using testing::TestEnvironment;

namespace {

QLineEdit* edit(QWidget& w, const char* name) {
    auto* e = w.findChild<QLineEdit*>(name);
    if (!e)
        qFatal("no edit %s", name);
    return e;
}

void click(QWidget& w, const char* name) {
    auto* b = w.findChild<QPushButton*>(name);
    if (!b)
        qFatal("no button %s", name);
    QTest::mouseClick(b, Qt::LeftButton);
}

void typeLogin(TsrPass& dialog, const QString& nick, const QString& password) {
    edit(dialog, "ePotr")->setText(nick);
    edit(dialog, "ePass")->setText(password);
    click(dialog, "BitBtn1");
}

} // namespace

class TestLoginDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstLoginProposesAdministratorAndExplainsOnce();
    void twoFailuresThenSuccess();
    void thirdFailureEndsTheDialog();
    void emptyFieldsOnlyMoveTheFocus();
    void inactiveEmployeeIsRefused();
};

void TestLoginDialog::firstLoginProposesAdministratorAndExplainsOnce() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::employee(*db, {.name = "Иван Петров", .nick = "ivan", .password = "pw"});
    {
        TsrPass dialog(*db);
        dialog.show();
        QCOMPARE(edit(dialog, "ePotr")->text(), QString("Administrator"));
        QCOMPARE(QSettings("Brenvik", "Motrela").value("user").toString(),
                 QString("Administrator"));
        auto* help = dialog.findChild<shell::HelpWindow*>();
        QVERIFY(help);
        QCOMPARE(help->topic(), QString("ИмеПарола"));
        QVERIFY(
            help->findChild<QTextBrowser*>("helpText")->toPlainText().contains("Administrator"));
        typeLogin(dialog, "ivan", "pw");
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }
    // The next start proposes the last login and opens no help.
    TsrPass again(*db);
    again.show();
    QCOMPARE(edit(again, "ePotr")->text(), QString("ivan"));
    QVERIFY(!again.findChild<shell::HelpWindow*>());
    QVERIFY(edit(again, "ePass")->text().isEmpty());
}

void TestLoginDialog::twoFailuresThenSuccess() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::employee(*db, {.name = "Иван Петров", .nick = "ivan", .password = "pw"});
    QSettings("Brenvik", "Motrela").setValue("user", "someone");
    TsrPass dialog(*db);
    dialog.show();
    QApplication::setActiveWindow(&dialog);

    typeLogin(dialog, "ivan", "PW");
    QCOMPARE(env.responder().texts(), QStringList{"Грешно име и/или парола. Опитайте пак"});
    QCOMPARE(env.responder().messages.at(0).caption, QString("Грешка"));
    QCOMPARE(env.responder().messages.at(0).icon, ui::MessageIcon::Error);
    QVERIFY(edit(dialog, "ePass")->text().isEmpty());
    QCOMPARE(edit(dialog, "ePotr")->selectedText(), QString("ivan"));
    QVERIFY(dialog.isVisible());

    typeLogin(dialog, "Ivan", "pw");
    QCOMPARE(env.responder().messages.size(), 2);
    QVERIFY(dialog.isVisible());

    typeLogin(dialog, " ivan ", " pw ");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(env.responder().messages.size(), 2);
    QVERIFY(dialog.loggedIn());
    QCOMPARE(dialog.loggedIn()->name, QString("Иван Петров"));
    QCOMPARE(edit(dialog, "ePotr")->text(), QString("ivan")); // trimmed in place
    QCOMPARE(QSettings("Brenvik", "Motrela").value("user").toString(), QString("ivan"));
}

void TestLoginDialog::thirdFailureEndsTheDialog() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::employee(*db, {.name = "Иван Петров", .nick = "ivan", .password = "pw"});
    TsrPass dialog(*db);
    dialog.show();
    for (int i = 0; i < 3; ++i)
        typeLogin(dialog, "ivan", "wrong");
    QCOMPARE(env.responder().texts(),
             QStringList({"Грешно име и/или парола. Опитайте пак",
                          "Грешно име и/или парола. Опитайте пак", "Сгрешихте 3 пъти. Довиждане"}));
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QVERIFY(!dialog.loggedIn());
    // A failed run leaves the proposed name as it was.
    QCOMPARE(QSettings("Brenvik", "Motrela").value("user").toString(), QString("Administrator"));
}

void TestLoginDialog::emptyFieldsOnlyMoveTheFocus() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::employee(*db, {.name = "Иван Петров", .nick = "ivan", .password = "pw"});
    TsrPass dialog(*db);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    typeLogin(dialog, "ivan", "   ");
    QCOMPARE(QApplication::focusWidget(), edit(dialog, "ePass"));
    typeLogin(dialog, "  ", "pw");
    QCOMPARE(QApplication::focusWidget(), edit(dialog, "ePotr"));
    QVERIFY(env.responder().messages.isEmpty());
    // Neither counted: three real failures are still needed to end the dialog.
    typeLogin(dialog, "ivan", "x");
    typeLogin(dialog, "ivan", "x");
    QVERIFY(dialog.isVisible());
    typeLogin(dialog, "ivan", "pw");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void TestLoginDialog::inactiveEmployeeIsRefused() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::employee(*db,
                       {.name = "Напуснал", .active = false, .nick = "gone", .password = "pw"});
    TsrPass dialog(*db);
    dialog.show();
    typeLogin(dialog, "gone", "pw");
    QCOMPARE(env.responder().texts(), QStringList{"Грешно име и/или парола. Опитайте пак"});
    QVERIFY(dialog.isVisible());
    click(dialog, "BitBtn2");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.loggedIn());
}

QTEST_MAIN(TestLoginDialog)
#include "test_login_dialog.moc"

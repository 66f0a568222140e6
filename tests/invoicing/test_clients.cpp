#include "invoicing/client_firms.h"
#include "invoicing/clients_window.h"
#include "invoicing/firm_chooser_dialog.h"
#include "support/builders.h"
#include "support/test_environment.h"
#include "support/widget_access.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace invoicing;
using testing::child;
using testing::click;
using testing::TestEnvironment;

class TestClients : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void numbersAreChecked_data();
    void numbersAreChecked();
    void savedFirmIsTrimmedAndOfferedForOrders();
    void duplicateNameIsRefusedAndPanelStays();
    void onlyDigitsGetIntoTheNumberFields();
    void firmWithLedgerRecordsIsNotDeleted();
    void firmWithoutRecordsIsDeletedAfterAsking();
    void unknownNameFromAnOrderStartsANewFirm();
    void chooserReturnsTheSelectedFirm();
};

void TestClients::numbersAreChecked_data() {
    QTest::addColumn<QString>("dn");
    QTest::addColumn<QString>("bstat");
    QTest::addColumn<QString>("message");
    QTest::newRow("both empty") << ""
                                << ""
                                << "";
    QTest::newRow("tax number of 10") << "1234567890"
                                      << ""
                                      << "";
    QTest::newRow("tax number of 9") << "123456789"
                                     << ""
                                     << "Данъчният номер трябва да е с дължина 10 символа";
    QTest::newRow("bulstat of 9") << ""
                                  << "123456789"
                                  << "";
    QTest::newRow("bulstat of 13") << ""
                                   << "1234567890123"
                                   << "";
    QTest::newRow("bulstat of 10") << ""
                                   << "1234567890"
                                   << "БУЛСТАТ трябва да е с дължина 9 или 13 символа";
}

void TestClients::numbersAreChecked() {
    QFETCH(QString, dn);
    QFETCH(QString, bstat);
    QFETCH(QString, message);
    TestEnvironment env;
    auto db = env.newDatabase();
    TsmPeoples w(*db);
    click(w, "btnNew");
    child<QLineEdit>(w, "eName")->setText("Авто ООД");
    child<QLineEdit>(w, "eDN")->setText(dn);
    child<QLineEdit>(w, "eBStat")->setText(bstat);
    click(w, "btnRec");
    if (message.isEmpty()) {
        QVERIFY(env.responder().messages.isEmpty());
        QVERIFY(!w.isEditing());
        QCOMPARE(db->scalar("SELECT count(*) FROM firms").toInt(), 1);
    } else {
        QCOMPARE(env.responder().texts(), QStringList{message});
        QCOMPARE(env.responder().messages.first().caption, QString("Внимание"));
        QVERIFY(w.isEditing());
        QCOMPARE(db->scalar("SELECT count(*) FROM firms").toInt(), 0);
    }
}

void TestClients::savedFirmIsTrimmedAndOfferedForOrders() {
    TestEnvironment env;
    auto db = env.newDatabase();
    db->exec("INSERT INTO clients (Name) VALUES ('Д''Артанян ООД')");
    TsmPeoples w(*db);
    click(w, "btnNew");
    child<QLineEdit>(w, "eName")->setText("  Д'Артанян ООД ");
    child<QLineEdit>(w, "eAdres")->setText(" София, ул. Витоша 1 ");
    child<QLineEdit>(w, "eMOL")->setText(" Иван Петров");
    child<QLineEdit>(w, "ePhone")->setText(" 0888 ");
    click(w, "btnRec");
    QVERIFY(env.responder().messages.isEmpty());
    const auto firm = findFirmByName(*db, "Д'Артанян ООД");
    QVERIFY(firm);
    QCOMPARE(firm->adres, QString("София, ул. Витоша 1"));
    QCOMPARE(firm->mol, QString("Иван Петров"));
    QCOMPARE(firm->phones, QString(" 0888 ")); // only name, address and representative trimmed
    QCOMPARE(db->scalar("SELECT count(*) FROM clients").toInt(), 1); // already offered
    QCOMPARE(w.currentFirmId(), std::optional<qint64>(firm->id));

    // Editing keeps the firm's own name and offers a new one.
    click(w, "btnEdit");
    child<QLineEdit>(w, "eName")->setText("Портос ЕООД");
    click(w, "btnRec");
    QCOMPARE(db->scalar("SELECT Name FROM firms").toString(), QString("Портос ЕООД"));
    QCOMPARE(db->scalar("SELECT count(*) FROM clients").toInt(), 2);
}

void TestClients::duplicateNameIsRefusedAndPanelStays() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::client(*db, {.name = "Авто ООД"});
    TsmPeoples w(*db);
    click(w, "btnNew");
    child<QLineEdit>(w, "eName")->setText("Авто ООД ");
    click(w, "btnRec");
    QCOMPARE(env.responder().texts(), QStringList{"Вече е въведено такова име!"});
    QVERIFY(w.isEditing());
    QCOMPARE(db->scalar("SELECT count(*) FROM firms").toInt(), 1);
    // An empty name is refused too, before the database sees it.
    env.responder().clear();
    child<QLineEdit>(w, "eName")->setText("   ");
    click(w, "btnRec");
    QCOMPARE(env.responder().texts(), QStringList{"Въведете име на клиента!"});
    click(w, "BtnCancel");
    QVERIFY(!w.isEditing());
}

void TestClients::onlyDigitsGetIntoTheNumberFields() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TsmPeoples w(*db);
    click(w, "btnNew");
    for (const char* name : {"eDN", "eBStat"}) {
        auto* edit = child<QLineEdit>(w, name);
        QTest::keyClicks(edit, "12ab3-x4");
        QCOMPARE(edit->text(), QString("1234"));
    }
}

void TestClients::firmWithLedgerRecordsIsNotDeleted() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 id = builders::client(*db, {.name = "Длъжник ООД"});
    db->exec("INSERT INTO payClient (idName, Suma, idVal) VALUES (:id, 10, 1)", {{"id", id}});
    TsmPeoples w(*db);
    click(w, "btnDel");
    QCOMPARE(env.responder().messages.size(), 1);
    QCOMPARE(env.responder().messages.first().caption, QString(" Изтриване"));
    QCOMPARE(env.responder().messages.first().text,
             QString("Не можете да изтриете този клиент,\nзащото има данни за него в справките!"));
    QVERIFY(env.responder().questions.isEmpty());
    QCOMPARE(db->scalar("SELECT count(*) FROM firms").toInt(), 1);
}

void TestClients::firmWithoutRecordsIsDeletedAfterAsking() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::client(*db, {.name = "Първа"});
    TsmPeoples w(*db);
    env.responder().answers << false;
    click(w, "btnDel");
    QCOMPARE(env.responder().questions,
             QStringList{"Наистина ли желаете да изтриете избрания клиент?"});
    QCOMPARE(db->scalar("SELECT count(*) FROM firms").toInt(), 1);
    env.responder().answers << true;
    click(w, "btnDel");
    QCOMPARE(db->scalar("SELECT count(*) FROM firms").toInt(), 0);
    QVERIFY(!child<QPushButton>(w, "btnEdit")->isEnabled());
}

void TestClients::unknownNameFromAnOrderStartsANewFirm() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::client(*db, {.name = "Алфа"});
    const qint64 beta = builders::client(*db, {.name = "Бета"});
    TsmPeoples known(*db);
    known.openWithClientName("Бета");
    QVERIFY(!known.isEditing());
    QCOMPARE(known.currentFirmId(), std::optional<qint64>(beta));

    TsmPeoples w(*db);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.activateWindow();
    w.openWithClientName("  Гама ЕТ ");
    QVERIFY(w.isEditing());
    QCOMPARE(child<QLineEdit>(w, "eName")->text(), QString("Гама ЕТ"));
    QTRY_COMPARE(QApplication::focusWidget(), child<QLineEdit>(w, "eDN"));
    // The register cannot be closed while the firm is pending.
    QMetaObject::invokeMethod(&w, "reject");
    QVERIFY(w.isVisible());
    click(w, "BtnCancel");
}

void TestClients::chooserReturnsTheSelectedFirm() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::client(*db, {.name = "Алфа"});
    const qint64 beta = builders::client(*db, {.name = "Бета"});
    TfrmIzbFirm chooser(*db);
    chooser.preselect("Бета");
    chooser.preselect("Няма такава"); // an unknown name keeps the selection
    QCOMPARE(child<QComboBox>(chooser, "listFirms")->currentText(), QString("Бета"));
    click(chooser, "BitBtn1");
    QCOMPARE(chooser.result(), int(QDialog::Accepted));
    QCOMPARE(chooser.chosenFirm()->id, beta);

    TfrmIzbFirm cancelled(*db);
    click(cancelled, "BitBtn2");
    QCOMPARE(cancelled.result(), int(QDialog::Rejected));
}

QTEST_MAIN(TestClients)
#include "test_clients.moc"

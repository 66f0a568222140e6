#include "shell/own_data.h"
#include "shell/own_data_dialog.h"
#include "store/database.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using shell::OwnData;
using shell::OwnDataField;
using testing::TestEnvironment;

Q_DECLARE_METATYPE(shell::OwnDataField)

namespace {

OwnData validData() {
    return {"Автосервиз Иванов ЕООД",   "1234567890",  "123456789",
            "гр. София, ул. \"Цар\" 1", "Иван Иванов", "Сервиз 'Иванов'",
            "гр. София, кв. Лозенец",   "02 123 456"};
}

QString& fieldOf(OwnData& d, OwnDataField field) {
    switch (field) {
    case OwnDataField::Name:
        return d.name;
    case OwnDataField::TaxNumber:
        return d.taxNumber;
    case OwnDataField::Bulstat:
        return d.bulstat;
    case OwnDataField::Address:
        return d.address;
    case OwnDataField::Representative:
        return d.representative;
    case OwnDataField::ServiceName:
        return d.serviceName;
    case OwnDataField::ServiceAddress:
        return d.serviceAddress;
    case OwnDataField::ServicePhones:
        return d.servicePhones;
    }
    return d.name;
}

const char* editName(OwnDataField field) {
    constexpr const char* names[] = {"eName", "eNDR",      "eBul",       "eAdres",
                                     "eMol",  "eServName", "eServAdres", "eServPhones"};
    return names[int(field)];
}

QLineEdit* edit(QWidget& w, const char* name) {
    auto* e = w.findChild<QLineEdit*>(name);
    if (!e)
        qFatal("no edit %s", name);
    return e;
}

void fill(TfrmMyInfo& dialog, const OwnData& d) {
    OwnData copy = d;
    for (int f = 0; f <= int(OwnDataField::ServicePhones); ++f)
        edit(dialog, editName(OwnDataField(f)))->setText(fieldOf(copy, OwnDataField(f)));
}

int rows(store::Database& db) {
    return db.scalar("SELECT count(*) FROM myinfo").toInt();
}

} // namespace

class TestOwnData : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checksStopAtTheFirstProblem_data();
    void checksStopAtTheFirstProblem();
    void validDataIsTrimmedAndAccepted_data();
    void validDataIsTrimmedAndAccepted();
    void savingKeepsOneRow();
    void dialogRefusesWithMessageAndFocus_data();
    void dialogRefusesWithMessageAndFocus();
    void taxNumberTakesOnlyDigits();
    void firstStartCannotBeLeftWithoutAValidSave();
    void cancelDiscardsTheEdits();
};

void TestOwnData::checksStopAtTheFirstProblem_data() {
    QTest::addColumn<OwnDataField>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    using F = OwnDataField;
    QTest::newRow("name of spaces") << F::Name << "   "
                                    << "Внимание - не сте въвели име на фирмата!";
    QTest::newRow("tax number of 9") << F::TaxNumber << "123456789"
                                     << "Внимание - грешно въведен данъчен номер на фирмата!";
    QTest::newRow("tax number of 11") << F::TaxNumber << "12345678901"
                                      << "Внимание - грешно въведен данъчен номер на фирмата!";
    QTest::newRow("bulstat of 10") << F::Bulstat << "1234567890"
                                   << "Внимание - грешно въведен БУЛСТАТ на фирмата!";
    QTest::newRow("bulstat empty") << F::Bulstat << ""
                                   << "Внимание - грешно въведен БУЛСТАТ на фирмата!";
    QTest::newRow("address") << F::Address << " "
                             << "Внимание - не сте въвели адрес на фирмата!";
    QTest::newRow("representative")
        << F::Representative << ""
        << "Внимание - не сте въвели материално отговорно лице на фирмата!";
    QTest::newRow("workshop name") << F::ServiceName << "\t"
                                   << "Внимание - не сте име на сервиза!";
    QTest::newRow("workshop address") << F::ServiceAddress << ""
                                      << "Внимание - не сте адрес на сервиза!";
    QTest::newRow("phones") << F::ServicePhones << "  "
                            << "Внимание - не сте телефоните на сервиза!";
}

void TestOwnData::checksStopAtTheFirstProblem() {
    QFETCH(OwnDataField, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    OwnData data = validData();
    fieldOf(data, field) = value;
    // Every later field is wrong as well: only the first problem is reported.
    for (int f = int(field) + 1; f <= int(OwnDataField::ServicePhones); ++f)
        fieldOf(data, OwnDataField(f)).clear();
    const auto problem = shell::checkOwnData(data);
    QVERIFY(problem);
    QCOMPARE(problem->field, field);
    QCOMPARE(problem->message, message);
}

void TestOwnData::validDataIsTrimmedAndAccepted_data() {
    QTest::addColumn<QString>("bulstat");
    QTest::newRow("bulstat of 9") << "123456789";
    QTest::newRow("bulstat of 13") << "1234567890123";
}

void TestOwnData::validDataIsTrimmedAndAccepted() {
    QFETCH(QString, bulstat);
    OwnData data = validData();
    data.bulstat = bulstat;
    data.name = "  " + data.name + " ";
    data.servicePhones = data.servicePhones + "  ";
    QVERIFY(!shell::checkOwnData(data));
    QCOMPARE(data.name, validData().name);
    QCOMPARE(data.servicePhones, validData().servicePhones);
}

void TestOwnData::savingKeepsOneRow() {
    TestEnvironment env;
    auto db = env.newDatabase();
    QVERIFY(!shell::hasOwnData(*db));
    QCOMPARE(shell::loadOwnData(*db).name, QString());
    shell::saveOwnData(*db, validData());
    QVERIFY(shell::hasOwnData(*db));
    OwnData changed = validData();
    changed.serviceName = "Нов сервиз \"Х\"";
    shell::saveOwnData(*db, changed);
    QCOMPARE(rows(*db), 1);
    const OwnData back = shell::loadOwnData(*db);
    QCOMPARE(back.serviceName, changed.serviceName);
    QCOMPARE(back.address, validData().address);
    QCOMPARE(back.taxNumber, validData().taxNumber);
}

void TestOwnData::dialogRefusesWithMessageAndFocus_data() {
    checksStopAtTheFirstProblem_data();
}

void TestOwnData::dialogRefusesWithMessageAndFocus() {
    QFETCH(OwnDataField, field);
    QFETCH(QString, value);
    QFETCH(QString, message);
    TestEnvironment env;
    auto db = env.newDatabase();
    TfrmMyInfo dialog(*db);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    OwnData data = validData();
    fieldOf(data, field) = value;
    fill(dialog, data);
    QTest::mouseClick(dialog.findChild<QPushButton*>("btnRec"), Qt::LeftButton);

    QCOMPARE(env.responder().texts(), QStringList{message});
    QCOMPARE(env.responder().messages.at(0).caption, QString("Грешка"));
    QCOMPARE(env.responder().messages.at(0).icon, ui::MessageIcon::Error);
    QLineEdit* focused = edit(dialog, editName(field));
    QCOMPARE(QApplication::focusWidget(), focused);
    if (field == OwnDataField::TaxNumber || field == OwnDataField::Bulstat)
        QCOMPARE(focused->selectedText(), focused->text());
    QVERIFY(dialog.isVisible());
    QCOMPARE(rows(*db), 0);
}

void TestOwnData::taxNumberTakesOnlyDigits() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TfrmMyInfo dialog(*db);
    dialog.show();
    QLineEdit* ndr = edit(dialog, "eNDR");
    QTest::keyClicks(ndr, "12a3-4 x5");
    QCOMPARE(ndr->text(), QString("12345"));
    QTest::keyClick(ndr, Qt::Key_Backspace);
    QCOMPARE(ndr->text(), QString("1234"));
}

void TestOwnData::firstStartCannotBeLeftWithoutAValidSave() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TfrmMyInfo dialog(*db);
    dialog.setCancelEnabled(false);
    dialog.show();
    QVERIFY(!dialog.findChild<QPushButton*>("btnCancel")->isEnabled());

    dialog.close();
    QVERIFY(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(dialog.isVisible());
    QTest::mouseClick(dialog.findChild<QPushButton*>("btnRec"), Qt::LeftButton);
    QVERIFY(dialog.isVisible()); // empty data refused
    QCOMPARE(rows(*db), 0);

    OwnData data = validData();
    data.address = "  " + data.address + "  ";
    fill(dialog, data);
    QTest::mouseClick(dialog.findChild<QPushButton*>("btnRec"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(dialog.findChild<QPushButton*>("btnCancel")->isEnabled());
    QCOMPARE(rows(*db), 1);
    QCOMPARE(shell::loadOwnData(*db).address, validData().address);
}

void TestOwnData::cancelDiscardsTheEdits() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::saveOwnData(*db, validData());
    TfrmMyInfo dialog(*db);
    dialog.setCancelEnabled(true);
    dialog.show();
    QCOMPARE(edit(dialog, "eName")->text(), validData().name);
    QTest::keyClicks(edit(dialog, "eName"), " Ltd");
    // A pending edit keeps the window open until it is saved or cancelled.
    dialog.close();
    QVERIFY(dialog.isVisible());
    QTest::mouseClick(dialog.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(shell::loadOwnData(*db).name, validData().name);
    // Without edits the window closes freely.
    dialog.show();
    dialog.close();
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestOwnData)
#include "test_own_data.moc"

#include "support/builders.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "vehicles/all_cars_window.h"
#include "vehicles/brands_window.h"
#include "vehicles/car_register.h"
#include "vehicles/car_register_window.h"
#include "vehicles/vehicle_catalogue.h"
#include "vehicles/vehicle_pick_chain_controls.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlTableModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTreeView>

using namespace vehicles;
using builders::completeCar;
using testing::child;
using testing::click;
using testing::TestEnvironment;

namespace {

// Types into a pick field the way a user does and leaves it with Tab.
void typeAndLeave(QComboBox* field, const QString& text) {
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    field->lineEdit()->selectAll();
    field->lineEdit()->insert(text);
    QTest::keyClick(field, Qt::Key_Tab);
}

// A small catalogue: VW Golf with two periods of one modification, each with an engine.
struct Catalogue {
    qint64 vw, golf;
    explicit Catalogue(store::Database& db) {
        vw = addBrand(db, "VW");
        golf = addModel(db, vw, "Golf");
        addModel(db, vw, "Passat");
        builders::catalogueEntry(db);
        builders::catalogueEntry(db, {.period = "2003-2008", .engine = "BKC", .kw = "77"});
    }
};

struct Window {
    TsrCar w;
    QComboBox* marka;
    QComboBox* model;
    QComboBox* modification;
    QComboBox* period;
    QComboBox* engine;
    Window(store::Database& db, TsrCar::Mode mode = TsrCar::Mode::Register) : w(db, mode) {
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            qFatal("window not shown");
        QApplication::setActiveWindow(&w);
        marka = child<QComboBox>(w, "eMarka");
        model = child<QComboBox>(w, "eModels");
        modification = child<QComboBox>(w, "eModification");
        period = child<QComboBox>(w, "ePeriod");
        engine = child<QComboBox>(w, "eEngine");
    }
    void fill(const Car& car) {
        child<QLineEdit>(w, "eRegNo")->setText(car.regNo);
        child<QLineEdit>(w, "eClientName")->setText(car.ownerName);
        child<QLineEdit>(w, "eClientAdres")->setText(car.ownerAddress);
        child<QLineEdit>(w, "eClientPhone")->setText(car.ownerPhone);
        marka->setEditText(car.marka);
        model->setEditText(car.model);
        engine->setEditText(car.engine);
        child<QLineEdit>(w, "eYear")->setText(car.yearMade);
        child<QLineEdit>(w, "eCouppe")->setText(car.couppe);
    }
};

} // namespace

class TestCarRegister : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unknownBrandAndModelAreAddedOnYes();
    void answeringNoLeavesTheCatalogueAlone();
    void sameBrandKeepsTheDependentFields();
    void chainOffersPeriodsEnginesAndPower();
    void newPeriodFillsAnEmptyRowOrAppendsOne();
    void saveChecks_data();
    void saveChecks();
    void registrationNumberIsUniqueButAnEditKeepsItsOwn();
    void editingKeepsAModificationUnknownToTheCatalogue();
    void pickerFillsOnlyWhenACarIsTaken();
    void allCarsGroupsAndSavesEngineData();
    void brandsListDiscardsAnEditLeftOpen();
};

void TestCarRegister::unknownBrandAndModelAreAddedOnYes() {
    TestEnvironment env;
    auto db = env.newDatabase();
    Catalogue catalogue(*db);
    Window win(*db);
    click(win.w, "btnAdd");
    env.responder().answers << true << true;
    typeAndLeave(win.marka, "Лада");
    QCOMPARE(
        env.responder().questions,
        QStringList{"Не е намерена марка \"Лада\"\n\nЖелаете ли да бъде добавена в базата данни?"});
    const auto lada = findBrand(*db, "Лада");
    QVERIFY(lada);
    QCOMPARE(win.marka->currentText(), QString("Лада"));
    QCOMPARE(win.marka->count(), 2);
    QCOMPARE(win.model->count(), 0); // the new brand has no models

    typeAndLeave(win.model, "Нива");
    QCOMPARE(
        env.responder().questions.last(),
        QString("Не е намерен модел \"Лада Нива\"\n\nЖелаете ли да бъде добавен в базата данни?"));
    QCOMPARE(findModel(*db, *lada, "Нива").has_value(), true);
    QCOMPARE(win.model->currentText(), QString("Нива"));
    // Catalogue entries stay even when the car itself is cancelled.
    click(win.w, "btnCancel");
    QCOMPARE(db->scalar("SELECT count(*) FROM models").toInt(), 3);
    QCOMPARE(db->scalar("SELECT count(*) FROM cars").toInt(), 0);
}

void TestCarRegister::answeringNoLeavesTheCatalogueAlone() {
    TestEnvironment env;
    auto db = env.newDatabase();
    Catalogue catalogue(*db);
    Window win(*db);
    click(win.w, "btnAdd");
    env.responder().answers << false;
    typeAndLeave(win.marka, "Москвич");
    QCOMPARE(env.responder().questions.size(), 1);
    QCOMPARE(db->scalar("SELECT count(*) FROM marka").toInt(), 1);
    QCOMPARE(win.marka->currentText(), QString());
    QTRY_VERIFY(win.marka->hasFocus());

    // A model under a known brand, refused likewise.
    env.responder().answers << false;
    typeAndLeave(win.marka, "VW");
    typeAndLeave(win.model, "Туарег");
    QCOMPARE(env.responder().questions.size(), 2);
    QCOMPARE(db->scalar("SELECT count(*) FROM models").toInt(), 2);
    QCOMPARE(win.model->currentText(), QString());
}

void TestCarRegister::sameBrandKeepsTheDependentFields() {
    TestEnvironment env;
    auto db = env.newDatabase();
    Catalogue catalogue(*db);
    Window win(*db);
    click(win.w, "btnAdd");
    typeAndLeave(win.marka, "vw");                  // letter case does not matter for the list
    QVERIFY(env.responder().questions.size() == 1); // but the catalogue look-up is exact
    env.responder().clear();
    typeAndLeave(win.marka, "VW");
    QCOMPARE(win.model->count(), 2);
    typeAndLeave(win.model, "Golf");
    win.engine->setEditText("XYZ");
    typeAndLeave(win.marka, "VW"); // entered and left without a change
    QCOMPARE(win.model->currentText(), QString("Golf"));
    QCOMPARE(win.engine->currentText(), QString("XYZ"));
    QVERIFY(env.responder().questions.isEmpty());
}

void TestCarRegister::chainOffersPeriodsEnginesAndPower() {
    TestEnvironment env;
    auto db = env.newDatabase();
    Catalogue catalogue(*db);
    Window win(*db);
    click(win.w, "btnAdd");
    typeAndLeave(win.marka, "VW");
    typeAndLeave(win.model, "Golf");
    // One modification with two periods is listed once per row.
    QCOMPARE(win.modification->count(), 2);
    typeAndLeave(win.modification, "1.9 TDI");
    QCOMPARE(win.period->count(), 2);
    QCOMPARE(win.period->currentText(), QString("1997-2003"));
    win.period->setCurrentIndex(1);
    typeAndLeave(win.period, "2003-2008");
    QCOMPARE(win.engine->currentText(), QString("BKC"));
    win.engine->setFocus();
    QTRY_VERIFY(win.engine->hasFocus());
    QTest::keyClick(win.engine, Qt::Key_Tab);
    QCOMPARE(child<QLineEdit>(win.w, "eKW")->text(), QString("77"));
    QCOMPARE(child<QLineEdit>(win.w, "eCCM")->text(), QString("1896"));
    QTRY_VERIFY(child<QLineEdit>(win.w, "eYear")->hasFocus());
    QVERIFY(env.responder().questions.isEmpty());

    // The engine field takes only capitals, digits and the dash.
    win.engine->lineEdit()->clear();
    QTest::keyClicks(win.engine->lineEdit(), "ab-12CD.");
    QCOMPARE(win.engine->currentText(), QString("-12CD"));
}

void TestCarRegister::newPeriodFillsAnEmptyRowOrAppendsOne() {
    TestEnvironment env;
    auto db = env.newDatabase();
    Catalogue catalogue(*db);
    Window win(*db);
    click(win.w, "btnAdd");
    typeAndLeave(win.marka, "VW");
    typeAndLeave(win.model, "Passat");
    env.responder().answers << true << true;
    typeAndLeave(win.modification, "2.0 TDI");
    QCOMPARE(env.responder().questions.first(),
             QString("Не е намеренa модификация \"VW Passat 2.0 TDI\"\n\nЖелаете ли да бъде "
                     "добавенa в базата данни?"));
    typeAndLeave(win.period, "2005-2010");
    QCOMPARE(env.responder().questions.last(),
             QString("За VW Passat 2.0 TDI\nне е намерен период на производство 2005-2010. Да "
                     "бъде ли добавен?"));
    const QString count = "SELECT count(*) FROM car_modifications WHERE Modification = '2.0 TDI'";
    QCOMPARE(db->scalar(count).toInt(), 1);
    QCOMPARE(db->scalar("SELECT period FROM car_modifications WHERE Modification = '2.0 TDI'")
                 .toString(),
             QString("2005-2010"));
    // A second period for the same modification becomes a row of its own.
    env.responder().answers << true;
    typeAndLeave(win.period, "2010-2014");
    QCOMPARE(db->scalar(count).toInt(), 2);
    // Answering No stores nothing and keeps the text.
    env.responder().answers << false;
    typeAndLeave(win.period, "2015-2020");
    QCOMPARE(db->scalar(count).toInt(), 2);
    QCOMPARE(win.period->currentText(), QString("2015-2020"));
}

void TestCarRegister::saveChecks_data() {
    QTest::addColumn<QString>("blank");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("brand") << "marka"
                           << "Въведете марка на автомобила!"
                           << "eMarka";
    QTest::newRow("model") << "model"
                           << "Въведете модел на автомобила!"
                           << "eModels";
    QTest::newRow("year") << "year"
                          << "Въведете година на производство!"
                          << "eYear";
    QTest::newRow("registration") << "regNo"
                                  << "Въведете регистрационен номер!"
                                  << "eRegNo";
    QTest::newRow("chassis") << "couppe"
                             << "Въведете номер на шаси!"
                             << "eCouppe";
    QTest::newRow("engine") << "engine"
                            << "Въведете номер на двигателя!"
                            << "eEngine";
    QTest::newRow("owner") << "ownerName"
                           << "Въведете име на собственика!"
                           << "eClientName";
    QTest::newRow("address") << "ownerAddress"
                             << "Въведете адрес на собственика!"
                             << "eClientAdres";
    QTest::newRow("phone") << "ownerPhone"
                           << "Въведете телефон на собственика!"
                           << "eClientPhone";
    QTest::newRow("blanks only count as empty") << "phoneBlanks"
                                                << "Въведете телефон на собственика!"
                                                << "eClientPhone";
    QTest::newRow("nothing missing") << ""
                                     << ""
                                     << "";
}

void TestCarRegister::saveChecks() {
    QFETCH(QString, blank);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestEnvironment env;
    auto db = env.newDatabase();
    Window win(*db);
    click(win.w, "btnAdd");
    Car car = completeCar();
    if (blank == "marka")
        car.marka.clear();
    if (blank == "model")
        car.model.clear();
    if (blank == "year")
        car.yearMade.clear();
    if (blank == "regNo")
        car.regNo.clear();
    if (blank == "couppe")
        car.couppe.clear();
    if (blank == "engine")
        car.engine.clear();
    if (blank == "ownerName")
        car.ownerName.clear();
    if (blank == "ownerAddress")
        car.ownerAddress.clear();
    if (blank == "ownerPhone")
        car.ownerPhone.clear();
    if (blank == "phoneBlanks")
        car.ownerPhone = "   ";
    win.fill(car);
    click(win.w, "btnRec");
    if (message.isEmpty()) {
        QVERIFY(env.responder().messages.isEmpty());
        QVERIFY(!win.w.isEditing());
        // Typed with Latin look-alikes, kept in the one form of registration numbers.
        QCOMPARE(db->scalar("SELECT RegNo FROM cars").toString(), QString("СА1234АВ"));
        return;
    }
    QCOMPARE(env.responder().texts(), QStringList{message});
    QCOMPARE(env.responder().messages.first().caption, QString("Съобщение"));
    QVERIFY(win.w.isEditing());
    QTRY_COMPARE(QApplication::focusWidget()->objectName().isEmpty()
                     ? QApplication::focusWidget()->parentWidget()->objectName()
                     : QApplication::focusWidget()->objectName(),
                 focus);
    QCOMPARE(db->scalar("SELECT count(*) FROM cars").toInt(), 0);
}

void TestCarRegister::registrationNumberIsUniqueButAnEditKeepsItsOwn() {
    TestEnvironment env;
    auto db = env.newDatabase();
    Catalogue catalogue(*db);
    builders::car(*db);
    const QString taken = "Taкъв регистрационен номер вече е въведен!";
    Car other = completeCar();
    other.regNo = " CA1234AB ";
    QCOMPARE(checkCar(*db, other)->message, taken);
    Car stored = *loadCar(*db, 1);
    QVERIFY(!checkCar(*db, stored)); // its own number is no clash

    Window win(*db);
    click(win.w, "btnAdd");
    win.fill(completeCar());
    click(win.w, "btnRec");
    QCOMPARE(env.responder().texts(), QStringList{taken});
    QVERIFY(win.w.isEditing());
    click(win.w, "btnCancel");

    env.responder().clear();
    click(win.w, "btnEdit");
    QCOMPARE(win.marka->currentText(), QString("VW"));
    QCOMPARE(win.model->currentText(), QString("Golf"));
    QCOMPARE(win.engine->currentText(), QString("AGR"));
    child<QLineEdit>(win.w, "eClientPhone")->setText("0899000000");
    click(win.w, "btnRec");
    QVERIFY(env.responder().messages.isEmpty());
    QCOMPARE(db->scalar("SELECT count(*) FROM cars").toInt(), 1);
    QCOMPARE(db->scalar("SELECT OwnerPhone FROM cars").toString(), QString("0899000000"));
    QCOMPARE(db->scalar("SELECT Engine FROM cars").toString(), QString("AGR"));
}

void TestCarRegister::editingKeepsAModificationUnknownToTheCatalogue() {
    TestEnvironment env;
    auto db = env.newDatabase();
    Catalogue catalogue(*db);
    Car car = completeCar();
    car.marka = "Trabant"; // not in the catalogue
    car.modify = "601 S";
    car.period = "1964-1990";
    builders::car(*db, car);
    Window win(*db);
    click(win.w, "btnEdit");
    QVERIFY(env.responder().questions.isEmpty()); // opening asks nothing
    QCOMPARE(win.marka->currentText(), QString());
    QVERIFY(win.marka->findText("Trabant") >= 0);
    QCOMPARE(win.modification->currentText(), QString("601 S"));
    click(win.w, "btnRec");
    QCOMPARE(env.responder().texts(), QStringList{"Въведете марка на автомобила!"});
    QCOMPARE(db->scalar("SELECT Modify FROM cars").toString(), QString("601 S"));
}

void TestCarRegister::pickerFillsOnlyWhenACarIsTaken() {
    TestEnvironment env;
    auto db = env.newDatabase();
    builders::car(*db);
    {
        Window win(*db, TsrCar::Mode::Picker);
        QVERIFY(child<QPushButton>(win.w, "BitBtn4")->isVisible());
        QVERIFY(!child<QPushButton>(win.w, "BitBtn3")->isVisible());
        QMetaObject::invokeMethod(&win.w, "reject");
        QVERIFY(!win.w.chosenCar());
    }
    Window win(*db, TsrCar::Mode::Picker);
    click(win.w, "BitBtn4");
    QCOMPARE(win.w.result(), int(QDialog::Accepted));
    QVERIFY(win.w.chosenCar());
    QCOMPARE(win.w.chosenCar()->regNo, QString("СА1234АВ"));
    QCOMPARE(win.w.chosenCar()->ownerName, QString("Иван Петров"));
}

void TestCarRegister::allCarsGroupsAndSavesEngineData() {
    TestEnvironment env;
    auto db = env.newDatabase();
    Catalogue catalogue(*db);
    const qint64 audi = addBrand(*db, "Audi");
    addModification(*db, audi, addModel(*db, audi, "A4"), "1.8 T");
    TfrmAllCars w(*db);
    QStandardItemModel* model = w.model();
    QCOMPARE(model->rowCount(), 2); // Audi, VW
    QCOMPARE(model->item(0)->text(), QString("Audi"));
    QStandardItem* vw = model->item(1);
    QCOMPARE(vw->rowCount(), 1); // Golf; Passat has no catalogue rows
    QCOMPARE(vw->child(0, 1)->text(), QString("Golf"));
    QStandardItem* golf = vw->child(0, 0);
    QCOMPARE(golf->rowCount(), 2);
    golf->child(1, 6)->setText("81"); // kW of the second row
    QCOMPARE(db->scalar("SELECT kw FROM car_modifications WHERE engine = 'BKC'").toString(),
             QString("81"));
    QVERIFY(!golf->child(1, 2)->isEditable()); // the modification is not changed here
    w.tree()->setCurrentIndex(vw->index());
    w.expandFocused();
    QVERIFY(w.tree()->isExpanded(golf->index()));
    w.collapseFocused();
    QVERIFY(!w.tree()->isExpanded(vw->index()));
}

void TestCarRegister::brandsListDiscardsAnEditLeftOpen() {
    TestEnvironment env;
    auto db = env.newDatabase();
    addBrand(*db, "VW");
    addBrand(*db, "Audi");
    TfrmArtsMarks w(*db);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* grid = child<QTableView>(w, "grMarka");
    QCOMPARE(grid->currentIndex().data().toString(), QString("Audi"));
    grid->model()->setData(grid->currentIndex(), "Ауди");
    QMetaObject::invokeMethod(&w, "reject");
    // Nothing is left pending that a later submit could still write.
    QVERIFY(qobject_cast<QSqlTableModel*>(grid->model())->submitAll());
    QCOMPARE(db->scalar("SELECT count(*) FROM marka WHERE Marka = 'Audi'").toInt(), 1);
    QCOMPARE(db->scalar("SELECT count(*) FROM marka").toInt(), 2);
}

QTEST_MAIN(TestCarRegister)
#include "test_car_register.moc"

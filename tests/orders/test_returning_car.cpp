#include "orders/new_order_window.h"
#include "support/builders.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "vehicles/car_register.h"
#include "vehicles/car_register_window.h"
#include "vehicles/vehicle_catalogue.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using testing::child;
using testing::TestEnvironment;

// A car that comes back: its registration number fills the new order from what is known of it.
class TestReturningCar : public QObject {
    Q_OBJECT

    struct Window {
        TsrPor w;
        explicit Window(store::Database& db) : w(db, orders::RepairPlace::Workshop) {
            w.show();
            if (!QTest::qWaitForWindowExposed(&w))
                qFatal("window not shown");
            QApplication::setActiveWindow(&w);
        }
        QLineEdit* line(const char* name) { return child<QLineEdit>(w, name); }
        QString pick(const char* name) { return child<QComboBox>(w, name)->currentText(); }
        void typeRegNo(const QString& text) {
            auto* regNo = line("eRegNo");
            regNo->setFocus();
            QTRY_VERIFY(regNo->hasFocus());
            regNo->insert(text);
            QTest::keyClick(regNo, Qt::Key_Tab);
        }
    };

    // VW Golf 1.9 TDI in two periods with an engine each.
    static void addCatalogue(store::Database& db) {
        const qint64 vw = vehicles::addBrand(db, "VW");
        const qint64 golf = vehicles::addModel(db, vw, "Golf");
        for (const auto& [period, engine] : {std::pair{"1997-2003", "AGR"}, {"2003-2008", "BKC"}})
            db.exec("INSERT INTO car_modifications (idMarka, idModel, Modification, period, "
                    "engine, kw, ccm) VALUES (:b, :m, '1.9 TDI', :p, :e, '77', '1896')",
                    {{"b", vw}, {"m", golf}, {"p", period}, {"e", engine}});
    }

private Q_SLOTS:
    void earlierOrderFillsTheWholeCar() {
        TestEnvironment env;
        auto db = env.newDatabase();
        addCatalogue(*db);
        builders::order(*db, {.id = 1,
                              .client = "Иван Петров",
                              .marka = "VW",
                              .model = "Golf",
                              .regNo = "СА1234АВ",
                              .couppe = "WVW1",
                              .engine = "BKC"});
        Window win(*db);
        win.typeRegNo("СА1234АВ");
        QCOMPARE(win.pick("eMarka"), QString("VW"));
        QCOMPARE(win.pick("eModels"), QString("Golf"));
        QCOMPARE(win.pick("eModification"), QString("1.9 TDI"));
        QCOMPARE(win.pick("ePeriod"), QString("2003-2008")); // the period of the car's engine
        QCOMPARE(win.pick("eEngine"), QString("BKC"));
        QCOMPARE(win.line("eCouppe")->text(), QString("WVW1"));
        QVERIFY(env.responder().questions.isEmpty());
    }

    void aStarIsAPlainCharacter() {
        TestEnvironment env;
        auto db = env.newDatabase();
        builders::order(*db, {.id = 1, .client = "Иван Петров", .regNo = "СА1234АВ"});
        vehicles::Car other = builders::completeCar();
        other.regNo = "В7777ВВ";
        builders::car(*db, other);
        for (const char* typed : {"*", "СА*", "%", "В7777В_"}) {
            Window win(*db);
            win.typeRegNo(typed);
            QCOMPARE(win.line("eClientName")->text(), QString());
            QCOMPARE(win.pick("eMarka"), QString());
        }
    }

    void registeredCarFillsWhenNoOrderHasIt() {
        TestEnvironment env;
        auto db = env.newDatabase();
        addCatalogue(*db);
        vehicles::Car car = builders::completeCar();
        car.marka = "VW";
        car.model = "Golf";
        car.modify = "1.9 TDI";
        car.engine = "AGR";
        car.regNo = "РВ5555КН";
        car.kw = "999";
        car.ccm = "9999";
        car.ownerName = "Мария Иванова";
        builders::car(*db, car);
        builders::order(*db, {.id = 1, .regNo = "Х1111ХХ"}); // another car
        Window win(*db);
        win.typeRegNo("pb 5555 kh"); // Latin look-alikes and blanks, as people type them
        QCOMPARE(win.line("eClientName")->text(), QString("Мария Иванова"));
        QCOMPARE(win.pick("eModels"), QString("Golf"));
        QCOMPARE(win.pick("ePeriod"), QString("1997-2003"));
        QCOMPARE(win.pick("eEngine"), QString("AGR"));
        // kW and ccm are never taken from the register.
        QCOMPARE(win.line("eKW")->text(), QString());
        QCOMPARE(win.line("eCCM")->text(), QString());
        QTRY_VERIFY(win.line("eKM")->hasFocus());
    }

    void yearAndPowerTakeOnlyNumbers() {
        TestEnvironment env;
        auto db = env.newDatabase();
        builders::order(*db, {.id = 1});
        Window win(*db);
        for (const char* name : {"eYear", "eKW"}) {
            QLineEdit* edit = win.line(name);
            edit->setFocus();
            QTRY_VERIFY(edit->hasFocus());
            QTest::keyClicks(edit, "abc7");
            QCOMPARE(edit->text(), QString("7"));
        }
    }

    void carPickerShowsTheOrdersOfTheCar() {
        TestEnvironment env;
        auto db = env.newDatabase();
        builders::order(*db, {.id = 1});
        vehicles::Car car = builders::completeCar();
        car.regNo = "РВ5555КН";
        builders::car(*db, car);
        Window win(*db);
        QStringList shown;
        win.w.setOrdersOfCar([&](const QString& regNo) { shown << regNo; });
        bool checkEnabled = false;
        env.responder().modalRunner = [&](QDialog& dialog) {
            if (auto* picker = qobject_cast<TsrCar*>(&dialog)) {
                picker->findChild<QTableView*>("Grid")->selectRow(0);
                auto* check = picker->findChild<QPushButton*>("btnCheck");
                checkEnabled = check->isEnabled();
                check->click();
            }
            return int(QDialog::Rejected);
        };
        child<QPushButton>(win.w, "btnCars")->click();
        QVERIFY(checkEnabled);
        QCOMPARE(shown, QStringList{"РВ5555КН"});
    }
};

QTEST_MAIN(TestReturningCar)
#include "test_returning_car.moc"

#include "orders/order_registration.h"
#include "support/builders.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "vehicles/car_register.h"
#include "vehicles/car_register_window.h"
#include "vehicles/vehicle_catalogue.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

using testing::child;
using testing::click;
using testing::TestEnvironment;

// The car register's form as a user works it with the keyboard.
class TestCarForm : public QObject {
    Q_OBJECT

    static void typeAndLeave(QComboBox* field, const QString& text) {
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());
        field->lineEdit()->selectAll();
        field->lineEdit()->insert(text);
        QTest::keyClick(field, Qt::Key_Tab);
    }

private Q_SLOTS:
    void tabRunsDownTheForm() {
        TestEnvironment env;
        auto db = env.newDatabase();
        TsrCar w(*db, TsrCar::Mode::Register);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QApplication::setActiveWindow(&w);
        click(w, "btnAdd");
        QTRY_VERIFY(child<QLineEdit>(w, "eRegNo")->hasFocus());
        QStringList order;
        for (int i = 0; i < 15; ++i) {
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus);
            // A pick field's line edit stands for its field.
            if (qobject_cast<QComboBox*>(focus->parentWidget()))
                focus = focus->parentWidget();
            order << focus->objectName();
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(order,
                 QStringList({"eRegNo", "eClientName", "btnFirms", "eClientAdres", "eClientPhone",
                              "eMarka", "eModels", "eModification", "ePeriod", "eEngine", "eKW",
                              "eCCM", "eYear", "eCouppe", "btnRec"}));
    }

    void passingThroughThePeriodKeepsEngineAndPower() {
        TestEnvironment env;
        auto db = env.newDatabase();
        const qint64 vw = vehicles::addBrand(*db, "VW");
        const qint64 golf = vehicles::addModel(*db, vw, "Golf");
        db->exec("INSERT INTO car_modifications (idMarka, idModel, Modification, period, engine, "
                 "kw, ccm) VALUES (:b, :m, '1.9 TDI', '1997-2003', 'AGR', '66', '1896')",
                 {{"b", vw}, {"m", golf}});
        TsrCar w(*db, TsrCar::Mode::Register);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QApplication::setActiveWindow(&w);
        click(w, "btnAdd");
        auto* period = child<QComboBox>(w, "ePeriod");
        auto* engine = child<QComboBox>(w, "eEngine");
        typeAndLeave(child<QComboBox>(w, "eMarka"), "VW");
        typeAndLeave(child<QComboBox>(w, "eModels"), "Golf");
        typeAndLeave(child<QComboBox>(w, "eModification"), "1.9 TDI");
        typeAndLeave(period, "1997-2003");
        QCOMPARE(engine->currentText(), QString("AGR"));
        engine->setFocus();
        QTRY_VERIFY(engine->hasFocus());
        QTest::keyClick(engine, Qt::Key_Tab);
        QCOMPARE(child<QLineEdit>(w, "eKW")->text(), QString("66"));
        // The user corrects the engine by hand, then passes back through the period.
        engine->setEditText("AGR-X");
        period->setFocus();
        QTRY_VERIFY(period->hasFocus());
        QTest::keyClick(period, Qt::Key_Tab);
        QCOMPARE(engine->currentText(), QString("AGR-X"));
        QCOMPARE(child<QLineEdit>(w, "eKW")->text(), QString("66"));
        QCOMPARE(child<QLineEdit>(w, "eCCM")->text(), QString("1896"));

        // A changed period still offers its own engines.
        typeAndLeave(period, "2004-2008");
        QCOMPARE(child<QLineEdit>(w, "eKW")->text(), QString());
    }

    void refusedBrandKeepsTheModelsOfTheBrandBefore() {
        TestEnvironment env;
        auto db = env.newDatabase();
        const qint64 vw = vehicles::addBrand(*db, "VW");
        vehicles::addModel(*db, vw, "Golf");
        vehicles::addModel(*db, vw, "Passat");
        TsrCar w(*db, TsrCar::Mode::Register);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QApplication::setActiveWindow(&w);
        click(w, "btnAdd");
        auto* brand = child<QComboBox>(w, "eMarka");
        auto* model = child<QComboBox>(w, "eModels");
        typeAndLeave(brand, "VW");
        QCOMPARE(model->count(), 2);
        typeAndLeave(brand, "Фолксваген"); // unknown: the question is answered No
        QCOMPARE(env.responder().questions.size(), 1);
        QVERIFY(brand->currentText().isEmpty());
        QCOMPARE(model->count(), 2);
        QCOMPARE(vehicles::brands(*db).size(), 1);
    }

    void productionYearHasASensibleRange_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("an old car") << "1965" << true;
        QTest::newRow("this year") << "2026" << true;
        QTest::newRow("next year's model") << "2027" << true;
        QTest::newRow("five years ahead") << "2031" << false;
        QTest::newRow("before cars were common") << "1899" << false;
        QTest::newRow("not a year") << "20a1" << false;
        QTest::newRow("two digits") << "01" << false;
    }
    void productionYearHasASensibleRange() {
        QFETCH(QString, year);
        QFETCH(bool, accepted);
        const auto problem = vehicles::productionYearProblem(year, 2026);
        QCOMPARE(!problem.has_value(), accepted);
        if (problem)
            QCOMPARE(*problem, QString("Годината на производство трябва да е между 1900 и 2027!"));
    }

    void carAndOrderRefuseTheSameYears() {
        TestEnvironment env;
        auto db = env.newDatabase();
        const int thisYear = QDate::currentDate().year();
        for (const auto& [year, accepted] :
             {std::pair{thisYear, true}, {thisYear + 1, true}, {thisYear + 5, false}}) {
            vehicles::Car car = builders::completeCar();
            car.yearMade = QString::number(year);
            orders::NewOrder order = builders::completeOrder();
            order.year = QString::number(year);
            if (accepted) {
                QVERIFY(!vehicles::checkCar(*db, car));
                QVERIFY(!orders::checkNewOrder(order));
                continue;
            }
            QCOMPARE(vehicles::checkCar(*db, car)->field, vehicles::CarField::Year);
            QCOMPARE(orders::checkNewOrder(order)->field, orders::OrderField::Year);
        }
    }
};

QTEST_MAIN(TestCarForm)
#include "test_car_form.moc"

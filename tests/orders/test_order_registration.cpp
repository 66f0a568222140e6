#include "orders/order_registration.h"
#include "store/sql_values.h"
#include "support/builders.h"
#include "support/test_environment.h"

#include <QTest>

using namespace orders;
using builders::completeOrder;
using builders::order;
using testing::TestEnvironment;

Q_DECLARE_METATYPE(orders::OrderField)

class TestOrderRegistration : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dueDateWithinAYear();
    void firstOrderTakesTheStartNumber();
    void numberRule_data();
    void numberRule();
    void storesEveryColumnAsTyped();
    void requiredFields_data();
    void requiredFields();
    void trimsOnlyTheFieldsThatAreTrimmed();
    void dueDateByType_data();
    void dueDateByType();
    void homeVisitIsBookedWithTheOrder();
    void failedVisitLeavesNoOrder();
    void failedOrderLeavesNoVisit();
    void latestOrderOfTheSameCar();
    void previousRepairsOfTheCar();
    void symptomLines_data();
    void symptomLines();
};

void TestOrderRegistration::firstOrderTakesTheStartNumber() {
    TestEnvironment env;
    auto db = env.newDatabase();
    QVERIFY(!proposedOrderNumber(*db));
    const auto first = registerOrder(*db, completeOrder(), 500, QDate::currentDate());
    QCOMPARE(first.number, qint64(500));
    QCOMPARE(proposedOrderNumber(*db), std::optional<qint64>(501));
}

void TestOrderRegistration::numberRule_data() {
    QTest::addColumn<QList<qint64>>("existing");
    QTest::addColumn<qint64>("wanted");
    QTest::addColumn<qint64>("stored");
    QTest::addColumn<qint64>("proposedNext");
    QTest::newRow("typed free number far ahead")
        << QList<qint64>{1, 57} << qint64(1000) << qint64(1000) << qint64(1001);
    QTest::newRow("proposed number")
        << QList<qint64>{1, 57} << qint64(58) << qint64(58) << qint64(59);
    QTest::newRow("taken number becomes largest + 1")
        << QList<qint64>{1, 57} << qint64(57) << qint64(58) << qint64(59);
    QTest::newRow("taken gap number becomes largest + 1")
        << QList<qint64>{1, 57, 1000} << qint64(1) << qint64(1001) << qint64(1002);
    QTest::newRow("free gap number is used as typed")
        << QList<qint64>{1, 57} << qint64(30) << qint64(30) << qint64(58);
}

void TestOrderRegistration::numberRule() {
    QFETCH(QList<qint64>, existing);
    QFETCH(qint64, wanted);
    QFETCH(qint64, stored);
    QFETCH(qint64, proposedNext);
    TestEnvironment env;
    auto db = env.newDatabase();
    for (qint64 id : existing)
        order(*db, {.id = id});
    QCOMPARE(registerOrder(*db, completeOrder(), wanted, QDate::currentDate()).number, stored);
    QCOMPARE(db->scalar("SELECT count(*) FROM porychka").toInt(), existing.size() + 1);
    QCOMPARE(
        db->scalar("SELECT clientnames FROM porychka WHERE idPor = :n", {{"n", stored}}).toString(),
        completeOrder().clientName);
    QCOMPARE(proposedOrderNumber(*db), std::optional<qint64>(proposedNext));
}

void TestOrderRegistration::storesEveryColumnAsTyped() {
    TestEnvironment env;
    auto db = env.newDatabase();
    NewOrder o = completeOrder();
    o.clientName = "Шон О'Брайън";
    o.model = "Golf'; DROP TABLE porychka; --";
    o.defect = "Тракане отпред;\nСвети лампа;";
    o.type = 2;
    const QDate today(2024, 3, 5);
    o.dueDate = today;
    const auto done = registerOrder(*db, o, 7, today);
    QSqlQuery q = db->exec("SELECT PorDate, marka, model, Modify, serial, aks, defect, ready, "
                           "payed, fiscal, SaveCode, YearMade, por_note, clientnames, "
                           "clientadres, clientphones, endDate, warName, codeGet, porState, "
                           "typeWarr FROM porychka WHERE idPor = 7");
    QVERIFY(q.next());
    QCOMPARE(store::dateFromDb(q.value(0)), today);
    const QStringList texts = {o.marka, o.model, o.modify, o.regNo, o.aks, o.defect};
    for (int i = 0; i < texts.size(); ++i)
        QCOMPARE(q.value(1 + i).toString(), texts[i]);
    QCOMPARE(store::boolFromDb(q.value(7)), false);
    QCOMPARE(store::boolFromDb(q.value(8)), false);
    const QStringList more = {o.couppe,     o.km,          o.year,       o.note,
                              o.clientName, o.clientAdres, o.clientPhone};
    for (int i = 0; i < more.size(); ++i)
        QCOMPARE(q.value(9 + i).toString(), more[i]);
    QCOMPARE(store::dateFromDb(q.value(16)), today);
    QCOMPARE(q.value(17).toString(), o.engine);
    QCOMPARE(q.value(18).toString(), QString("REP"));
    QCOMPARE(q.value(19).toInt(), 1);
    QCOMPARE(q.value(20).toInt(), 2);
    QVERIFY(done.statement.startsWith("insert into porychka\n(idPor, PorDate, marka"));
    QVERIFY(done.statement.contains("'Шон О''Брайън'"));
}

void TestOrderRegistration::requiredFields_data() {
    QTest::addColumn<QString>("blank");
    QTest::addColumn<OrderField>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("name") << "clientName" << OrderField::ClientName
                          << "Трябва да въведете имената на клиента!";
    QTest::newRow("address") << "clientAdres" << OrderField::ClientAdres
                             << "Трябва да въведете адреса на клиента!";
    QTest::newRow("phone") << "clientPhone" << OrderField::ClientPhone
                           << "Трябва да въведете телефон на клиента!";
    QTest::newRow("brand") << "marka" << OrderField::Marka << "Трябва да въведете марка!";
    QTest::newRow("model") << "model" << OrderField::Model << "Трябва да въведете модела!";
    QTest::newRow("year") << "year" << OrderField::Year
                          << "Трябва да въведете годината на производство!";
    QTest::newRow("registration") << "regNo" << OrderField::RegNo
                                  << "Трябва да въведете регистрационния номер на автомобила!";
    QTest::newRow("km") << "km" << OrderField::Km << "Трябва да въведете километрите!";
    // Several empty: the first in the window's order wins.
    QTest::newRow("phone and km") << "clientPhone km" << OrderField::ClientPhone
                                  << "Трябва да въведете телефон на клиента!";
}

void TestOrderRegistration::requiredFields() {
    QFETCH(QString, blank);
    QFETCH(OrderField, field);
    QFETCH(QString, message);
    NewOrder o = completeOrder();
    QHash<QString, QString*> fields = {{"clientName", &o.clientName},
                                       {"clientAdres", &o.clientAdres},
                                       {"clientPhone", &o.clientPhone},
                                       {"marka", &o.marka},
                                       {"model", &o.model},
                                       {"year", &o.year},
                                       {"regNo", &o.regNo},
                                       {"km", &o.km}};
    for (const QString& name : blank.split(' '))
        *fields.value(name) = "   \t ";
    const auto problem = checkNewOrder(trimmed(o));
    QVERIFY(problem);
    QCOMPARE(problem->field, field);
    QCOMPARE(problem->message, message);
    QVERIFY(!checkNewOrder(completeOrder()));
}

void TestOrderRegistration::dueDateWithinAYear() {
    const QDate today(2026, 12, 11);
    NewOrder o = completeOrder();
    o.year = "2001";
    o.dueDate = QDate(2027, 12, 11);
    QVERIFY(!checkNewOrder(o, today));
    o.dueDate = QDate(2202, 12, 13); // a slip of the keyboard
    const auto problem = checkNewOrder(o, today);
    QVERIFY(problem);
    QCOMPARE(problem->field, OrderField::DueDate);
    QCOMPARE(problem->message, QString("Датата трябва да е до 11.12.2027!"));
}

void TestOrderRegistration::trimsOnlyTheFieldsThatAreTrimmed() {
    NewOrder o = completeOrder();
    o.clientName = "  Иван  ";
    o.regNo = " CA1234AB ";
    o.engine = " AGR ";
    o.couppe = " W1 ";
    o.defect = "  тракане  ";
    const NewOrder t = trimmed(o);
    QCOMPARE(t.clientName, QString("Иван"));
    QCOMPARE(t.regNo, QString("СА1234АВ")); // and in the one form of registration numbers
    QCOMPARE(t.engine, QString("AGR"));
    QCOMPARE(t.couppe, QString("W1"));
    QCOMPARE(t.defect, o.defect);
}

void TestOrderRegistration::dueDateByType_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("days");
    QTest::newRow("non-warranty") << 0 << 2;
    QTest::newRow("own warranty") << 1 << 1;
    QTest::newRow("outside warranty") << 2 << 0;
}

void TestOrderRegistration::dueDateByType() {
    QFETCH(int, type);
    QFETCH(int, days);
    const QDate today(2024, 2, 28);
    QCOMPARE(dueDateForType(today, type), today.addDays(days));
}

void TestOrderRegistration::homeVisitIsBookedWithTheOrder() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 41});
    NewOrder workshop = completeOrder();
    registerOrder(*db, workshop, 42, QDate::currentDate());
    QCOMPARE(db->scalar("SELECT count(*) FROM homevisit").toInt(), 0);

    NewOrder visit = completeOrder();
    visit.place = RepairPlace::HomeVisit;
    visit.dueDate = QDate::currentDate().addDays(5);
    const qint64 number = registerOrder(*db, visit, 42, QDate::currentDate()).number;
    QCOMPARE(number, qint64(43));
    QSqlQuery q = db->exec("SELECT DateVisit, TimeVisit, Notes, ClientName, ClientAdres, visited, "
                           "idContract, idClerk, field1 FROM homevisit");
    QVERIFY(q.next());
    QCOMPARE(store::dateFromDb(q.value(0)), visit.dueDate);
    QVERIFY(q.value(1).isNull());
    QCOMPARE(q.value(2).toString(), QString());
    QCOMPARE(q.value(3).toString(), visit.clientName);
    QCOMPARE(q.value(4).toString(), visit.clientAdres);
    QCOMPARE(store::boolFromDb(q.value(5)), false);
    QCOMPARE(q.value(6).toInt(), 0);
    QCOMPARE(q.value(7).toInt(), 0);
    QCOMPARE(q.value(8).toString(), QString("43"));
    QVERIFY(!q.next());
}

void TestOrderRegistration::failedVisitLeavesNoOrder() {
    TestEnvironment env;
    auto db = env.newDatabase();
    db->exec("DROP TABLE homevisit");
    NewOrder visit = completeOrder();
    visit.place = RepairPlace::HomeVisit;
    QVERIFY_THROWS_EXCEPTION(store::DbError, registerOrder(*db, visit, 1, QDate::currentDate()));
    QCOMPARE(db->scalar("SELECT count(*) FROM porychka").toInt(), 0);
}

void TestOrderRegistration::failedOrderLeavesNoVisit() {
    TestEnvironment env;
    auto db = env.newDatabase();
    // A column the insert needs is gone: the order fails, and the visit is never written.
    db->exec("ALTER TABLE porychka RENAME COLUMN por_note TO old_note");
    NewOrder visit = completeOrder();
    visit.place = RepairPlace::HomeVisit;
    QVERIFY_THROWS_EXCEPTION(store::DbError, registerOrder(*db, visit, 1, QDate::currentDate()));
    QCOMPARE(db->scalar("SELECT count(*) FROM porychka").toInt(), 0);
    QCOMPARE(db->scalar("SELECT count(*) FROM homevisit").toInt(), 0);
}

void TestOrderRegistration::latestOrderOfTheSameCar() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 1, .client = "Стар собственик", .regNo = "СА1234АВ"});
    order(*db, {.id = 2,
                .client = "Нов собственик",
                .phone = "0877000000",
                .marka = "Опел",
                .model = "Астра",
                .regNo = "СА1234АВ",
                .couppe = "W0L000",
                .engine = "Z16"});
    order(*db, {.id = 3, .client = "Друг", .regNo = "СА9999АВ"});
    db->exec("UPDATE porychka SET fiscal = NULL WHERE idPor = 1");

    const auto found = latestOrderOfCar(*db, "са1234ав"); // Cyrillic, other letter case
    QVERIFY(found);
    QCOMPARE(found->clientName, QString("Нов собственик"));
    QCOMPARE(found->clientPhone, QString("0877000000"));
    QCOMPARE(found->marka, QString("Опел"));
    QCOMPARE(found->model, QString("Астра"));
    QCOMPARE(found->modify, QString("1.9 TDI"));
    QCOMPARE(found->engine, QString("Z16"));
    QCOMPARE(found->year, QString("2001"));
    QCOMPARE(found->couppe, QString("W0L000"));
    QVERIFY(!latestOrderOfCar(*db, "СА0000АВ"));
    QVERIFY(!latestOrderOfCar(*db, "СА1234")); // a part of a number is another car

    db->exec("DELETE FROM porychka WHERE idPor = 2");
    QCOMPARE(latestOrderOfCar(*db, "СА1234АВ")->couppe, QString()); // null empties the field
}

void TestOrderRegistration::previousRepairsOfTheCar() {
    TestEnvironment env;
    auto db = env.newDatabase();
    // Stored numbers are in their one form; the one asked for is typed with Latin look-alikes.
    order(*db, {.id = 5, .regNo = "СА1234АВ", .type = 1});
    order(*db, {.id = 9,
                .marka = "vw",
                .model = "GOLF",
                .regNo = "СА1234АВ",
                .ready = true,
                .readyDate = QDate(2024, 1, 10)});
    order(*db, {.id = 6, .model = "Passat", .regNo = "СА1234АВ"});
    order(*db, {.id = 7, .regNo = "СА0000АВ"});
    const auto rows = previousRepairs(*db, "VW", "Golf", "CA1234AB");
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].number, qint64(5));
    QCOMPARE(rows[0].typeText, QString("По собствена гаранция"));
    QCOMPARE(rows[1].number, qint64(9));
    QCOMPARE(rows[1].readyDate, QDate(2024, 1, 10));
    QVERIFY(previousRepairs(*db, "VW", "Golf", "CA9999AB").isEmpty());
}

void TestOrderRegistration::symptomLines_data() {
    QTest::addColumn<QVariant>("group");
    QTest::addColumn<QVariant>("code");
    QTest::addColumn<QString>("line");
    QTest::newRow("group and code")
        << QVariant("VW") << QVariant("P0301") << "Прекъсва, група: VW, код: P0301;";
    QTest::newRow("group only") << QVariant("VW") << QVariant() << "Прекъсва, група: VW;";
    QTest::newRow("code only") << QVariant() << QVariant("P0301") << "Прекъсва, код: P0301;";
    QTest::newRow("neither") << QVariant() << QVariant() << "Прекъсва;";
}

void TestOrderRegistration::symptomLines() {
    QFETCH(QVariant, group);
    QFETCH(QVariant, code);
    QFETCH(QString, line);
    QCOMPARE(symptomLine("Прекъсва", group, code), line);
    QCOMPARE(appendLine(QString(), line), line);
    QCOMPARE(appendLine("Тракане;", line), "Тракане;\n" + line);
}

QTEST_MAIN(TestOrderRegistration)
#include "test_order_registration.moc"

#include "orders/order_register.h"
#include "orders/parts_in_orders.h"
#include "orders/symptom_codes.h"
#include "store/sql_values.h"
#include "support/builders.h"
#include "support/test_environment.h"

#include <QSqlField>
#include <QSqlRecord>
#include <QTest>

using namespace orders;
using builders::order;
using testing::TestEnvironment;

Q_DECLARE_METATYPE(orders::FixedReport)
Q_DECLARE_METATYPE(orders::RegisterCriteria)
Q_DECLARE_METATYPE(orders::PartsInOrdersFilter)

namespace {

using Numbers = QList<qint64>;

Numbers selectedNumbers(store::Database& db, const Selection& s) {
    QSqlQuery q = db.exec(registerQuery(s), s.binds);
    Numbers numbers;
    while (q.next())
        numbers << q.value(ColIdPor).toLongLong();
    return numbers;
}

const QDate kToday = QDate::currentDate();

// Orders of every kind the register tells apart.
struct RegisterData {
    qint64 ivan = 0;
    qint64 left = 0;
    explicit RegisterData(store::Database& db) {
        ivan = builders::employee(db, {.name = "Иван Техник"});
        left = builders::employee(db, {.name = "Петър Стар", .active = false});
        builders::employee(db, {.name = "Мария Касиер", .kind = staff::kOtherEmployee});
        // 1: open, due tomorrow; 2: open, due today; 3: open, overdue.
        order(db, {.id = 1,
                   .client = "Иван Петров",
                   .porDate = kToday.addDays(-40),
                   .endDate = kToday.addDays(1),
                   .idClerk = ivan});
        order(db, {.id = 2,
                   .client = "Георги Иванов",
                   .adres = "Пловдив",
                   .phone = "032111",
                   .marka = "Опел",
                   .model = "Астра",
                   .regNo = "РВ1111АК",
                   .engine = "Z16",
                   .porDate = kToday.addDays(-3),
                   .endDate = kToday,
                   .idClerk = left});
        order(db, {.id = 3,
                   .client = "Шон О'Брайън",
                   .regNo = "СА5555ВВ",
                   .porDate = kToday.addDays(-10),
                   .endDate = kToday.addDays(-2)});
        // 4: ready, not paid; 5: ready and paid.
        order(db, {.id = 4,
                   .client = "ИВАН ДРАГАНОВ",
                   .porDate = kToday.addDays(-20),
                   .ready = true,
                   .readyDate = kToday.addDays(-5),
                   .sumAll = 100,
                   .pech = 30});
        order(db, {.id = 5,
                   .client = "Анна",
                   .porDate = kToday.addDays(-30),
                   .ready = true,
                   .readyDate = kToday.addDays(-25),
                   .payed = true,
                   .payDate = kToday.addDays(-1),
                   .taksa = 5,
                   .sumTrud = 40,
                   .sumParts = 60,
                   .sumAll = 105,
                   .pech = 45.5});
    }
};

} // namespace

class TestOrderRegisterLogic : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void criteria_data();
    void criteria();
    void noUsableCriterion();
    void fixedReports_data();
    void fixedReports();
    void gridColumnsAndTotals();
    void technicianChoicesMarkThoseWhoLeft();
    void typeChangeIsRefusedWhileTheOrderHasWork_data();
    void typeChangeIsRefusedWhileTheOrderHasWork();
    void headerEditKeepsColumnsLeftEmpty();
    void restoreWithdrawsEveryEarningOfTheOrder();
    void waitingForParts();
    void partsInOrders_data();
    void partsInOrders();
    void symptomRecordIsTrimmed();
};

void TestOrderRegisterLogic::criteria_data() {
    QTest::addColumn<RegisterCriteria>("criteria");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Numbers>("numbers");
    const QString from = kToday.addDays(-15).toString("dd.MM.yyyy");
    const QString to = kToday.addDays(-3).toString("dd.MM.yyyy");

    QTest::newRow("client in any letter case")
        << RegisterCriteria{.names = " иван "} << "Kлиент съдържа \"иван\"" << Numbers{1, 2, 4};
    QTest::newRow("three letters are ignored beside a real criterion")
        << RegisterCriteria{.names = "Ива", .adres = "Пловдив"} << "Адрес съдържа \"Пловдив\""
        << Numbers{2};
    QTest::newRow("order number beats every other criterion")
        << RegisterCriteria{.porNo = "3", .names = "Георги"} << "Номер на поръчка: 3" << Numbers{3};
    QTest::newRow("apostrophe in the client")
        << RegisterCriteria{.names = "О'Брайън"} << "Kлиент съдържа \"О'Брайън\"" << Numbers{3};
    QTest::newRow("brand, model and registration joined")
        << RegisterCriteria{.marka = "опел", .model = "астр", .regNo = "рв11"}
        << "Марка = \"опел\" и Модел съдържа \"астр\" и Рег. номер съдържа \"рв11\"" << Numbers{2};
    QTest::newRow("a star is the wildcard")
        << RegisterCriteria{.regNo = "СА*ВВ"} << "Рег. номер съдържа \"СА*ВВ\"" << Numbers{3};
    QTest::newRow("percent is a plain letter")
        << RegisterCriteria{.phone = "08%8"} << "Телефон съдържа \"08%8\"" << Numbers{};
    QTest::newRow("technician") << RegisterCriteria{.clerk = "Иван Техник"} << "Техник: Иван Техник"
                                << Numbers{1};
    QTest::newRow("technician who left")
        << RegisterCriteria{.clerk = "Петър Стар - напуснал"} << "Техник: Петър Стар" << Numbers{2};
    QTest::newRow("chassis and engine")
        << RegisterCriteria{.couppe = "wvwzzz", .engine = "AGR*"}
        << "No на щаси съдържа \"wvwzzz\" и No на двигател съдържа \"AGR*\"" << Numbers{1, 3, 4, 5};
    QTest::newRow("registration period")
        << RegisterCriteria{.from = kToday.addDays(-15), .to = kToday.addDays(-3)}
        << "след дата " + from + " и преди дата " + to << Numbers{2, 3};
}

void TestOrderRegisterLogic::criteria() {
    QFETCH(RegisterCriteria, criteria);
    QFETCH(QString, text);
    QFETCH(Numbers, numbers);
    TestEnvironment env;
    auto db = env.newDatabase();
    RegisterData data(*db);
    const auto selection = criteriaSelection(*db, criteria);
    QVERIFY(selection);
    QCOMPARE(selection->text, text);
    QCOMPARE(selectedNumbers(*db, *selection), numbers);
}

void TestOrderRegisterLogic::noUsableCriterion() {
    TestEnvironment env;
    auto db = env.newDatabase();
    QVERIFY(!criteriaSelection(*db, {}));
    QVERIFY(!criteriaSelection(*db, {.names = "Ива", .adres = "   ", .model = "Гол"}));
    QVERIFY(!criteriaSelection(*db, {.porNo = "  ", .regNo = "CA1"}));
}

void TestOrderRegisterLogic::fixedReports_data() {
    QTest::addColumn<FixedReport>("report");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Numbers>("numbers");
    const QDate none;
    const auto d = [](int days) { return kToday.addDays(days); };
    const auto t = [](int days) { return kToday.addDays(days).toString("dd.MM.yyyy"); };
    QTest::newRow("unfinished") << FixedReport::Unfinished << none << none
                                << "Неотчетени (неизпълнени) ремонти" << Numbers{1, 2, 3};
    QTest::newRow("overdue includes today")
        << FixedReport::Overdue << none << none
        << "Всички неотчетени поръчки с изтекъл срок на ремонт" << Numbers{2, 3};
    QTest::newRow("ready, not collected") << FixedReport::ReadyNotCollected << none << none
                                          << "Всички готови, но непредадени поръчки" << Numbers{4};
    QTest::newRow("received in a period")
        << FixedReport::Received << d(-20) << d(-3)
        << "Приети уреди през периода " + t(-20) + " - " + t(-3) << Numbers{2, 3, 4};
    QTest::newRow("received until") << FixedReport::Received << none << d(-30)
                                    << "Приети уреди до дата " + t(-30) << Numbers{1, 5};
    QTest::newRow("repaired after") << FixedReport::Repaired << d(-10) << none
                                    << "Извършени ремонти след " + t(-10) << Numbers{4};
    QTest::newRow("paid without dates")
        << FixedReport::Paid << none << none << "Платени ремонти" << Numbers{1, 2, 3, 4, 5};
    QTest::newRow("paid in a period")
        << FixedReport::Paid << d(-1) << d(0)
        << "Платени ремонти през периода " + t(-1) + " - " + t(0) << Numbers{5};
}

void TestOrderRegisterLogic::fixedReports() {
    QFETCH(FixedReport, report);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QString, text);
    QFETCH(Numbers, numbers);
    TestEnvironment env;
    auto db = env.newDatabase();
    RegisterData data(*db);
    const auto optional = [](const QDate& d) {
        return d.isValid() ? std::optional(d) : std::nullopt;
    };
    const Selection s = fixedReportSelection(report, optional(from), optional(to), kToday);
    QCOMPARE(s.text, text);
    QCOMPARE(s.condition.isEmpty(), usesPeriod(report) && !from.isValid() && !to.isValid());
    QCOMPARE(selectedNumbers(*db, s), numbers);
}

void TestOrderRegisterLogic::gridColumnsAndTotals() {
    TestEnvironment env;
    auto db = env.newDatabase();
    RegisterData data(*db);
    db->exec("UPDATE porychka SET typeWarr = NULL WHERE idPor = 3");
    db->exec("UPDATE porychka SET porState = 2, typeWarr = 2 WHERE idPor = 2");
    db->exec("INSERT INTO externals (idPor, back) VALUES (2, false)");
    db->exec("INSERT INTO externals (idPor, back) VALUES (1, true)");
    const Selection all = fixedReportSelection(FixedReport::Paid, {}, {}, kToday);
    QSqlQuery q = db->exec(registerQuery(all));
    QMap<qint64, QSqlRecord> rows;
    while (q.next())
        rows.insert(q.value(ColIdPor).toLongLong(), q.record());
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows[1].count(), int(ColumnCount));
    QCOMPARE(registerHeaders().size(), int(ColumnCount));
    QCOMPARE(rows[1].value(ColWarranty).toString(), QString("Негаранционен ремонт"));
    QCOMPARE(rows[2].value(ColWarranty).toString(), QString("Външна гаранция"));
    QCOMPARE(rows[3].value(ColWarranty).toString(), QString());
    QCOMPARE(rows[1].value(ColTypePor).toString(), QString("Ремонт"));
    QCOMPARE(rows[3].value(ColTypePor).toString(), QString()); // no type, no kind
    QCOMPARE(rows[1].value(ColState).toString(), QString("Регистрирана"));
    QCOMPARE(rows[2].value(ColState).toString(), QString("Чака за части"));
    QCOMPARE(rows[1].value(ColClerk).toString(), QString("Иван Техник"));
    QVERIFY(rows[3].value(ColClerk).isNull());
    QCOMPARE(store::boolFromDb(rows[2].value(ColExternal)), true);
    QCOMPARE(store::boolFromDb(rows[1].value(ColExternal)), false); // came back
    QCOMPARE(store::dateFromDb(rows[5].value(ColPayDate)), kToday.addDays(-1));

    const RegisterTotals totals = registerTotals(*db, all);
    QCOMPARE(totals.taksa, 5.0);
    QCOMPARE(totals.sumTrud, 40.0);
    QCOMPARE(totals.sumParts, 60.0);
    QCOMPARE(totals.sumAll, 205.0);
    QCOMPARE(totals.pech, 75.5);
    const auto one = criteriaSelection(*db, {.porNo = "4"});
    QCOMPARE(registerTotals(*db, *one).pech, 30.0);
}

void TestOrderRegisterLogic::technicianChoicesMarkThoseWhoLeft() {
    TestEnvironment env;
    auto db = env.newDatabase();
    RegisterData data(*db);
    QCOMPARE(technicianChoices(*db),
             QStringList({"Без избор", "Иван Техник", "Петър Стар - напуснал"}));
    QCOMPARE(technicianId(*db, "Петър Стар - напуснал"), std::optional<qint64>(data.left));
    QVERIFY(!technicianId(*db, "Никой"));
}

void TestOrderRegisterLogic::typeChangeIsRefusedWhileTheOrderHasWork_data() {
    QTest::addColumn<bool>("parts");
    QTest::addColumn<bool>("labour");
    QTest::newRow("nothing booked") << false << false;
    QTest::newRow("a part") << true << false;
    QTest::newRow("a labour line") << false << true;
}

void TestOrderRegisterLogic::typeChangeIsRefusedWhileTheOrderHasWork() {
    QFETCH(bool, parts);
    QFETCH(bool, labour);
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 8});
    order(*db, {.id = 9});
    builders::partLine(*db, 9, {.part = 1, .amount = 1});
    builders::labourLine(*db, 9); // another order's work does not count
    if (parts)
        builders::partLine(*db, 8, {.part = 1, .amount = 2});
    if (labour)
        builders::labourLine(*db, 8);
    const bool booked = parts || labour;
    QCOMPARE(orderHasWork(*db, 8), booked);
    QCOMPARE(changeOrderType(*db, 8, 2), !booked);
    QCOMPARE(db->scalar("SELECT typeWarr FROM porychka WHERE idPor = 8").toInt(), booked ? 0 : 2);
}

void TestOrderRegisterLogic::headerEditKeepsColumnsLeftEmpty() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 8});
    editOrderHeader(*db, 8, "  Фирма 'Слънце' ООД ", "   ", " CB0001AA ");
    QSqlQuery q = db->exec("SELECT clientnames, fiscal, serial FROM porychka WHERE idPor = 8");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QString("Фирма 'Слънце' ООД"));
    QCOMPARE(q.value(1).toString(), QString("WVWZZZ1JZ1W000001"));
    QCOMPARE(q.value(2).toString(), QString("СВ0001АА")); // the one form of the numbers
}

void TestOrderRegisterLogic::restoreWithdrawsEveryEarningOfTheOrder() {
    TestEnvironment env;
    auto db = env.newDatabase();
    // Reported ready: two earnings of order 8 and one of order 9, none paid out yet.
    for (const auto& [por, lines] : {std::pair{8, 2}, {9, 1}}) {
        order(*db, {.id = por});
        for (int i = 0; i < lines; ++i)
            builders::labourLine(*db, por);
        builders::makeReady(*db, por);
    }
    QCOMPARE(db->scalar("SELECT count(*) FROM paymClerks WHERE payed = false").toInt(), 3);
    restoreToWork(*db, 8);
    QCOMPARE(db->scalar("SELECT count(*) FROM paymClerks WHERE noPor = 8").toInt(), 0);
    QCOMPARE(db->scalar("SELECT count(*) FROM paymClerks WHERE noPor = 9").toInt(), 1);
    QSqlQuery q = db->exec("SELECT ready, readyDate, porState FROM porychka WHERE idPor = 8");
    QVERIFY(q.next());
    QCOMPARE(store::boolFromDb(q.value(0)), false);
    QVERIFY(q.value(1).isNull());
    QCOMPARE(q.value(2).toInt(), 1);
    QCOMPARE(db->scalar("SELECT porState FROM porychka WHERE idPor = 9").toInt(), 3);
}

void TestOrderRegisterLogic::waitingForParts() {
    TestEnvironment env;
    auto db = env.newDatabase();
    order(*db, {.id = 8});
    order(*db, {.id = 9});
    setWaitingForParts(*db, 8);
    QCOMPARE(db->scalar("SELECT porState FROM porychka WHERE idPor = 8").toInt(), 2);
    QCOMPARE(db->scalar("SELECT porState FROM porychka WHERE idPor = 9").toInt(), 1);
}

void TestOrderRegisterLogic::partsInOrders_data() {
    QTest::addColumn<PartsInOrdersFilter>("filter");
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("not ready") << PartsInOrdersFilter::NotReady << QDate() << QDate()
                               << QStringList{"Филтър масло=5", "Свещ=1"};
    QTest::newRow("not paid") << PartsInOrdersFilter::NotPaid << QDate() << QDate()
                              << QStringList{"Филтър масло=7", "Свещ=1"};
    QTest::newRow("period from") << PartsInOrdersFilter::Period << kToday.addDays(-5) << QDate()
                                 << QStringList{"Филтър масло=5", "Свещ=1"};
    QTest::newRow("period until") << PartsInOrdersFilter::Period << QDate() << kToday.addDays(-6)
                                  << QStringList{"Филтър масло=6", "ABC123=4"};
    QTest::newRow("period without dates covers every order")
        << PartsInOrdersFilter::Period << QDate() << QDate()
        << QStringList{"Филтър масло=11", "Свещ=1", "ABC123=4"};
}

void TestOrderRegisterLogic::partsInOrders() {
    QFETCH(PartsInOrdersFilter, filter);
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(QStringList, rows);
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 filter1 = builders::part(
        *db, {.name = "Филтър масло", .type = "Филтри", .partNo = "W712", .amount = 5});
    const qint64 plug =
        builders::part(*db, {.name = "Свещ", .type = "Запалване", .partNo = "BKR6E", .amount = 5});
    order(*db, {.id = 1, .porDate = kToday.addDays(-1)});
    order(*db, {.id = 2, .porDate = kToday.addDays(-10)});
    order(*db, {.id = 3, .porDate = kToday.addDays(-20)});
    order(*db, {.id = 4, .porDate = kToday.addDays(-2)});
    builders::partLine(*db, 1, {.part = filter1, .amount = 3});
    builders::partLine(*db, 2, {.part = filter1, .amount = 2});
    builders::partLine(*db, 1, {.part = plug, .amount = 1});
    builders::partLine(*db, 3, {.part = filter1, .amount = 4});
    builders::partLine(*db, 4, {.part = filter1, .amount = 2});
    builders::partLine(*db, 4, {.part = plug, .amount = 0});
    // A line from an external warehouse database.
    db->exec(
        "INSERT INTO PartsInPor (idPor, amnt, microPart, microBase) VALUES (3, 4, 'ABC123', 1)");
    // Order 3 is ready and paid, order 4 ready and waiting for its client.
    builders::makeReady(*db, 3);
    builders::makePaid(*db, 3);
    builders::makeReady(*db, 4);
    const auto optional = [](const QDate& d) {
        return d.isValid() ? std::optional(d) : std::nullopt;
    };
    for (int run = 0; run < 2; ++run) { // a second run starts afresh
        QStringList got;
        for (const PartInOrders& p :
             orders::partsInOrders(*db, filter, optional(from), optional(to)))
            got << p.part + "=" + QString::number(p.amount);
        got.sort();
        QStringList expected = rows;
        expected.sort();
        QCOMPARE(got, expected);
    }
    const auto all = orders::partsInOrders(*db, PartsInOrdersFilter::Period, {}, {});
    const auto oil = std::find_if(all.begin(), all.end(),
                                  [](const PartInOrders& p) { return p.part == "Филтър масло"; });
    QCOMPARE(oil->type, QString("Филтри"));
    QCOMPARE(oil->partNo, QString("W712"));
    QCOMPARE(oil->idPart, std::optional<qint64>(filter1));
}

void TestOrderRegisterLogic::symptomRecordIsTrimmed() {
    QSqlRecord r;
    for (const char* name : {"description", "marka", "code_add"})
        r.append(QSqlField(name, QMetaType(QMetaType::QString)));
    r.setValue("description", "  Тракане отпред  ");
    r.setValue("marka", "   ");
    r.setValue("code_add", QVariant());
    QVERIFY(prepareSymptomRecord(r));
    QCOMPARE(r.value("description").toString(), QString("Тракане отпред"));
    QVERIFY(r.value("marka").isNull());
    QVERIFY(r.value("code_add").isNull());
    r.setValue("description", " \t ");
    QVERIFY(!prepareSymptomRecord(r));
}

QTEST_MAIN(TestOrderRegisterLogic)
#include "test_order_register_logic.moc"

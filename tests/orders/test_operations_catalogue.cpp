#include "orders/labour_pricing.h"
#include "orders/operations_catalogue_window.h"
#include "orders/operations_tree.h"
#include "shell/business_settings.h"
#include "shell/session.h"
#include "store/operation_paths.h"
#include "support/builders.h"
#include "support/test_environment.h"
#include "support/widget_access.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

using namespace orders;
using testing::child;
using testing::click;
using testing::TestEnvironment;

namespace {

qint64 node(store::Database& db, qint64 parent, const QString& name) {
    const NodeResult r = addNode(db, parent, name);
    if (!r.ok())
        qFatal("node refused");
    return *r.id;
}

qint64 operation(store::Database& db, qint64 at, const QString& code, const QString& name) {
    Operation op{.code = code,
                 .name = name,
                 .clientPrice = 60,
                 .workerPrice = 20,
                 .warrantyPrice = 15,
                 .hours = 1.5};
    if (saveOperation(db, op, at))
        qFatal("operation refused");
    return op.id;
}

QString pathOf(store::Database& db, qint64 op) {
    return db.scalar("SELECT tree_path FROM operations WHERE id = :id", {{"id", op}}).toString();
}

} // namespace

class TestOperationsCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pricing_data();
    void pricing();
    void hoursAndCoefficientScaleBothPrices();
    void pathsOfLongIds();
    void movingASubtreeCarriesItsOperations();
    void treeEditingRules();
    void operationRules();
    void codeSearch();
    void orderModeEntry();
};

void TestOperationsCatalogue::pricing_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("orderType");
    QTest::addColumn<bool>("catalogue");
    QTest::addColumn<double>("clientPrice");
    QTest::addColumn<double>("technician");
    QTest::addColumn<double>("hours");
    // The technician: 40 %, 20.00 an hour normal, 10.00 an hour unpaid; the operation: client
    // 60.00, technician 20.00, warranty 15.00, 1.5 hours.
    const int pct = int(PayMode::ByPercent), fixed = int(PayMode::ByFixedAmount),
              time = int(PayMode::ByTime);
    QTest::newRow("percentage") << pct << 0 << true << 60.0 << 24.0 << 0.0;
    QTest::newRow("fixed amount") << fixed << 0 << true << 60.0 << 20.0 << 0.0;
    QTest::newRow("own warranty") << pct << 1 << true << 0.0 << 15.0 << 0.0;
    QTest::newRow("outside warranty, fixed") << fixed << 2 << true << 0.0 << 15.0 << 0.0;
    QTest::newRow("by time") << time << 0 << true << 30.0 << 12.0 << 1.5;
    QTest::newRow("by time, warranty") << time << 1 << true << 0.0 << 15.0 << 1.5;
    QTest::newRow("free text") << pct << 0 << false << 0.0 << 0.0 << 0.0;
    QTest::newRow("free text by time") << time << 0 << false << 20.0 << 8.0 << 1.0;
    QTest::newRow("free text by time, warranty") << time << 2 << false << 0.0 << 10.0 << 1.0;
}

void TestOperationsCatalogue::pricing() {
    QFETCH(int, mode);
    QFETCH(int, orderType);
    QFETCH(bool, catalogue);
    const TechnicianRates rates{40, 20, 10};
    const CatalogueOperation op{1, QString("M1"), "Смяна на масло", 60, 20, 15, 1.5};
    const LabourEntry e = catalogue ? priceCatalogueOperation(PayMode(mode), orderType, rates, op)
                                    : priceFreeText(PayMode(mode), orderType, rates);
    QTEST(e.clientPrice, "clientPrice");
    QTEST(e.technicianAmount, "technician");
    QTEST(e.hours, "hours");
    QCOMPARE(e.description, catalogue ? QString("код: M1; Смяна на масло") : QString());
}

void TestOperationsCatalogue::hoursAndCoefficientScaleBothPrices() {
    LabourEntry e = priceCatalogueOperation(PayMode::ByTime, 0, {40, 20, 10},
                                            {1, std::nullopt, "Диагностика", 0, 0, 0, 1.5});
    QCOMPARE(e.description, QString("Диагностика"));
    rescale(e, 1.5, 3);
    QCOMPARE(e.clientPrice, 60.0);
    QCOMPARE(e.technicianAmount, 24.0);
    rescale(e, 0, 5); // nothing remembered: unchanged
    QCOMPARE(e.clientPrice, 60.0);
    rescale(e, 3, 1);
    QCOMPARE(e.clientPrice, 20.0);
    QCOMPARE(e.technicianAmount, 8.0);
}

void TestOperationsCatalogue::pathsOfLongIds() {
    TestEnvironment env;
    auto db = env.newDatabase();
    db->exec("INSERT INTO opTree (id, parent, Classification) VALUES (3, -1, 'VW'), "
             "(123456, 3, 'Спирачки')");
    QCOMPARE(nodeIdentityPath(*db, 123456), QString("$00003\\$123456\\"));
    QCOMPARE(nodeNamePath(*db, 123456), QString("VW\\Спирачки\\"));
    QCOMPARE(nodeLevel(*db, 123456), 1);
}

void TestOperationsCatalogue::movingASubtreeCarriesItsOperations() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 vw = node(*db, kNoParent, "VW");
    const qint64 opel = node(*db, kNoParent, "Opel");
    const qint64 engine = node(*db, vw, "Двигател");
    const qint64 head = node(*db, engine, "Глава");
    const qint64 a = operation(*db, engine, "E1", "Смяна на ремък");
    const qint64 b = operation(*db, head, "E2", "Шлайфане");
    const qint64 other = operation(*db, vw, "V1", "Преглед");

    QVERIFY(moveNode(*db, engine, opel).ok());
    QCOMPARE(pathOf(*db, a), store::operationIdentityPath({opel, engine}));
    QCOMPARE(pathOf(*db, b), store::operationIdentityPath({opel, engine, head}));
    QCOMPARE(pathOf(*db, other), store::operationIdentityPath({vw}));

    const QString before = pathOf(*db, b);
    QVERIFY(moveNode(*db, engine, opel).ok()); // the same place changes nothing
    QCOMPARE(pathOf(*db, b), before);
    QCOMPARE(*moveNode(*db, engine, head).refusal, NodeRefusal::IntoItself);
    QCOMPARE(pathOf(*db, b), before);

    moveOperations(*db, {a, other}, head);
    QCOMPARE(pathOf(*db, a), nodeIdentityPath(*db, head));
    QCOMPARE(
        db->scalar("SELECT idmarka FROM operations WHERE id = :id", {{"id", other}}).toLongLong(),
        head);
}

void TestOperationsCatalogue::treeEditingRules() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 vw = node(*db, kNoParent, "VW");
    qint64 deepest = vw;
    for (int level = 1; level <= 5; ++level)
        deepest = node(*db, deepest, QString("Ниво %1").arg(level));
    QCOMPARE(nodeLevel(*db, deepest), 5);
    QVERIFY(!canAddChild(*db, deepest));
    QCOMPARE(*addNode(*db, deepest, "Още").refusal, NodeRefusal::TooDeep);
    QCOMPARE(*addNode(*db, vw, "   ").refusal, NodeRefusal::EmptyName);
    QCOMPARE(*addNode(*db, vw, " ниво 1 ").refusal, NodeRefusal::DuplicateName);
    QCOMPARE(*renameNode(*db, deepest, "").refusal, NodeRefusal::EmptyName);

    QCOMPARE(*deleteNode(*db, vw).refusal, NodeRefusal::NotEmpty); // children
    operation(*db, deepest, "X1", "Операция");
    QCOMPARE(*deleteNode(*db, deepest).refusal, NodeRefusal::NotEmpty); // operations
    const qint64 empty = node(*db, vw, "Празен");
    QVERIFY(deleteNode(*db, empty).ok());
    QCOMPARE(db->scalar("SELECT count(*) FROM opTree WHERE id = :id", {{"id", empty}}).toInt(), 0);
}

void TestOperationsCatalogue::operationRules() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 vw = node(*db, kNoParent, "VW");
    const qint64 brakes = node(*db, vw, "Спирачки");
    operation(*db, brakes, "B1", "Накладки");
    Operation dup{.code = " B1 ", .name = "Дискове"};
    QCOMPARE(saveOperation(*db, dup, brakes), std::optional(OperationRefusal::CodeTaken));
    Operation noName{.code = "B2", .name = "  "};
    QCOMPARE(saveOperation(*db, noName, brakes), std::optional(OperationRefusal::EmptyName));
    Operation negative{.name = "Дискове", .workerPrice = -1};
    QCOMPARE(saveOperation(*db, negative, brakes), std::optional(OperationRefusal::NegativePrice));
    QVERIFY(!saveOperation(*db, negative, brakes, OperationCheck{false}));
    // Without a code several operations may exist; editing keeps its own code.
    Operation plain{.name = "Обезвъздушаване"};
    QVERIFY(!saveOperation(*db, plain, brakes));
    auto stored = loadOperation(*db, plain.id);
    QVERIFY(stored && stored->code.isEmpty());
    QVERIFY(db->scalar("SELECT Code FROM operations WHERE id = :id", {{"id", plain.id}}).isNull());
    // Editing an operation listed under a higher node moves it there.
    QVERIFY(!saveOperation(*db, *stored, vw));
    QCOMPARE(pathOf(*db, plain.id), nodeIdentityPath(*db, vw));
}

void TestOperationsCatalogue::codeSearch() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = builders::session(*db);
    const qint64 vw = node(*db, kNoParent, "VW");
    for (const QString code : {"AB1", "AB2", "XAB", "CD1"})
        operation(*db, vw, code, "Операция " + code);
    TfrmWorkOp w(*db, session);
    w.show();
    QCOMPARE(w.listedOperations(), 4);
    QCOMPARE(w.statusText(), QString("VW\\"));
    child<QLineEdit>(w, "eSearch")->setText("AB");
    click(w, "btnGo");
    QCOMPARE(env.responder().texts(), QStringList{"Въведете поне 3 символа за търсене"});
    QCOMPARE(w.listedOperations(), 4);
    child<QLineEdit>(w, "eSearch")->setText("AB*");
    click(w, "btnGo");
    QCOMPARE(w.listedOperations(), 2);
    QCOMPARE(child<QLineEdit>(w, "eSearch")->text(), QString());
    child<QLineEdit>(w, "eSearch")->setText("*AB*");
    click(w, "btnGo");
    QCOMPARE(w.listedOperations(), 3);
}

void TestOperationsCatalogue::orderModeEntry() {
    TestEnvironment env;
    auto db = env.newDatabase();
    shell::Session session = builders::session(*db);
    session.settings().setInt(*db, shell::settingKeys::workByTime, 1);
    builders::employee(*db, {.name = "Иван", .percent = 40, .normalRate = 20, .warrantyRate = 10});
    builders::employee(*db, {.name = "Петър", .percent = 50, .normalRate = 30, .warrantyRate = 10});
    const qint64 vw = node(*db, kNoParent, "VW");
    operation(*db, vw, "D1", "Диагностика");
    TfrmWorkOp w(*db, session);
    w.setOrderMode(0, {"Иван", "Петър"});
    w.show();
    click(w, "btnGo");
    QCOMPARE(child<QLineEdit>(w, "clPrice")->text(), QString("30,00"));
    QCOMPARE(child<QLineEdit>(w, "payClerk")->text(), QString("12,00"));
    // Three hours instead of one and a half double both prices.
    QLineEdit* hours = child<QLineEdit>(w, "wTime");
    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(hours, &focusIn);
    hours->setText("3");
    Q_EMIT hours->editingFinished();
    QCOMPARE(child<QLineEdit>(w, "clPrice")->text(), QString("60,00"));
    QCOMPARE(child<QLineEdit>(w, "payClerk")->text(), QString("24,00"));
    // Another technician: his own rates.
    child<QComboBox>(w, "cmbClerks")->setCurrentText("Петър");
    QCOMPARE(child<QLineEdit>(w, "clPrice")->text(), QString("45,00"));
    // Free text needs a description.
    child<QRadioButton>(w, "rb2")->setChecked(true);
    click(w, "btnOk");
    QCOMPARE(env.responder().texts(), QStringList{"Въведете описание на труда"});
    child<QLineEdit>(w, "eInsOp")->setText("Пробно каране");
    click(w, "btnOk");
    QVERIFY(w.choice());
    QCOMPARE(w.choice()->technician, QString("Петър"));
    QCOMPARE(w.choice()->entry.description, QString("Пробно каране"));
    QCOMPARE(w.choice()->entry.clientPrice, 30.0);
    QVERIFY(!w.choice()->operationId);
    QVERIFY(!w.inOrderMode());
}

QTEST_MAIN(TestOperationsCatalogue)
#include "test_operations_catalogue.moc"

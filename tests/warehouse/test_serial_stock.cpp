#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "ui/grid_data.h"
#include "warehouse/serial_stock.h"
#include "warehouse/serial_stock_window.h"
#include "warehouse/stock.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

using namespace testing;

namespace {

QStringList serialsOf(const QList<warehouse::SerialUnit>& units) {
    QStringList serials;
    for (const auto& unit : units)
        serials << unit.serial;
    return serials;
}

QStringList columnOf(const ui::GridData& data, int column) {
    QStringList values;
    for (const auto& row : data.rows)
        values << row.at(column).text;
    return values;
}

} // namespace

class TestSerialStock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void searchMatchesAnywhere_data();
    void searchMatchesAnywhere();
    void unitsLeaveAndReturnToTheList();
    void windowGroupsByTypeAndPart();
    void exportWritesTheListedUnits();

private:
    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<store::Database> db_;
    qint64 filter_ = 0;
    qint64 pump_ = 0;
};

void TestSerialStock::init() {
    env_ = std::make_unique<TestEnvironment>();
    db_ = env_->newDatabase();
    filter_ = builders::part(*db_, {.name = "Маслен филтър", .type = "Филтри"});
    pump_ = builders::part(*db_, {.name = "Водна помпа", .type = "Помпи"});
    for (const char* serial : {"ABC123", "abc-9", "50%OFF", "сн-абв-1"})
        warehouse::addSerialUnit(*db_, filter_, serial);
    for (const char* serial : {"XYZ1234", "70-OK"})
        warehouse::addSerialUnit(*db_, pump_, serial);
}

void TestSerialStock::cleanup() {
    db_.reset();
    env_.reset();
}

void TestSerialStock::searchMatchesAnywhere_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found");
    // By type ("Помпи" before "Филтри"), part and serial number.
    const QStringList all{"70-OK", "XYZ1234", "50%OFF", "ABC123", "abc-9", "сн-абв-1"};
    QTest::newRow("empty lists all") << "" << all;
    QTest::newRow("two characters list all") << "12" << all;
    QTest::newRow("two after trimming") << "  12  " << all;
    QTest::newRow("three digits anywhere") << "123" << QStringList{"XYZ1234", "ABC123"};
    QTest::newRow("letter case ignored") << "abc" << QStringList{"ABC123", "abc-9"};
    QTest::newRow("cyrillic case ignored") << "АБВ" << QStringList{"сн-абв-1"};
    QTest::newRow("star typed at the start") << "*123" << QStringList{"XYZ1234", "ABC123"};
    QTest::newRow("star inside is a wildcard") << "A*3" << QStringList{"ABC123"};
    QTest::newRow("percent is a plain character") << "0%O" << QStringList{"50%OFF"};
    QTest::newRow("nothing matches") << "QQQ" << QStringList{};
}

void TestSerialStock::searchMatchesAnywhere() {
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    QCOMPARE(serialsOf(warehouse::serialUnitsInStock(*db_, text)), found);
}

void TestSerialStock::unitsLeaveAndReturnToTheList() {
    TfrmNalSN w(*db_);
    w.show();
    QCOMPARE(w.listedUnits().rows.size(), 6);
    // Sold at the counter, or put on a goods receipt: gone from the list.
    warehouse::takeSerialUnit(*db_, pump_, "70-OK");
    click(w, "Button1");
    QVERIFY(!columnOf(w.listedUnits(), 3).contains("70-OK"));
    QCOMPARE(w.listedUnits().rows.size(), 5);
    // The receipt line removed: listed again.
    warehouse::addSerialUnit(*db_, pump_, "70-OK");
    click(w, "Button1");
    QVERIFY(columnOf(w.listedUnits(), 3).contains("70-OK"));
}

void TestSerialStock::windowGroupsByTypeAndPart() {
    TfrmNalSN w(*db_);
    auto* search = child<QLineEdit>(w, "eSearch");
    search->setText("left over");
    w.show();
    QCOMPARE(search->text(), QString()); // showing starts without a search
    auto* grid = child<QTreeView>(w, "grid");
    const QAbstractItemModel* model = grid->model();
    QCOMPARE(model->rowCount(), 2); // the two types
    QCOMPARE(model->index(0, 0).data().toString(), QString("Помпи"));
    const QModelIndex filters = model->index(1, 0);
    QCOMPARE(filters.data().toString(), QString("Филтри"));
    const QModelIndex filter = model->index(0, 0, filters);
    QCOMPARE(filter.data().toString(), QString("Маслен филтър"));
    QCOMPARE(model->rowCount(filter), 4);
    QCOMPARE(model->index(0, 3, filter).data().toString(), QString("50%OFF"));
    QVERIFY(grid->isExpanded(filters) && grid->isExpanded(filter));

    // Collapsing the group of a focused unit collapses its part and leaves the type open.
    grid->setCurrentIndex(model->index(1, 0, filter));
    child<QAction>(w, "N2")->trigger();
    QVERIFY(!grid->isExpanded(filter));
    QVERIFY(grid->isExpanded(filters));
    grid->setCurrentIndex(filters);
    child<QAction>(w, "N2")->trigger();
    QVERIFY(!grid->isExpanded(filters));
    child<QAction>(w, "N1")->trigger(); // with its subgroups
    QVERIFY(grid->isExpanded(filters) && grid->isExpanded(filter));
    child<QAction>(w, "N5")->trigger();
    QVERIFY(!grid->isExpanded(filters) && !grid->isExpanded(model->index(0, 0)));
    child<QAction>(w, "N4")->trigger();
    QVERIFY(grid->isExpanded(filter) && grid->isExpanded(model->index(0, 0)));

    // A search opens the list again with every group expanded.
    child<QAction>(w, "N5")->trigger();
    search->setText(" 123 ");
    click(w, "Button1");
    QCOMPARE(search->text(), QString("123"));
    QCOMPARE(model->rowCount(), 2);
    QVERIFY(grid->isExpanded(model->index(1, 0)) &&
            grid->isExpanded(model->index(0, 0, model->index(1, 0))));
    QCOMPARE(columnOf(w.listedUnits(), 3), (QStringList{"XYZ1234", "ABC123"}));
    QCOMPARE(columnOf(w.listedUnits(), 1), (QStringList{"Водна помпа", "Маслен филтър"}));
}

void TestSerialStock::exportWritesTheListedUnits() {
    TfrmNalSN w(*db_);
    w.show();
    auto* search = child<QLineEdit>(w, "eSearch");
    search->setText("QQQ");
    click(w, "Button1");
    env_->responder().fileNames << env_->path("never.xlsx");
    child<QAction>(w, "TBItem1")->trigger();
    QCOMPARE(env_->responder().fileNames.size(), 1); // an empty list asks for no file
    env_->responder().fileNames.clear();

    search->clear();
    click(w, "Button1");
    const QString path = env_->path("nal_serials.xlsx");
    env_->responder().fileNames << path;
    child<QAction>(w, "TBItem1")->trigger();
    QVERIFY(env_->responder().fileNames.isEmpty());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(2), QByteArray("PK")); // a workbook is a zip container
    QVERIFY(env_->responder().messages.isEmpty());
}

QTEST_MAIN(TestSerialStock)
#include "test_serial_stock.moc"

#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "warehouse/parts_search.h"

#include <QTest>

using namespace warehouse;
using testing::TestEnvironment;

namespace {

// Names of the parts a condition finds, in id order.
QStringList found(store::Database& db, const PartsCondition& condition) {
    QSqlQuery q =
        db.exec("SELECT Part FROM parts WHERE " + condition.sql + " ORDER BY id", condition.binds);
    QStringList names;
    while (q.next())
        names << q.value(0).toString();
    return names;
}

} // namespace

class TestPartsSearch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void findsInTheTickedColumns_data();
    void findsInTheTickedColumns();
    void noColumnTickedGivesNoCondition();
    void inStockListsOnlyPartsWithUnits();

private:
    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<store::Database> db_;
};

void TestPartsSearch::init() {
    env_ = std::make_unique<TestEnvironment>();
    db_ = env_->newDatabase();
    builders::part(*db_, {.name = "Маслен филтър",
                          .partNo = "W712/73",
                          .barcode = "3800001",
                          .catalogs = "OC 90; HU 712",
                          .amount = 4});
    builders::part(
        *db_,
        {.name = "маслен филтър", .partNo = "W712", .barcode = "3800002", .catalogs = "OC 90"});
    builders::part(*db_,
                   {.name = "Въздушен филтър", .partNo = "C2433", .catalogs = "LX 1", .amount = 2});
    builders::part(*db_, {.name = "Свещ 100%_x",
                          .partNo = "BKR6E",
                          .barcode = "4000",
                          .catalogs = "W712",
                          .amount = 1});
}

void TestPartsSearch::cleanup() {
    db_.reset();
    env_.reset();
}

void TestPartsSearch::findsInTheTickedColumns_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("boxes"); // 1 name, 2 part number, 3 catalogues, 4 barcode
    QTest::addColumn<bool>("inStock");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("whole designation, any letter case")
        << "МАСЛЕН ФИЛТЪР"
        << "1" << false << QStringList{"Маслен филтър", "маслен филтър"};
    QTest::newRow("typed text is the whole value") << "филтър"
                                                   << "1" << false << QStringList{};
    QTest::newRow("star is the wildcard")
        << "*филтър"
        << "1" << false << QStringList{"Маслен филтър", "маслен филтър", "Въздушен филтър"};
    QTest::newRow("surrounding blanks are trimmed")
        << "  въздушен*  "
        << "1" << false << QStringList{"Въздушен филтър"};
    QTest::newRow("percent and underscore are plain characters")
        << "*100%_*"
        << "1" << false << QStringList{"Свещ 100%_x"};
    QTest::newRow("percent does not match anything") << "Свещ%"
                                                     << "1" << false << QStringList{};
    QTest::newRow("part number") << "w712*"
                                 << "2" << false << QStringList{"Маслен филтър", "маслен филтър"};
    QTest::newRow("catalogue numbers")
        << "*OC 90*"
        << "3" << false << QStringList{"Маслен филтър", "маслен филтър"};
    QTest::newRow("barcode") << "38*"
                             << "4" << false << QStringList{"Маслен филтър", "маслен филтър"};
    QTest::newRow("two boxes, either column")
        << "W712*"
        << "23" << false << QStringList{"Маслен филтър", "маслен филтър", "Свещ 100%_x"};
    QTest::newRow("two boxes, in stock only")
        << "W712*"
        << "23" << true << QStringList{"Маслен филтър", "Свещ 100%_x"};
    QTest::newRow("three boxes") << "*1*"
                                 << "134" << false
                                 << QStringList{"Маслен филтър", "Въздушен филтър", "Свещ 100%_x"};
    QTest::newRow("all four boxes")
        << "*1*"
        << "1234" << false
        << QStringList{"Маслен филтър", "маслен филтър", "Въздушен филтър", "Свещ 100%_x"};
    QTest::newRow("all four boxes, in stock only")
        << "*1*"
        << "1234" << true << QStringList{"Маслен филтър", "Въздушен филтър", "Свещ 100%_x"};
}

void TestPartsSearch::findsInTheTickedColumns() {
    QFETCH(QString, text);
    QFETCH(QString, boxes);
    QFETCH(bool, inStock);
    QFETCH(QStringList, parts);
    PartsSearch search;
    search.text = text;
    search.byName = boxes.contains('1');
    search.byPartNo = boxes.contains('2');
    search.byCatalogs = boxes.contains('3');
    search.byBarcode = boxes.contains('4');
    search.inStockOnly = inStock;
    const auto condition = partsSearchCondition(db_->dialect(), search);
    QVERIFY(condition);
    QCOMPARE(found(*db_, *condition), parts);
}

void TestPartsSearch::noColumnTickedGivesNoCondition() {
    PartsSearch search;
    search.text = "филтър";
    search.inStockOnly = true;
    QVERIFY(!partsSearchCondition(db_->dialect(), search));
}

void TestPartsSearch::inStockListsOnlyPartsWithUnits() {
    db_->exec("UPDATE parts SET amnt = NULL WHERE Part = 'Въздушен филтър'");
    QCOMPARE(found(*db_, inStockCondition()), (QStringList{"Маслен филтър", "Свещ 100%_x"}));
}

QTEST_MAIN(TestPartsSearch)
#include "test_parts_search.moc"

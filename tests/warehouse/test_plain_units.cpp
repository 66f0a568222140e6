#include "store/database.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "warehouse/delivery.h"
#include "warehouse/stock.h"
#include "warehouse/suppliers.h"

#include <QTest>

using testing::rowCount;
using testing::rows;
using testing::stockOf;
using warehouse::StockError;
using warehouse::StockRefusal;

namespace {

// PartSN rows as old data may hold them: a null QVariant stands for a NULL serial number.
void addSerialRows(store::Database& db, qint64 part, const QVariantList& serials) {
    for (const QVariant& sn : serials)
        db.exec("INSERT INTO PartSN (idPart, SN) VALUES (:p, :sn)", {{"p", part}, {"sn", sn}});
}

} // namespace

class TestPlainUnits : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void plainUnitsAreTheStockLessTheNumberedOnes_data();
    void plainUnitsAreTheStockLessTheNumberedOnes();
    void takingPlainUnitsLeavesTheNumberedOnes();
    void returnOfUnitsWithoutNumberKeepsTheNumberedOnes();
    void deliveryStoresAMissingSerialNumberAsEmptyText();

private:
    std::unique_ptr<testing::TestEnvironment> env_;
    std::unique_ptr<store::Database> db_;
};

void TestPlainUnits::init() {
    env_ = std::make_unique<testing::TestEnvironment>();
    db_ = env_->newDatabase();
}

void TestPlainUnits::cleanup() {
    db_.reset();
    env_.reset();
}

void TestPlainUnits::plainUnitsAreTheStockLessTheNumberedOnes_data() {
    QTest::addColumn<int>("stock");
    QTest::addColumn<QVariantList>("serials");
    QTest::addColumn<int>("plain");
    QTest::addColumn<QStringList>("listed");
    QTest::newRow("no numbers") << 4 << QVariantList{} << 4 << QStringList{};
    QTest::newRow("every unit numbered")
        << 2 << QVariantList{"A", "B"} << 0 << QStringList{"A", "B"};
    QTest::newRow("numbered and not") << 5 << QVariantList{"A", "B"} << 3 << QStringList{"A", "B"};
    // Old data: a NULL and an empty number alike name no unit.
    QTest::newRow("blank numbers")
        << 3 << QVariantList{QVariant(), QString(""), "C"} << 2 << QStringList{"C"};
    QTest::newRow("more numbers than stock")
        << 1 << QVariantList{"A", "B"} << 0 << QStringList{"A", "B"};
}

void TestPlainUnits::plainUnitsAreTheStockLessTheNumberedOnes() {
    QFETCH(int, stock);
    QFETCH(QVariantList, serials);
    QFETCH(int, plain);
    QFETCH(QStringList, listed);
    const qint64 part = builders::part(*db_, {.name = "Акумулатор", .amount = stock});
    addSerialRows(*db_, part, serials);
    QCOMPARE(warehouse::plainUnitsInStock(*db_, part), plain);
    QCOMPARE(warehouse::serialNumbersOf(*db_, part), listed);
    QCOMPARE(warehouse::hasSerialNumbers(*db_, part), !listed.isEmpty());
}

void TestPlainUnits::takingPlainUnitsLeavesTheNumberedOnes() {
    const qint64 part = builders::part(*db_, {.name = "Акумулатор", .amount = 5});
    addSerialRows(*db_, part, {"A", "B"});
    warehouse::takePlainUnits(*db_, part, 2);
    QCOMPARE(stockOf(*db_, part), 3);
    QCOMPARE(warehouse::plainUnitsInStock(*db_, part), 1);
    // Two units are left to take by count, but only one has no number.
    try {
        warehouse::takePlainUnits(*db_, part, 2);
        QFAIL("taking a numbered unit by count was not refused");
    } catch (const StockError& e) {
        QCOMPARE(e.refusal(), StockRefusal::AboveStock);
    }
    QCOMPARE(stockOf(*db_, part), 3);
    QCOMPARE(warehouse::serialNumbersOf(*db_, part), (QStringList{"A", "B"}));
    try {
        warehouse::takePlainUnits(*db_, part + 100, 1);
        QFAIL("a missing part was not refused");
    } catch (const StockError& e) {
        QCOMPARE(e.refusal(), StockRefusal::UnknownPart);
    }
}

void TestPlainUnits::returnOfUnitsWithoutNumberKeepsTheNumberedOnes() {
    const qint64 part = builders::part(*db_, {.name = "Акумулатор", .amount = 3});
    addSerialRows(*db_, part, {"A", "B"});
    const warehouse::Supplier supplier{builders::supplier(*db_, "Доставчик"), "Доставчик", {}};
    warehouse::DeliveryReturn back;
    back.partId = part;
    back.supplierId = supplier.id;
    back.supplierName = supplier.name;
    back.price = 4;
    back.count = 2; // only one unit has no number
    QVERIFY_THROWS_EXCEPTION(StockError, warehouse::recordReturn(*db_, back, 1));
    QCOMPARE(stockOf(*db_, part), 3);
    QCOMPARE(rowCount(*db_, "payments"), 0);

    back.count = 1;
    warehouse::recordReturn(*db_, back, 1);
    QCOMPARE(stockOf(*db_, part), 2);
    QCOMPARE(warehouse::serialNumbersOf(*db_, part), (QStringList{"A", "B"}));
    QCOMPARE(rows(*db_, "SELECT Suma FROM payments"), (QList<QVariantList>{{-4.0}}));
}

void TestPlainUnits::deliveryStoresAMissingSerialNumberAsEmptyText() {
    const qint64 plain = builders::part(*db_, {.name = "Диск"});
    const qint64 numbered = builders::part(*db_, {.name = "Акумулатор"});
    const warehouse::Supplier supplier{builders::supplier(*db_, "Доставчик"), "Доставчик", {}};
    warehouse::Delivery delivery;
    delivery.date = QDate(2024, 5, 6);
    delivery.supplierId = supplier.id;
    delivery.supplierName = supplier.name;
    warehouse::DeliveryLine line;
    line.partId = plain;
    line.count = 2;
    line.inPrice = 1;
    line.outPrice = line.salePrice = 2;
    delivery.lines << line;
    line.partId = numbered;
    line.serials = QStringList{"SN-1"};
    line.count = 1;
    delivery.lines << line;
    warehouse::recordDelivery(*db_, delivery, warehouse::Payment::Debt, 1);
    QCOMPARE(rows(*db_, "SELECT partID, amnt, serial, serial IS NULL FROM sprDost ORDER BY id"),
             (QList<QVariantList>{{plain, 2, "", 0}, {numbered, 1, "SN-1", 0}}));
}

QTEST_MAIN(TestPlainUnits)
#include "test_plain_units.moc"

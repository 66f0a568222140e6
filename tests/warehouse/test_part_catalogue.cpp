#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "warehouse/part_catalogue.h"

#include <QTest>

using namespace warehouse;
using testing::rowCount;
using testing::TestEnvironment;

class TestPartCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void partIsChecked_data();
    void partIsChecked();
    void editingAPartExcludesItsOwnRow();
    void savingLeavesStockAndPricesAlone();
    void namesAreUnique();
};

void TestPartCatalogue::partIsChecked_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("withType");
    QTest::addColumn<bool>("withMaker");
    QTest::addColumn<QString>("barcode");
    QTest::addColumn<QString>("otherType"); // the existing part's type name
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("field");
    const int none = -1;
    QTest::newRow("fine") << "Накладки" << true << true << ""
                          << "Спирачки"
                          << "" << none;
    QTest::newRow("blank designation")
        << "   " << true << true << ""
        << "Спирачки"
        << "Моля въведете обозначение за частта!" << int(PartField::Designation);
    QTest::newRow("no type") << "Накладки" << false << true << ""
                             << "Спирачки"
                             << "Моля въведете тип за частта!" << int(PartField::Type);
    QTest::newRow("no maker") << "Накладки" << true << false << ""
                              << "Спирачки"
                              << "Моля въведете марка (производител) за частта!"
                              << int(PartField::Maker);
    QTest::newRow("barcode taken") << "Накладки" << true << true << "3800"
                                   << "Спирачки"
                                   << "Такъв баркод вече е въведен!" << int(PartField::Barcode);
    QTest::newRow("same designation, maker and type")
        << " Диск " << true << true << ""
        << "Ходова"
        << "Bosch Ходова Диск вече е въведен!" << int(PartField::Designation);
    QTest::newRow("same designation, other type") << "Диск" << true << true << ""
                                                  << "Спирачки"
                                                  << "" << none;
}

void TestPartCatalogue::partIsChecked() {
    QFETCH(QString, name);
    QFETCH(bool, withType);
    QFETCH(bool, withMaker);
    QFETCH(QString, barcode);
    QFETCH(QString, otherType);
    QFETCH(QString, message);
    QFETCH(int, field);
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 type = builders::partType(*db, "Ходова");
    const qint64 maker = builders::partMaker(*db, "Bosch");
    builders::partType(*db, otherType); // the existing part's type, found or added first
    builders::part(*db, {.name = "Диск", .type = otherType, .maker = "Bosch", .barcode = "3800"});
    builders::part(*db, {.name = "Без баркод",
                         .type = "Ходова",
                         .maker = "Bosch"}); // an empty barcode is never taken

    Part part;
    part.part = name;
    part.barcode = barcode;
    if (withType)
        part.typeId = type;
    if (withMaker)
        part.makerId = maker;
    const auto problem = savePart(*db, part);
    if (message.isEmpty()) {
        QVERIFY2(!problem, qPrintable(problem ? problem->message : QString()));
        QVERIFY(part.id > 0);
        QCOMPARE(loadPart(*db, part.id)->part, name.trimmed());
        QCOMPARE(rowCount(*db, "parts"), 3);
    } else {
        QVERIFY(problem);
        QCOMPARE(problem->message, message);
        QCOMPARE(int(problem->field), field);
        QCOMPARE(part.id, qint64(0));
        QCOMPARE(rowCount(*db, "parts"), 2);
    }
}

void TestPartCatalogue::editingAPartExcludesItsOwnRow() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 id = builders::part(
        *db, {.name = "Диск", .type = "Ходова", .maker = "Bosch", .barcode = "3800"});
    const qint64 other = builders::part(
        *db, {.name = "Барабан", .type = "Ходова", .maker = "Bosch", .barcode = "4000"});
    Part part = *loadPart(*db, id);
    QCOMPARE(part.maker, QString("Bosch"));
    QCOMPARE(part.type, QString("Ходова"));
    QVERIFY(!savePart(*db, part)); // unchanged
    part.barcode = "4000";
    QCOMPARE(savePart(*db, part)->kind, PartProblemKind::BarcodeTaken);
    part.barcode = "3800";
    part.part = "Барабан";
    QCOMPARE(savePart(*db, part)->kind, PartProblemKind::AlreadyEntered);
    QCOMPARE(loadPart(*db, id)->part, QString("Диск"));
    QCOMPARE(loadPart(*db, other)->barcode, QString("4000"));
}

void TestPartCatalogue::savingLeavesStockAndPricesAlone() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const qint64 id = builders::part(
        *db, {.name = "Диск", .amount = 7, .inPrice = 12.5, .inCurrency = store::kUsd});
    Part part = *loadPart(*db, id);
    part.opis = "предни";
    part.barcode.clear();
    QVERIFY(!savePart(*db, part));
    const Part saved = *loadPart(*db, id);
    QCOMPARE(saved.amnt, 7);
    QCOMPARE(saved.inPrice, 12.5);
    QCOMPARE(saved.ipVal, 2);
    QCOMPARE(saved.opis, QString("предни"));
    QVERIFY(db->scalar("SELECT barcode FROM parts WHERE id = :id", {{"id", id}}).isNull());
}

void TestPartCatalogue::namesAreUnique() {
    TestEnvironment env;
    auto db = env.newDatabase();
    for (const NameList& list : {kPartTypes, kPartMakers}) {
        const auto first = saveName(*db, list, 0, " Филтри ");
        QVERIFY(first);
        QCOMPARE(nameOf(*db, list, *first), QString("Филтри"));
        QVERIFY(!saveName(*db, list, 0, "Филтри"));
        const auto second = saveName(*db, list, 0, "Свещи");
        QVERIFY(second);
        QVERIFY(!saveName(*db, list, *second, "Филтри"));        // renaming onto another name
        QCOMPARE(saveName(*db, list, *second, "Свещи"), second); // its own name is fine
        QCOMPARE(namesOf(*db, list).size(), 2);
        QCOMPARE(namesOf(*db, list).first().name, QString("Свещи"));
    }
}

QTEST_MAIN(TestPartCatalogue)
#include "test_part_catalogue.moc"

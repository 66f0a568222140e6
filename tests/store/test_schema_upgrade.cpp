#include "store/database.h"
#include "store/rights.h"
#include "store/schema.h"
#include "store/schema_upgrade.h"
#include "support/test_environment.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using namespace store;
using testing::TestEnvironment;

namespace {

// How an older database differs from the current schema.
struct OldShape {
    QStringList dropTables;   // schema table names
    QStringList dropColumns;  // "table.column"
    QStringList upperTables;  // created under an upper-case name
    QStringList upperColumns; // "table.column" created under an upper-case name
    QStringList extraSql;     // run after the tables exist
};

// Builds the file with a separate raw connection, the way an older program left it.
QString makeOlderDatabase(const TestEnvironment& env, const OldShape& shape) {
    const QString path = env.path("old.mdz");
    const Dialect dialect(Engine::SQLite);
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "old-maker");
        raw.setDatabaseName(path);
        if (!raw.open())
            qFatal("cannot create the old database");
        QSqlQuery q(raw);
        for (const TableDef& table : schemaTables()) {
            if (shape.dropTables.contains(table.name))
                continue;
            TableDef old{table.name, {}};
            if (shape.upperTables.contains(table.name))
                old.name = table.name.toUpper();
            for (ColumnDef column : table.columns) {
                const QString key = table.name + "." + column.name;
                if (shape.dropColumns.contains(key))
                    continue;
                if (shape.upperColumns.contains(key))
                    column.name = column.name.toUpper();
                old.columns.push_back(column);
            }
            if (!q.exec(createTableStatement(dialect, old)))
                qFatal("%s", qPrintable(q.lastError().text()));
        }
        for (const QString& sql : shape.extraSql) {
            if (!q.exec(sql))
                qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        }
        raw.close();
    }
    QSqlDatabase::removeDatabase("old-maker");
    return path;
}

QStringList columnsOf(const QString& table) {
    QStringList list;
    for (const ColumnDef& c : findTable(table)->columns)
        list << table + "." + c.name;
    return list;
}

int tablesNamed(Database& db, const QString& name) {
    int n = 0;
    for (const QString& t : db.tables())
        n += t.compare(name, Qt::CaseInsensitive) == 0 ? 1 : 0;
    return n;
}

} // namespace

class TestSchemaUpgrade : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void currentDatabaseIsNotTouched();
    void missingTablesAreCreated_data();
    void missingTablesAreCreated();
    void tableInOtherCaseIsNotCreatedAgain();
    void columnSteps_data();
    void columnSteps();
    void invoicesCountAsPaidInCash();
    void rightsComeFromTheOldLevelsOnce();
    void columnsInOtherCaseKeepTheirData();
    void operationsGetTheirTreePaths();
    void partsAreKeyedOnId();
    void failedConversionLeavesTheFileAsItWas();
};

void TestSchemaUpgrade::currentDatabaseIsNotTouched() {
    TestEnvironment env;
    const QString path = env.path("Drumvel.mdz");
    Database::createFile(path);
    const QByteArray before = testing::fileBytes(path);
    auto db = Database::openFile(path);
    QVERIFY(planUpgrade(*db).isEmpty());
    const UpgradeResult result = upgradeSchema(*db);
    QVERIFY(result.notices.isEmpty());
    QVERIFY(result.plan.isEmpty());
    db.reset();
    QCOMPARE(testing::fileBytes(path), before);
}

void TestSchemaUpgrade::missingTablesAreCreated_data() {
    QTest::addColumn<QString>("table");
    for (const char* t :
         {"Part_Moves", "clerks_hours", "short_service", "spr_shorts", "sndhand",
          "otchet_warranties", "Instruments", "cars", "discounts", "partMarka", "contracts"})
        QTest::newRow(t) << QString::fromLatin1(t);
}

void TestSchemaUpgrade::missingTablesAreCreated() {
    QFETCH(QString, table);
    TestEnvironment env;
    OldShape shape;
    shape.dropTables << table;
    shape.extraSql << "INSERT INTO kasa (Suma, idVal) VALUES (5, 1)";
    auto db = Database::openFile(makeOlderDatabase(env, shape));
    QVERIFY(!db->hasTable(table));
    const UpgradeResult result = upgradeSchema(*db);
    QCOMPARE(result.plan.missingTables, QStringList{table});
    QVERIFY(db->hasTable(table));
    QCOMPARE(db->columns(table).size(), qsizetype(findTable(table)->columns.size()));
    QCOMPARE(db->scalar("SELECT Suma FROM kasa").toDouble(), 5.0); // nothing else disturbed
    QVERIFY(planUpgrade(*db).isEmpty());
}

void TestSchemaUpgrade::tableInOtherCaseIsNotCreatedAgain() {
    TestEnvironment env;
    OldShape shape;
    shape.upperTables << "partMarka"
                      << "sndhand";
    shape.extraSql << "INSERT INTO PARTMARKA (Marka) VALUES ('Бош')";
    auto db = Database::openFile(makeOlderDatabase(env, shape));
    const UpgradeResult result = upgradeSchema(*db);
    QVERIFY(result.plan.missingTables.isEmpty());
    QCOMPARE(tablesNamed(*db, "partMarka"), 1);
    QCOMPARE(tablesNamed(*db, "sndhand"), 1);
    QCOMPARE(db->scalar("SELECT Marka FROM partMarka").toString(), QString("Бош"));
}

void TestSchemaUpgrade::columnSteps_data() {
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QString>("seedRow");
    auto row = [](const char* name, QStringList cols, const char* seed) {
        QTest::newRow(name) << cols << QString::fromUtf8(seed);
    };
    row("1 order parts from the external store", {"PartsInPor.microPart", "PartsInPor.microBase"},
        "INSERT INTO PartsInPor (idPor, amnt) VALUES (1, 2)");
    row("2 invoice payment split", {"FactData.Deleted", "FactData.sumBank", "FactData.sumBroy"},
        "INSERT INTO FactData (FactNo, EndSum) VALUES ('0000000001', 10)");
    row("3 order modification", {"porychka.Modify"}, "INSERT INTO porychka (idPor) VALUES (1)");
    row("4 car details", {"cars.Modify", "cars.Period", "cars.kw", "cars.ccm"},
        "INSERT INTO cars (RegNo) VALUES ('CA1234AB')");
    row("5 operation times and paths", {"operations.times", "operations.tree_path"},
        "INSERT INTO operations (operation) VALUES ('Смяна на масло')");
    row("6 sale contract number", {"sndhand.saleDog"}, "INSERT INTO sndhand (DogNo) VALUES (1)");
    row("7 technician rates", {"clerks.pr_n", "clerks.pr_w"},
        "INSERT INTO clerks (Name) VALUES ('Иван')");
    row("8 order reception", {"porychka.idPriel"}, "INSERT INTO porychka (idPor) VALUES (1)");
    row("9 labour discount", {"firms.ReductJobs"}, "INSERT INTO firms (Name) VALUES ('Фирма')");
    row("10 receipt number", {"sprSales.RazpNo"}, "INSERT INTO sprSales (idPart) VALUES (1)");
    row("11 rights strings", {"clerks.preferences"}, "INSERT INTO clerks (Name) VALUES ('Иван')");
    row("12 part brands", {"parts.idMarka"}, "INSERT INTO parts (Part) VALUES ('Филтър')");
    row("13 barcode", {"parts.barcode"}, "INSERT INTO parts (Part) VALUES ('Филтър')");
    row("14 catalogue numbers", {"parts.catalogs"}, "INSERT INTO parts (Part) VALUES ('Филтър')");
    row("15 serial of a part in an order", {"PartsInPor.serial"},
        "INSERT INTO PartsInPor (idPor, amnt) VALUES (1, 2)");
}

void TestSchemaUpgrade::columnSteps() {
    QFETCH(QStringList, dropped);
    QFETCH(QString, seedRow);
    TestEnvironment env;
    OldShape shape;
    shape.dropColumns = dropped;
    shape.extraSql << seedRow;
    auto db = Database::openFile(makeOlderDatabase(env, shape));
    const QString table = dropped.first().section('.', 0, 0);
    for (const QString& key : dropped)
        QVERIFY(!db->hasColumn(table, key.section('.', 1)));

    const UpgradeResult result = upgradeSchema(*db);
    QStringList missing = result.plan.missingColumns;
    missing.sort();
    dropped.sort();
    QCOMPARE(missing, dropped);
    for (const QString& key : columnsOf(table))
        QVERIFY2(db->hasColumn(table, key.section('.', 1)), qPrintable(key));
    QCOMPARE(db->scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt(), 1);
    QVERIFY(planUpgrade(*db).isEmpty());
    // The next start finds nothing to do and says nothing.
    QVERIFY(upgradeSchema(*db).notices.isEmpty());
}

void TestSchemaUpgrade::invoicesCountAsPaidInCash() {
    TestEnvironment env;
    OldShape shape;
    shape.dropColumns << "FactData.Deleted"
                      << "FactData.sumBank"
                      << "FactData.sumBroy";
    shape.extraSql << "INSERT INTO FactData (FactNo, EndSum) VALUES ('0000000001', 120)"
                   << "INSERT INTO FactData (FactNo, EndSum) VALUES ('0000000002', 35.5)";
    auto db = Database::openFile(makeOlderDatabase(env, shape));
    upgradeSchema(*db);
    QSqlQuery q =
        db->exec("SELECT EndSum, sumBank, sumBroy, Deleted FROM FactData ORDER BY FactNo");
    QVERIFY(q.next());
    QCOMPARE(q.value(1).toDouble(), 0.0);
    QCOMPARE(q.value(2).toDouble(), 120.0);
    QVERIFY(q.value(3).isNull());
    QVERIFY(q.next());
    QCOMPARE(q.value(2).toDouble(), 35.5);
}

void TestSchemaUpgrade::rightsComeFromTheOldLevelsOnce() {
    TestEnvironment env;
    OldShape shape;
    shape.dropColumns << "clerks.preferences";
    shape.extraSql << "INSERT INTO clerks (id, Name, Nivo) VALUES (1, 'Непознат', 9)"
                   << "INSERT INTO clerks (id, Name, Nivo) VALUES (2, 'Мария', 1)"
                   << "INSERT INTO clerks (id, Name, Nivo) VALUES (3, 'Петър', 7)"
                   << "INSERT INTO clerks (id, Name, Nivo) VALUES (4, 'Шеф', 0)"
                   << "INSERT INTO clerks (id, Name, Nivo) VALUES (5, 'Иван', 2)"
                   << "INSERT INTO clerks (id, Name, Nivo) VALUES (6, 'Стоян', NULL)";
    auto db = Database::openFile(makeOlderDatabase(env, shape));
    const UpgradeResult result = upgradeSchema(*db);
    QCOMPARE(result.notices.size(), 1);
    QCOMPARE(result.notices.first().caption, QString("Съобщение"));
    QVERIFY(result.notices.first().text.startsWith(
        "ВНИМЕНИЕ: Създадена е нова система за права на потребителите на програмата!\n\n"));

    const QString level0 = *rightsPresetForLevel(0);
    const QString level1 = *rightsPresetForLevel(1);
    const QString level2 = *rightsPresetForLevel(2);
    const QStringList expected = {"", level1, level1, level0, level2, level2};
    QSqlQuery q = db->exec("SELECT preferences FROM clerks ORDER BY id");
    for (const QString& rights : expected) {
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), rights);
    }
    QCOMPARE(level1.size(), 43);
    QVERIFY(holdsRight(level1, 7) && !holdsRight(level1, 1));

    // Edited rights are not reset, and the message is not shown again.
    db->exec("UPDATE clerks SET preferences = :r WHERE id = 2", {{"r", QString(43, '1')}});
    db.reset();
    db = Database::openFile(env.path("old.mdz"));
    QVERIFY(upgradeSchema(*db).notices.isEmpty());
    QCOMPARE(db->scalar("SELECT preferences FROM clerks WHERE id = 2").toString(),
             QString(43, '1'));
}

void TestSchemaUpgrade::columnsInOtherCaseKeepTheirData() {
    TestEnvironment env;
    OldShape shape;
    shape.upperColumns << "FactData.Deleted"
                       << "FactData.sumBank"
                       << "FactData.sumBroy"
                       << "clerks.preferences";
    shape.extraSql
        << "INSERT INTO FactData (FactNo, EndSum, SUMBANK, SUMBROY) VALUES ('1', 120, 50, 70)"
        << "INSERT INTO clerks (Name, Nivo, PREFERENCES) VALUES ('Мария', 1, '1212')";
    auto db = Database::openFile(makeOlderDatabase(env, shape));
    const UpgradeResult result = upgradeSchema(*db);
    QVERIFY(result.plan.missingColumns.isEmpty());
    QVERIFY(result.notices.isEmpty());
    QCOMPARE(db->scalar("SELECT sumBank FROM FactData").toDouble(), 50.0);
    QCOMPARE(db->scalar("SELECT preferences FROM clerks").toString(), QString("1212"));
}

void TestSchemaUpgrade::operationsGetTheirTreePaths() {
    TestEnvironment env;
    OldShape shape;
    shape.dropColumns << "operations.times"
                      << "operations.tree_path";
    shape.extraSql
        << "INSERT INTO opTree (id, parent, Classification) VALUES (1, -1, 'Опел')"
        << "INSERT INTO opTree (id, parent, Classification) VALUES (2, 1, 'Двигател')"
        << "INSERT INTO opTree (id, parent, Classification) VALUES (3, 2, 'Ремонт')"
        << "INSERT INTO opTree (id, parent, Classification) VALUES (4, 1, 'Спирачки')"
        << "INSERT INTO opTree (id, parent, Classification) VALUES (123456, -1, 'Форд')"
        << "INSERT INTO operations (id, Classification) VALUES (1, 'Опел\\Двигател\\Ремонт\\')"
        << "INSERT INTO operations (id, Classification) VALUES (2, 'Опел\\Спирачки\\')"
        << "INSERT INTO operations (id, Classification) VALUES (3, 'Опел\\')"
        << "INSERT INTO operations (id, Classification) VALUES (4, 'Рено\\')"
        << "INSERT INTO operations (id, Classification) VALUES (5, 'Форд\\')"
        << "INSERT INTO operations (id, Classification) VALUES (6, 'Опел\\Двигател 2\\')";
    auto db = Database::openFile(makeOlderDatabase(env, shape));
    upgradeSchema(*db);
    const QList<std::pair<int, QVariant>> expected = {{1, "$00001\\$00002\\$00003\\"},
                                                      {2, "$00001\\$00004\\"},
                                                      {3, "$00001\\"},
                                                      {4, QVariant()},
                                                      {5, "$123456\\"},
                                                      {6, "$00001\\"}};
    for (const auto& [id, path] : expected) {
        const QVariant stored =
            db->scalar("SELECT tree_path FROM operations WHERE id = :id", {{"id", id}});
        QCOMPARE(stored.isNull(), path.isNull());
        if (!path.isNull())
            QCOMPARE(stored.toString(), path.toString());
    }
}

void TestSchemaUpgrade::partsAreKeyedOnId() {
    TestEnvironment env;
    OldShape shape;
    shape.dropTables << "parts"
                     << "partMarka";
    shape.extraSql << "CREATE TABLE parts (id INTEGER, Part VARCHAR(255), TypeID INTEGER, "
                      "PartNo VARCHAR(255), barcode VARCHAR(13), catalogs VARCHAR(200), "
                      "Opis VARCHAR(255), inPrice DOUBLE, ipVal INTEGER, outPrice DOUBLE, "
                      "opVal INTEGER, salePrice DOUBLE, amnt INTEGER)"
                   << "CREATE UNIQUE INDEX PrimaryKey ON parts (Part)"
                   << "INSERT INTO parts (id, Part, amnt) VALUES (1, 'Филтър', 3)"
                   << "INSERT INTO parts (id, Part, amnt) VALUES (2, 'Свещ', 4)";
    auto db = Database::openFile(makeOlderDatabase(env, shape));
    upgradeSchema(*db);
    QVERIFY(db->hasColumn("parts", "idMarka"));
    QVERIFY(db->hasTable("partMarka"));
    QVERIFY(db->dialect().indexTable(db->connection(), "PrimaryKey").isEmpty());
    // Two parts may now share a name, but never an id.
    db->exec("INSERT INTO parts (id, Part) VALUES (3, 'Филтър')");
    QVERIFY_THROWS_EXCEPTION(DbError, db->exec("INSERT INTO parts (id, Part) VALUES (1, 'Друго')"));
    QCOMPARE(db->scalar("SELECT sum(amnt) FROM parts").toInt(), 7);
}

void TestSchemaUpgrade::failedConversionLeavesTheFileAsItWas() {
    TestEnvironment env;
    OldShape shape;
    shape.dropTables << "parts";
    shape.dropColumns << "clerks.preferences";
    // Two parts with one id: the key cannot be made, the start must stop.
    shape.extraSql << "CREATE TABLE parts (id INTEGER, Part VARCHAR(255), amnt INTEGER)"
                   << "INSERT INTO parts (id, Part) VALUES (1, 'Филтър')"
                   << "INSERT INTO parts (id, Part) VALUES (1, 'Свещ')"
                   << "INSERT INTO clerks (Name, Nivo) VALUES ('Мария', 1)";
    const QString path = makeOlderDatabase(env, shape);
    const QByteArray before = testing::fileBytes(path);
    {
        auto db = Database::openFile(path);
        QVERIFY_THROWS_EXCEPTION(DbError, upgradeSchema(*db));
        QCOMPARE(db->transactionDepth(), 0);
        QVERIFY(!db->hasColumn("clerks", "preferences"));
    }
    QCOMPARE(testing::fileBytes(path), before);
}

QTEST_MAIN(TestSchemaUpgrade)
#include "test_schema_upgrade.moc"

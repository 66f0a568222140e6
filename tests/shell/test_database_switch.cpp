#include "shell/database_switch.h"
#include "store/database.h"
#include "store/dialect.h"
#include "store/schema.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <algorithm>
#include <functional>

using shell::databaseSwitchProblem;
using testing::TestEnvironment;

namespace {

// Writes a database file table by table, bypassing the program, so that a test can lay out
// tables and columns in an order or letter case of its own choosing.
void writeRawDatabase(const QString& path, const std::vector<store::TableDef>& tables) {
    const QString name = QStringLiteral("raw-") + path;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        raw.setDatabaseName(path);
        if (!raw.open())
            qFatal("cannot create the raw database");
        const store::Dialect dialect(store::Engine::SQLite);
        QSqlQuery q(raw);
        for (const store::TableDef& table : tables) {
            if (!q.exec(store::createTableStatement(dialect, table)))
                qFatal("cannot create a table");
        }
        raw.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// The current schema with tables in reverse order and columns reversed and upper-cased.
std::vector<store::TableDef> shuffledSchema() {
    std::vector<store::TableDef> tables = store::schemaTables();
    std::reverse(tables.begin(), tables.end());
    for (store::TableDef& table : tables) {
        std::reverse(table.columns.begin(), table.columns.end());
        for (store::ColumnDef& column : table.columns)
            column.name = column.name.toUpper();
    }
    return tables;
}

using Prepare = std::function<QString(TestEnvironment&)>; // returns the path to offer

QString folderFor(TestEnvironment& env, const QString& folder) {
    QDir().mkpath(env.path(folder));
    return env.path(folder) + QStringLiteral("/");
}

} // namespace

class TestDatabaseSwitch : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fileNameIsChecked_data();
    void fileNameIsChecked();
    void chosenDatabaseIsCompared_data();
    void chosenDatabaseIsCompared();
    void refusedFilesAreLeftUntouched();
};

void TestDatabaseSwitch::fileNameIsChecked_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("exact") << "/data/Drumvel.mdz" << true;
    QTest::newRow("other letter case") << "/data/DRUMVEL.MDZ" << true;
    QTest::newRow("other name") << "/data/Other.mdz" << false;
    QTest::newRow("name inside a longer name") << "/data/oldDrumvel.mdz" << false;
    QTest::newRow("name with a suffix") << "/data/Drumvel.mdz.bak" << false;
    QTest::newRow("name only as a folder") << "/data/Drumvel.mdz/base.db" << false;
}

void TestDatabaseSwitch::fileNameIsChecked() {
    QFETCH(QString, path);
    QFETCH(bool, accepted);
    QCOMPARE(shell::hasDatabaseFileName(path), accepted);
}

void TestDatabaseSwitch::chosenDatabaseIsCompared_data() {
    QTest::addColumn<Prepare>("prepare");
    QTest::addColumn<QString>("problem");
    const QString foreign = QStringLiteral("Тази база данни не е за програмата!");
    const QString misnamed = QStringLiteral("Името на файла трябва да е \"Drumvel.mdz\"!");

    QTest::newRow("current version, name in other case") << Prepare([](TestEnvironment& env) {
        const QString path = folderFor(env, "other") + "drumvel.MDZ";
        env.newDatabase("other/drumvel.MDZ");
        return path;
    }) << QString();
    QTest::newRow("same names, other order and letter case") << Prepare([](TestEnvironment& env) {
        const QString path = folderFor(env, "shuffled") + "Drumvel.mdz";
        writeRawDatabase(path, shuffledSchema());
        return path;
    }) << QString();
    QTest::newRow("misnamed copy of a good database") << Prepare([](TestEnvironment& env) {
        env.newDatabase("Copy.mdz");
        return env.path("Copy.mdz");
    }) << misnamed;
    QTest::newRow("older: a table missing") << Prepare([](TestEnvironment& env) {
        const QString path = folderFor(env, "older") + "Drumvel.mdz";
        env.newDatabase("older/Drumvel.mdz")->exec("DROP TABLE Instruments");
        return path;
    }) << foreign;
    QTest::newRow("older: a column missing") << Prepare([](TestEnvironment& env) {
        const QString path = folderFor(env, "older") + "Drumvel.mdz";
        std::vector<store::TableDef> tables = store::schemaTables();
        for (store::TableDef& table : tables) {
            if (table.name == "clerks")
                table.columns.pop_back();
        }
        writeRawDatabase(path, tables);
        return path;
    }) << foreign;
    QTest::newRow("one more column") << Prepare([](TestEnvironment& env) {
        const QString path = folderFor(env, "newer") + "Drumvel.mdz";
        env.newDatabase("newer/Drumvel.mdz")->exec("ALTER TABLE kasa ADD COLUMN extra TEXT");
        return path;
    }) << foreign;
    QTest::newRow("one more table") << Prepare([](TestEnvironment& env) {
        const QString path = folderFor(env, "newer") + "Drumvel.mdz";
        env.newDatabase("newer/Drumvel.mdz")->exec("CREATE TABLE notes (id INTEGER)");
        return path;
    }) << foreign;
    QTest::newRow("database of another program") << Prepare([](TestEnvironment& env) {
        const QString path = folderFor(env, "foreign") + "Drumvel.mdz";
        writeRawDatabase(path, {{"customers", {{"id", store::ColumnType::Long}}}});
        return path;
    }) << foreign;
    QTest::newRow("not a database") << Prepare([](TestEnvironment& env) {
        const QString path = folderFor(env, "text") + "Drumvel.mdz";
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write");
        file.write("Това не е база данни, а обикновен текст.\n");
        return path;
    }) << foreign;
    QTest::newRow("missing file") << Prepare([](TestEnvironment& env) {
        return folderFor(env, "nowhere") + "Drumvel.mdz";
    }) << foreign;
}

void TestDatabaseSwitch::chosenDatabaseIsCompared() {
    QFETCH(Prepare, prepare);
    QFETCH(QString, problem);
    TestEnvironment env;
    auto current = env.newDatabase();
    // Statistics kept by the engine are not part of the program's tables.
    current->exec("ANALYZE");
    const QString path = prepare(env);
    const std::optional<QString> result = databaseSwitchProblem(*current, path);
    QCOMPARE(result.value_or(QString()), problem);
    // The open database is still there and usable.
    QCOMPARE(current->scalar("SELECT Name FROM clerks WHERE id = 1").toString(),
             QString("Administrator"));
}

void TestDatabaseSwitch::refusedFilesAreLeftUntouched() {
    TestEnvironment env;
    auto current = env.newDatabase();
    const QString path = folderFor(env, "text") + "Drumvel.mdz";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
    }
    const QByteArray before = testing::fileBytes(path);
    QVERIFY(databaseSwitchProblem(*current, path));
    QCOMPARE(testing::fileBytes(path), before);
    QVERIFY(!QFile::exists(path + "-journal"));
}

QTEST_MAIN(TestDatabaseSwitch)
#include "test_database_switch.moc"

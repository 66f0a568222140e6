#include "app/command_line.h"
#include "app/database_start.h"
#include "store/schema.h"
#include "support/test_environment.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using testing::TestEnvironment;

namespace {

struct Run {
    int exitCode;
    QString out;
    QString err;
};

// Runs the real program, as a user would from a terminal.
Run runProgram(const QStringList& arguments) {
    QProcess process;
    process.start(QString::fromLocal8Bit(qgetenv("WORKSHOP_BINARY")), arguments);
    if (!process.waitForFinished(60000))
        qFatal("the program did not end");
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void versionIsPrinted();
    void createdFileHoldsEveryTableAndColumn();
    void createRefusesToOverwriteOrWriteNowhere_data();
    void createRefusesToOverwriteOrWriteNowhere();
    void badArgumentsAreRefused_data();
    void badArgumentsAreRefused();
    void startCreatesTheFirstDatabaseWithItsFolder();
    void startRefusesForeignFilesWithoutWritingThem();
};

void TestCommandLine::initTestCase() {
    QVERIFY2(QFile::exists(QString::fromLocal8Bit(qgetenv("WORKSHOP_BINARY"))),
             "WORKSHOP_BINARY must name the built program");
}

void TestCommandLine::versionIsPrinted() {
    const Run run = runProgram({"--version"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.trimmed(), QString("workshop 1.00"));
}

void TestCommandLine::createdFileHoldsEveryTableAndColumn() {
    TestEnvironment env;
    const QString path = env.path("x.mdz");
    const Run run = runProgram({"--create-database", path});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(QFile::exists(path));

    // Read it back through a plain connection, not the program's own layer.
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "check");
        raw.setDatabaseName(path);
        QVERIFY(raw.open());
        const QStringList tables = raw.tables();
        for (const store::TableDef& table : store::schemaTables()) {
            QVERIFY2(tables.contains(table.name), qPrintable(table.name));
            const QSqlRecord record = raw.record(table.name);
            for (const store::ColumnDef& column : table.columns)
                QVERIFY2(record.contains(column.name), qPrintable(table.name + "." + column.name));
        }
        QSqlQuery q(raw);
        QVERIFY(q.exec("SELECT Name FROM clerks WHERE id = 1") && q.next());
        QCOMPARE(q.value(0).toString(), QString("Administrator"));
        raw.close();
    }
    QSqlDatabase::removeDatabase("check");
}

void TestCommandLine::createRefusesToOverwriteOrWriteNowhere_data() {
    QTest::addColumn<QString>("where");
    QTest::newRow("existing file") << "existing";
    QTest::newRow("missing folder") << "missing";
    QTest::newRow("folder is a file") << "under-file";
}

void TestCommandLine::createRefusesToOverwriteOrWriteNowhere() {
    QFETCH(QString, where);
    TestEnvironment env;
    const QString existing = env.path("existing.mdz");
    {
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("precious");
    }
    QString target = existing;
    if (where == "missing")
        target = env.path("no/such/folder/x.mdz");
    else if (where == "under-file")
        target = existing + "/x.mdz";
    const Run run = runProgram({"--create-database", target});
    QVERIFY(run.exitCode != 0);
    QVERIFY2(run.err.contains("Cannot create the database"), qPrintable(run.err));
    QCOMPARE(testing::fileBytes(existing), QByteArray("precious"));
    if (where != "existing")
        QVERIFY(!QFile::exists(target));
}

void TestCommandLine::badArgumentsAreRefused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("unknown option") << QStringList{"--frobnicate"};
    QTest::newRow("create without path") << QStringList{"--create-database"};
    QTest::newRow("database without path") << QStringList{"--database"};
}

void TestCommandLine::badArgumentsAreRefused() {
    QFETCH(QStringList, arguments);
    const Run run = runProgram(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.err.contains("Usage: workshop"));
    // The parser alone says the same without starting anything.
    QVERIFY(!app::parseCommandLine(QStringList{"workshop"} + arguments).error.isEmpty());
}

void TestCommandLine::startCreatesTheFirstDatabaseWithItsFolder() {
    TestEnvironment env;
    const QString path = app::defaultDatabasePath();
    QVERIFY(path.startsWith(env.path("data")));
    QVERIFY(path.endsWith("DataBase/Drumvel.mdz"));
    QVERIFY(!QFile::exists(path));
    app::StartedDatabase started = app::startDatabase(path, true);
    QVERIFY(started.created);
    QVERIFY(QFile::exists(path));
    started.db.reset();
    // The next start opens the same file instead of creating another.
    started = app::startDatabase(path, true);
    QVERIFY(!started.created);
    QVERIFY(started.notices.isEmpty());
}

void TestCommandLine::startRefusesForeignFilesWithoutWritingThem() {
    TestEnvironment env;
    const QString path = env.path("notes.mdz");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Това не е база данни");
    }
    QVERIFY_THROWS_EXCEPTION(store::DbError, app::startDatabase(path, true));
    QCOMPARE(testing::fileBytes(path), QString("Това не е база данни").toUtf8());
    // A stored path that has gone missing is not silently replaced by a new database.
    QVERIFY_THROWS_EXCEPTION(store::DbError, app::startDatabase(env.path("gone.mdz"), false));
    QVERIFY(!QFile::exists(env.path("gone.mdz")));
}

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"

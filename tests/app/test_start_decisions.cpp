#include "app/database_start.h"
#include "app/program_start.h"
#include "app/version.h"
#include "store/compaction.h"
#include "store/database.h"
#include "store/transaction.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

using testing::TestEnvironment;

namespace {

const QString kOlder = "В момента стартирате по-стара версия на програмата\n"
                       "в сравнение с последното стартиране.\n\nЖелаете ли да продължите?";
const QString kMissing = "Не е намерена базата данни!\n\nЖелаете ли да я потърсите ръчно?";

QSettings settings() {
    return QSettings("Brenvik", "Motrela");
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    f.write(bytes);
}

} // namespace

class TestStartDecisions : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void olderVersionIsDetected_data();
    void olderVersionIsDetected();
    void olderVersionAsksAndNoEnds();
    void equalOrNewerVersionAsksNothingAndIsStored_data();
    void equalOrNewerVersionAsksNothingAndIsStored();
    void firstStartCreatesTheDatabaseWithoutAsking();
    void missingStoredDatabaseAsksAndOffersTheSearch_data();
    void missingStoredDatabaseAsksAndOffersTheSearch();
    void commandLineDatabaseIsNotRemembered();
    void unusableFileIsReportedAndLeftAlone_data();
    void unusableFileIsReportedAndLeftAlone();
    void compactionOnlyWhenALargeShareIsFree_data();
    void compactionOnlyWhenALargeShareIsFree();
    void compactionReclaimsFreedSpace();
};

void TestStartDecisions::olderVersionIsDetected_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("older");
    QTest::newRow("never started") << QVariant() << false;
    QTest::newRow("equal") << QVariant(1.0) << false;
    QTest::newRow("stored older") << QVariant(0.95) << false;
    QTest::newRow("stored newer") << QVariant(1.01) << true;
    QTest::newRow("stored as text") << QVariant("2.5") << true;
    QTest::newRow("unreadable") << QVariant("abc") << false;
}

void TestStartDecisions::olderVersionIsDetected() {
    QFETCH(QVariant, stored);
    QFETCH(bool, older);
    QCOMPARE(app::isOlderThanLastStart(1.0, stored), older);
}

void TestStartDecisions::olderVersionAsksAndNoEnds() {
    TestEnvironment env;
    QSettings s = settings();
    s.setValue("Version", app::kProgramVersion + 1);
    QVERIFY(!app::runDatabaseStart(nullptr, s, {}));
    QCOMPARE(env.responder().questions, QStringList{kOlder});
    QCOMPARE(s.value("Version").toDouble(), app::kProgramVersion + 1);
    QVERIFY(!QFile::exists(app::defaultDatabasePath())); // nothing opened or created

    env.responder().clear();
    env.responder().answers << true;
    auto started = app::runDatabaseStart(nullptr, s, {});
    QVERIFY(started);
    QCOMPARE(env.responder().questions, QStringList{kOlder});
    QCOMPARE(s.value("Version").toDouble(), app::kProgramVersion);
}

void TestStartDecisions::equalOrNewerVersionAsksNothingAndIsStored_data() {
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("first start") << QVariant();
    QTest::newRow("equal") << QVariant(app::kProgramVersion);
    QTest::newRow("older program before") << QVariant(app::kProgramVersion - 0.5);
}

void TestStartDecisions::equalOrNewerVersionAsksNothingAndIsStored() {
    QFETCH(QVariant, stored);
    TestEnvironment env;
    QSettings s = settings();
    if (stored.isValid())
        s.setValue("Version", stored);
    QVERIFY(app::runDatabaseStart(nullptr, s, {}));
    QVERIFY(env.responder().questions.isEmpty());
    QCOMPARE(s.value("Version").toDouble(), app::kProgramVersion);
}

void TestStartDecisions::firstStartCreatesTheDatabaseWithoutAsking() {
    TestEnvironment env;
    QSettings s = settings();
    const QString path = app::defaultDatabasePath();
    QVERIFY(path.startsWith(env.path("data")));
    auto started = app::runDatabaseStart(nullptr, s, {});
    QVERIFY(started);
    QVERIFY(started->created);
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(s.value("BaseFile").toString()), QFileInfo(path));
    QVERIFY(env.responder().questions.isEmpty());
    QVERIFY(env.responder().messages.isEmpty());
    // The settings kept in the database are loaded, and a new one gets its first defaults.
    QCOMPARE(started->settings.firstYear(), QDate::currentDate().year());
    QVERIFY(!started->db->scalar("SELECT Special FROM connect WHERE id = 1").isNull());
    started.reset();
    // The next start opens the stored file.
    started = app::runDatabaseStart(nullptr, s, {});
    QVERIFY(started && !started->created);
}

void TestStartDecisions::missingStoredDatabaseAsksAndOffersTheSearch_data() {
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("chosen"); // "found": an existing database; "": cancelled
    QTest::addColumn<bool>("starts");
    QTest::newRow("no search") << QList<bool>{false} << "" << false;
    QTest::newRow("search cancelled") << QList<bool>{true} << "" << false;
    QTest::newRow("found") << QList<bool>{true} << "found" << true;
    QTest::newRow("gone again, then found") << QList<bool>{true, true} << "gone,found" << true;
}

void TestStartDecisions::missingStoredDatabaseAsksAndOffersTheSearch() {
    QFETCH(QList<bool>, answers);
    QFETCH(QString, chosen);
    QFETCH(bool, starts);
    TestEnvironment env;
    const QString found = env.path("elsewhere/Drumvel.mdz");
    QDir().mkpath(env.path("elsewhere"));
    env.newDatabase("elsewhere/Drumvel.mdz");
    QSettings s = settings();
    const QString missing = env.path("gone/Drumvel.mdz");
    s.setValue("BaseFile", missing);
    for (bool a : answers)
        env.responder().answers << a;
    for (const QString& c : chosen.split(',', Qt::SkipEmptyParts))
        env.responder().fileNames << (c == "found" ? found : env.path("gone/other.mdz"));

    auto started = app::runDatabaseStart(nullptr, s, {});
    QCOMPARE(bool(started), starts);
    QCOMPARE(env.responder().questions, QStringList(answers.size(), kMissing));
    QVERIFY(!QFile::exists(missing)); // never created in place of the lost one
    if (starts) {
        QCOMPARE(started->db->filePath(), QFileInfo(found).absoluteFilePath());
        QCOMPARE(s.value("BaseFile").toString(), found);
    } else {
        QCOMPARE(s.value("BaseFile").toString(), missing);
    }
}

void TestStartDecisions::commandLineDatabaseIsNotRemembered() {
    TestEnvironment env;
    env.newDatabase("run.mdz");
    QSettings s = settings();
    s.setValue("BaseFile", env.path("stored.mdz"));
    auto started = app::runDatabaseStart(nullptr, s, env.path("run.mdz"));
    QVERIFY(started);
    QCOMPARE(started->db->filePath(), env.path("run.mdz"));
    QCOMPARE(s.value("BaseFile").toString(), env.path("stored.mdz"));
    QVERIFY(env.responder().questions.isEmpty());
}

void TestStartDecisions::unusableFileIsReportedAndLeftAlone_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("foreignDatabase");
    QTest::newRow("not a database") << QByteArray("Това не е база данни") << false;
    QTest::newRow("database of another program") << QByteArray() << true;
}

void TestStartDecisions::unusableFileIsReportedAndLeftAlone() {
    QFETCH(QByteArray, content);
    QFETCH(bool, foreignDatabase);
    TestEnvironment env;
    const QString path = env.path("Drumvel.mdz");
    if (foreignDatabase) {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        raw.setDatabaseName(path);
        QVERIFY(raw.open());
        QSqlQuery(raw).exec("CREATE TABLE notes (id INTEGER, text VARCHAR(20))");
        QSqlQuery(raw).exec("INSERT INTO notes VALUES (1, 'x')");
        raw.close();
        raw = QSqlDatabase();
        QSqlDatabase::removeDatabase("foreign");
    } else {
        writeFile(path, content);
    }
    const QByteArray before = testing::fileBytes(path);
    QSettings s = settings();
    s.setValue("BaseFile", path);
    env.responder().answers << true; // yes, restore
    QVERIFY(!app::runDatabaseStart(nullptr, s, {}));
    QCOMPARE(env.responder().texts(), QStringList{"Грешка при отварянето на базата данни!"});
    QCOMPARE(env.responder().messages.at(0).caption, QString("Грешка"));
    QCOMPARE(env.responder().messages.at(0).icon, ui::MessageIcon::Error);
    QCOMPARE(env.responder().questions, QStringList{"Желаете ли да възстановите архив?"});
    QCOMPARE(testing::fileBytes(path), before);
    QCOMPARE(s.value("BaseFile").toString(), path);
}

void TestStartDecisions::compactionOnlyWhenALargeShareIsFree_data() {
    QTest::addColumn<qint64>("pages");
    QTest::addColumn<qint64>("freePages");
    QTest::addColumn<bool>("worth");
    // 4 KiB pages: 256 free pages are 1 MiB.
    QTest::newRow("nothing free") << qint64(10000) << qint64(0) << false;
    QTest::newRow("a tenth free") << qint64(10000) << qint64(1000) << false;
    QTest::newRow("a quarter free") << qint64(10000) << qint64(2500) << true;
    QTest::newRow("half free but tiny") << qint64(200) << qint64(100) << false;
    QTest::newRow("just 1 MiB, a quarter") << qint64(1024) << qint64(256) << true;
    QTest::newRow("empty file") << qint64(0) << qint64(0) << false;
}

void TestStartDecisions::compactionOnlyWhenALargeShareIsFree() {
    QFETCH(qint64, pages);
    QFETCH(qint64, freePages);
    QFETCH(bool, worth);
    QCOMPARE(store::compactionWorthIt({pages, freePages, 4096}), worth);
}

void TestStartDecisions::compactionReclaimsFreedSpace() {
    TestEnvironment env;
    const QString path = env.path("Drumvel.mdz");
    {
        auto db = env.newDatabase();
        // A fresh database has nothing to reclaim.
        QVERIFY(!store::compactIfWorthIt(*db));
        const QString longNote(2000, QLatin1Char('x'));
        store::Transaction transaction(*db);
        for (int i = 0; i < 3000; ++i)
            db->exec("INSERT INTO kasa (Notes) VALUES (:n)", {{"n", longNote}});
        db->exec("DELETE FROM kasa WHERE id > 100");
        transaction.commit();
    }
    const qint64 before = QFileInfo(path).size();
    QSettings s = settings();
    s.setValue("BaseFile", path);
    auto started = app::runDatabaseStart(nullptr, s, {});
    QVERIFY(started);
    QVERIFY(QFileInfo(path).size() < before / 2);
    QCOMPARE(started->db->scalar("SELECT count(*) FROM kasa").toInt(), 100);
    QVERIFY(!store::compactionWorthIt(store::freeSpace(*started->db)));
}

QTEST_MAIN(TestStartDecisions)
#include "test_start_decisions.moc"

#include "store/database.h"
#include "store/schema.h"
#include "store/sql_helpers.h"
#include "store/sql_values.h"
#include "store/transaction.h"
#include "support/test_environment.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

using namespace store;
using testing::TestEnvironment;

class TestDatabase : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newDatabaseHoldsEveryTableAndColumn();
    void newDatabaseHoldsCurrenciesAndAdministrator();
    void createRefusesExistingFileAndUnwritablePlace();
    void openRefusesWhatIsNotOurDatabaseAndLeavesItAlone_data();
    void openRefusesWhatIsNotOurDatabaseAndLeavesItAlone();
    void uniqueNamesAreRefused_data();
    void uniqueNamesAreRefused();
    void textMatchingIgnoresLetterCase_data();
    void textMatchingIgnoresLetterCase();
    void awkwardTextIsStoredAndFoundAsTyped_data();
    void awkwardTextIsStoredAndFoundAsTyped();
    void transactionRollsBackUnlessCommitted();
    void nestedTransactionUndoesOnlyItsOwnPart();
    void committedRowsSurviveReopeningAndSyncIsFull();
    void datesAndTimesUseTheirStorageForms();
};

void TestDatabase::newDatabaseHoldsEveryTableAndColumn() {
    TestEnvironment env;
    auto db = env.newDatabase();
    for (const TableDef& table : schemaTables()) {
        QVERIFY2(db->hasTable(table.name), qPrintable(table.name));
        const QStringList columns = db->columns(table.name);
        QCOMPARE(columns.size(), qsizetype(table.columns.size()));
        for (const ColumnDef& column : table.columns)
            QVERIFY2(columns.contains(column.name), qPrintable(table.name + "." + column.name));
    }
    // Spot checks of names exactly as the program's queries spell them.
    for (const char* name : {"porychka", "PartsInPor", "Jobs_In_Por", "Part_Moves", "partMarka",
                             "valcourse", "paymClerks", "car_modifications", "connect", "myinfo"})
        QVERIFY2(db->tables().contains(QString::fromLatin1(name)), name);
    QVERIFY(db->columns("porychka").contains("idPriel"));
    QVERIFY(db->columns("clerks").contains("preferences"));
}

void TestDatabase::newDatabaseHoldsCurrenciesAndAdministrator() {
    TestEnvironment env;
    auto db = env.newDatabase();
    QSqlQuery q = db->exec("SELECT idCur, Currency FROM currencies ORDER BY idCur");
    QStringList currencies;
    while (q.next()) {
        QCOMPARE(q.value(0).toInt(), int(currencies.size()) + 1);
        currencies << q.value(1).toString();
    }
    QCOMPARE(currencies, QStringList({"лв.", "USD", "EUR"}));

    QCOMPARE(db->scalar("SELECT count(*) FROM clerks").toInt(), 1);
    q = db->exec("SELECT id, Name, Active, Password, preferences FROM clerks");
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 1);
    QCOMPARE(q.value(1).toString(), QString("Administrator"));
    QVERIFY(boolFromDb(q.value(2)));
    QVERIFY(q.value(3).isNull());
    QCOMPARE(q.value(4).toString(), QString(43, QLatin1Char('1')));
    // Every other table starts empty.
    for (const char* table : {"porychka", "parts", "kasa", "pech", "valcourse", "firms"})
        QCOMPARE(db->scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toInt(), 0);
}

void TestDatabase::createRefusesExistingFileAndUnwritablePlace() {
    TestEnvironment env;
    const QString existing = env.path("exists.mdz");
    {
        QFile f(existing);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    QVERIFY_THROWS_EXCEPTION(DbError, Database::createFile(existing));
    QCOMPARE(testing::fileBytes(existing), QByteArray("keep me"));

    // A "folder" that is a plain file cannot take the database.
    const QString inside = existing + "/new.mdz";
    QVERIFY_THROWS_EXCEPTION(DbError, Database::createFile(inside));
    QVERIFY_THROWS_EXCEPTION(DbError, Database::createFile(env.path("missing/dir/new.mdz")));
    QVERIFY(!QFile::exists(env.path("missing")));
}

void TestDatabase::openRefusesWhatIsNotOurDatabaseAndLeavesItAlone_data() {
    QTest::addColumn<QByteArray>("kind");
    QTest::newRow("missing file") << QByteArray("missing");
    QTest::newRow("text file") << QByteArray("text");
    QTest::newRow("empty file") << QByteArray("empty");
    QTest::newRow("database of another program") << QByteArray("foreign");
}

void TestDatabase::openRefusesWhatIsNotOurDatabaseAndLeavesItAlone() {
    QFETCH(QByteArray, kind);
    TestEnvironment env;
    const QString path = env.path("target.mdz");
    if (kind == "text" || kind == "empty") {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == "text")
            f.write(QByteArray(4096, 'x'));
    } else if (kind == "foreign") {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        raw.setDatabaseName(path);
        QVERIFY(raw.open());
        QSqlQuery(raw).exec("CREATE TABLE songs (id INTEGER, title TEXT)");
        raw.close();
        raw = QSqlDatabase();
        QSqlDatabase::removeDatabase("foreign");
    }
    const QByteArray before = testing::fileBytes(path);
    QVERIFY_THROWS_EXCEPTION(DbError, Database::openFile(path));
    QCOMPARE(QFile::exists(path), kind != "missing");
    QCOMPARE(testing::fileBytes(path), before);
}

void TestDatabase::uniqueNamesAreRefused_data() {
    QTest::addColumn<QString>("insert");
    QTest::newRow("employee") << "INSERT INTO clerks (Name) VALUES (:name)";
    QTest::newRow("client firm") << "INSERT INTO firms (Name) VALUES (:name)";
    QTest::newRow("part brand") << "INSERT INTO partMarka (Marka) VALUES (:name)";
}

void TestDatabase::uniqueNamesAreRefused() {
    QFETCH(QString, insert);
    TestEnvironment env;
    auto db = env.newDatabase();
    db->exec(insert, {{"name", "Бош"}});
    QVERIFY_THROWS_EXCEPTION(DbError, db->exec(insert, {{"name", "Бош"}}));
    db->exec(insert, {{"name", "Бош 2"}});
}

void TestDatabase::textMatchingIgnoresLetterCase_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("found");
    QTest::newRow("cyrillic lower finds capital") << "иван"
                                                  << "Иван Петров" << true;
    QTest::newRow("cyrillic upper finds mixed") << "ПЕТРОВ"
                                                << "Иван Петров" << true;
    QTest::newRow("latin") << "bosch"
                           << "BOSCH филтър" << true;
    QTest::newRow("star wildcard") << "фил*мас"
                                   << "Филтър за масло" << true;
    QTest::newRow("no match") << "гума"
                              << "Иван Петров" << false;
    QTest::newRow("percent typed is literal") << "50%"
                                              << "500 ml" << false;
    QTest::newRow("underscore typed is literal") << "a_b"
                                                 << "axb" << false;
}

void TestDatabase::textMatchingIgnoresLetterCase() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(bool, found);
    TestEnvironment env;
    auto db = env.newDatabase();
    db->exec("INSERT INTO firms (Name) VALUES (:name)", {{"name", stored}});
    const QString where = db->dialect().caseInsensitiveLike("Name", ":p");
    const int count =
        db->scalar("SELECT count(*) FROM firms WHERE " + where, {{"p", containsPattern(typed)}})
            .toInt();
    QCOMPARE(count == 1, found);
}

void TestDatabase::awkwardTextIsStoredAndFoundAsTyped_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("apostrophe") << "Д'Артанян ООД";
    QTest::newRow("statement in a name") << "x'); DROP TABLE firms; --";
    QTest::newRow("percent") << "Отстъпка 10%";
    QTest::newRow("backslash") << "C:\\Път\\до";
    QTest::newRow("underscore and quotes") << "\"Авто_Център\"";
}

void TestDatabase::awkwardTextIsStoredAndFoundAsTyped() {
    QFETCH(QString, text);
    TestEnvironment env;
    auto db = env.newDatabase();
    db->exec("INSERT INTO firms (Name) VALUES (:name)", {{"name", text}});
    db->exec("INSERT INTO firms (Name) VALUES (:name)", {{"name", "Друга фирма"}});
    QCOMPARE(db->scalar("SELECT Name FROM firms WHERE Name = :name", {{"name", text}}).toString(),
             text);
    const QString where = db->dialect().caseInsensitiveLike("Name", ":p");
    QSqlQuery q = db->exec("SELECT Name FROM firms WHERE " + where, {{"p", containsPattern(text)}});
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), text);
    QVERIFY(!q.next());
    QCOMPARE(db->scalar("SELECT count(*) FROM firms").toInt(), 2);
}

void TestDatabase::transactionRollsBackUnlessCommitted() {
    TestEnvironment env;
    auto db = env.newDatabase();
    try {
        Transaction tx(*db);
        db->exec("INSERT INTO kasa (Suma, idVal) VALUES (10, 1)");
        db->exec("INSERT INTO no_such_table (x) VALUES (1)"); // throws
        tx.commit();
        QFAIL("the faulty statement did not throw");
    } catch (const DbError& e) {
        QVERIFY(!e.message().isEmpty());
    }
    QCOMPARE(db->scalar("SELECT count(*) FROM kasa").toInt(), 0);
    {
        Transaction tx(*db);
        db->exec("INSERT INTO kasa (Suma, idVal) VALUES (10, 1)");
        tx.commit();
    }
    QCOMPARE(db->scalar("SELECT count(*) FROM kasa").toInt(), 1);
    QCOMPARE(db->transactionDepth(), 0);
}

void TestDatabase::nestedTransactionUndoesOnlyItsOwnPart() {
    TestEnvironment env;
    auto db = env.newDatabase();
    {
        Transaction outer(*db);
        db->exec("INSERT INTO kasa (Suma, idVal) VALUES (1, 1)");
        {
            Transaction inner(*db);
            db->exec("INSERT INTO kasa (Suma, idVal) VALUES (2, 1)");
        } // not committed
        {
            Transaction inner(*db);
            db->exec("INSERT INTO kasa (Suma, idVal) VALUES (3, 1)");
            inner.commit();
        }
        outer.commit();
    }
    QCOMPARE(db->scalar("SELECT sum(Suma) FROM kasa").toDouble(), 4.0);
    {
        Transaction outer(*db);
        {
            Transaction inner(*db);
            db->exec("INSERT INTO kasa (Suma, idVal) VALUES (100, 1)");
            inner.commit();
        }
    } // outer not committed: the inner part goes too
    QCOMPARE(db->scalar("SELECT sum(Suma) FROM kasa").toDouble(), 4.0);
}

void TestDatabase::committedRowsSurviveReopeningAndSyncIsFull() {
    TestEnvironment env;
    const QString path = env.path("Drumvel.mdz");
    {
        auto db = Database::createFile(path);
        QCOMPARE(db->scalar("PRAGMA synchronous").toInt(), 2); // FULL
        Transaction tx(*db);
        db->exec("INSERT INTO kasa (Data, Suma, idVal, Notes) VALUES (:d, 12.5, 1, :n)",
                 {{"d", QDate(2026, 12, 11)}, {"n", "Плащане"}});
        tx.commit();
    }
    auto reopened = Database::openFile(path);
    QCOMPARE(reopened->scalar("SELECT Notes FROM kasa").toString(), QString("Плащане"));
    QCOMPARE(reopened->scalar("PRAGMA synchronous").toInt(), 2);
}

void TestDatabase::datesAndTimesUseTheirStorageForms() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDate date(2006, 3, 7);
    const QTime time(9, 5, 3);
    const QDateTime stamp(date, QTime(14, 5, 0));
    db->exec("INSERT INTO kasa (Data, Chas) VALUES (:d, :t)", {{"d", date}, {"t", time}});
    db->exec("INSERT INTO Part_Moves (data, chas) VALUES (:d, :s)", {{"d", date}, {"s", stamp}});
    QCOMPARE(db->scalar("SELECT Data FROM kasa").toString(), QString("2006-03-07"));
    QCOMPARE(db->scalar("SELECT Chas FROM kasa").toString(), QString("09:05:03"));
    QCOMPARE(db->scalar("SELECT chas FROM Part_Moves").toString(), QString("2006-03-07 14:05:00"));
    QCOMPARE(dateFromDb(db->scalar("SELECT Data FROM kasa")), date);
    QCOMPARE(timeFromDb(db->scalar("SELECT Chas FROM kasa")), time);
    QCOMPARE(dateTimeFromDb(db->scalar("SELECT chas FROM Part_Moves")), stamp);
    // Dates compare and sort as dates.
    QCOMPARE(db->scalar("SELECT count(*) FROM kasa WHERE Data BETWEEN :a AND :b",
                        {{"a", QDate(2006, 3, 1)}, {"b", QDate(2006, 3, 31)}})
                 .toInt(),
             1);
    QVERIFY(!dateFromDb(QVariant()).isValid());
}

QTEST_MAIN(TestDatabase)
#include "test_database.moc"

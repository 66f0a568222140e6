#include "store/database.h"
#include "store/registration_number.h"
#include "store/schema_upgrade.h"
#include "support/test_environment.h"

#include <QTest>

using testing::TestEnvironment;

class TestRegistrationNumber : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void oneFormWhateverWasTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("normal");
        QTest::newRow("cyrillic as it should be") << "СА1234АВ"
                                                  << "СА1234АВ";
        QTest::newRow("latin look-alikes") << "CA1234AB"
                                           << "СА1234АВ";
        QTest::newRow("lower case, both alphabets") << "са1234ab"
                                                    << "СА1234АВ";
        QTest::newRow("blanks") << " СА 1234 АВ "
                                << "СА1234АВ";
        QTest::newRow("every look-alike") << "abekmhopctyx"
                                          << "АВЕКМНОРСТУХ";
        QTest::newRow("other latin letters stay") << "D-FZ 123"
                                                  << "D-FZ123";
        QTest::newRow("other cyrillic letters stay") << "ПБ1234ЮЯ"
                                                     << "ПБ1234ЮЯ";
        QTest::newRow("empty") << ""
                               << "";
    }
    void oneFormWhateverWasTyped() {
        QFETCH(QString, typed);
        QFETCH(QString, normal);
        QCOMPARE(store::normalRegistrationNumber(typed), normal);
        QCOMPARE(store::normalRegistrationNumber(normal), normal);
    }

    void upgradeBringsStoredNumbersIntoTheFormOnce() {
        TestEnvironment env;
        auto db = env.newDatabase();
        QVERIFY(store::planUpgrade(*db).isEmpty()); // a new file needs no conversion
        // A file from before the conversion: numbers as people typed them, no marker.
        db->exec("DELETE FROM connect WHERE id = :id", {{"id", store::kRegistrationNumbersMarker}});
        db->exec("INSERT INTO porychka (idPor, serial, clientnames) VALUES (1, 'ca 1234 ab', 'А')");
        db->exec("INSERT INTO porychka (idPor, serial, clientnames) VALUES (2, NULL, 'Б')");
        db->exec("INSERT INTO cars (RegNo, Marka) VALUES ('pb5555kh', 'VW')");
        const store::UpgradePlan plan = store::planUpgrade(*db);
        QCOMPARE(plan.pendingConversions, QList<int>{store::kRegistrationNumbersMarker});

        store::upgradeSchema(*db);
        QCOMPARE(db->scalar("SELECT serial FROM porychka WHERE idPor = 1").toString(),
                 QString("СА1234АВ"));
        QVERIFY(db->scalar("SELECT serial FROM porychka WHERE idPor = 2").isNull());
        QCOMPARE(db->scalar("SELECT RegNo FROM cars").toString(), QString("РВ5555КН"));
        QVERIFY(store::planUpgrade(*db).isEmpty());

        // Once done, later numbers are left to the program's own writing.
        db->exec("UPDATE cars SET RegNo = 'x1'");
        store::upgradeSchema(*db);
        QCOMPARE(db->scalar("SELECT RegNo FROM cars").toString(), QString("x1"));
    }
};

QTEST_MAIN(TestRegistrationNumber)
#include "test_registration_number.moc"

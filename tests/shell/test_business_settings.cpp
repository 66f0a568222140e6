#include "shell/business_settings.h"
#include "store/database.h"
#include "support/test_environment.h"

#include <QDate>
#include <QTest>

using namespace shell;
using testing::TestEnvironment;

class TestBusinessSettings : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void newDatabaseGetsTheFirstDefaults();
    void changesAreSavedAndSeenByTheNextReader();
    void oldPrefsTableIsTakenOverAndDropped();
    void dialogDefaultsDoNotOverwrite();
    void externalStoreCountsOnlyWithAList();
    void unreadableTextGivesDefaults();
};

void TestBusinessSettings::newDatabaseGetsTheFirstDefaults() {
    TestEnvironment env;
    auto db = env.newDatabase();
    QVERIFY(db->scalar("SELECT count(*) FROM connect WHERE id = 1").toInt() == 0);
    const BusinessSettings settings = BusinessSettings::load(*db);
    QStringList keys;
    for (const SettingRow& row : settings.rows())
        keys << row.key;
    QCOMPARE(keys, QStringList({"FirstTimeMonth", "FirstTimeYear", "Taksa", "Prices", "Currency"}));
    QCOMPARE(settings.firstMonth(), QDate::currentDate().month());
    QCOMPARE(settings.firstYear(), QDate::currentDate().year());
    QCOMPARE(settings.serviceFee(), 0.0);
    QVERIFY(!settings.foreignCurrencies());
    // Keys the dialog adds later read as their defaults meanwhile.
    QVERIFY(!settings.has("TaksaGTP"));
    QCOMPARE(settings.inspectionFee(), 20.0);
    QVERIFY(!db->scalar("SELECT Special FROM connect WHERE id = 1").toString().isEmpty());
}

void TestBusinessSettings::changesAreSavedAndSeenByTheNextReader() {
    TestEnvironment env;
    auto db = env.newDatabase();
    BusinessSettings settings = BusinessSettings::load(*db);
    settings.setInt(*db, settingKeys::currency, 1);
    settings.setNum(*db, settingKeys::taksa, 12.5);
    settings.setInt(*db, settingKeys::workByTime, 1); // a key not there before
    const BusinessSettings again = BusinessSettings::load(*db);
    QVERIFY(again.foreignCurrencies());
    QCOMPARE(again.serviceFee(), 12.5);
    QVERIFY(again.workByTime());
    QCOMPARE(again.rows().size(), 6);
}

void TestBusinessSettings::oldPrefsTableIsTakenOverAndDropped() {
    TestEnvironment env;
    auto db = env.newDatabase();
    db->exec("CREATE TABLE prefs (id INTEGER PRIMARY KEY, \"key\" VARCHAR(50), str VARCHAR(50), "
             "num DOUBLE, \"int\" INTEGER, reg VARCHAR(50))");
    db->exec("INSERT INTO prefs (\"key\", num) VALUES ('Taksa', 15)");
    db->exec("INSERT INTO prefs (\"key\", \"int\") VALUES ('Currency', 1)");
    const BusinessSettings settings = BusinessSettings::load(*db);
    QCOMPARE(settings.serviceFee(), 15.0);
    QVERIFY(settings.foreignCurrencies());
    QCOMPARE(settings.rows().size(), 2); // taken over as they were, no defaults added
    QVERIFY(!db->hasTable("prefs"));
    QCOMPARE(BusinessSettings::load(*db).serviceFee(), 15.0);
}

void TestBusinessSettings::dialogDefaultsDoNotOverwrite() {
    TestEnvironment env;
    auto db = env.newDatabase();
    BusinessSettings settings = BusinessSettings::load(*db);
    settings.setNum(*db, settingKeys::taksaGtp, 35);
    settings.ensureNum(*db, settingKeys::taksaGtp, 20);
    settings.ensureInt(*db, settingKeys::useSn, 0);
    QCOMPARE(settings.inspectionFee(), 35.0);
    QVERIFY(settings.has("UseSN"));
    QCOMPARE(BusinessSettings::load(*db).inspectionFee(), 35.0);
}

void TestBusinessSettings::externalStoreCountsOnlyWithAList() {
    TestEnvironment env;
    auto db = env.newDatabase();
    BusinessSettings settings = BusinessSettings::load(*db);
    settings.setInt(*db, settingKeys::store, 2);
    QCOMPARE(settings.storeMode(*db), 0);
    saveExternalDatabases(*db, {"/data/micro1.db", " /data/micro 2.db "});
    QCOMPARE(settings.storeMode(*db), 2);
    QCOMPARE(externalDatabases(*db), QStringList({"/data/micro1.db", "/data/micro 2.db"}));
    saveExternalDatabases(*db, {});
    QCOMPARE(settings.storeMode(*db), 0);
}

void TestBusinessSettings::unreadableTextGivesDefaults() {
    TestEnvironment env;
    auto db = env.newDatabase();
    db->exec("INSERT INTO connect (id, Special) VALUES (1, 'not,json,at,all')");
    const BusinessSettings settings = BusinessSettings::load(*db);
    QCOMPARE(settings.rows().size(), 5);
    QVERIFY(BusinessSettings::fromText(settings.toText()).size() == 5);
}

QTEST_MAIN(TestBusinessSettings)
#include "test_business_settings.moc"

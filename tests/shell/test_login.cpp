#include "shell/first_password_dialog.h"
#include "shell/login.h"
#include "shell/password_hash.h"
#include "shell/session.h"
#include "store/database.h"
#include "store/rights.h"
#include "support/builders.h"
#include "support/test_environment.h"

#include <QSettings>
#include <QTest>

using shell::LoginAttempts;
using testing::TestEnvironment;

namespace {

// Adds an employee; the password is stored as given (plain text, a hash or null), the way
// older databases may hold it.
int addClerk(store::Database& db, const QString& name, const QString& nick,
             const QVariant& password, bool active, const QString& rights) {
    const qint64 id = builders::employee(
        db, {.name = name, .active = active, .level = 1, .nick = nick, .rights = rights});
    db.exec("UPDATE clerks SET Password = :password WHERE id = :id",
            {{"password", password}, {"id", id}});
    return int(id);
}

QString storedPassword(store::Database& db, int id) {
    return db.scalar("SELECT Password FROM clerks WHERE id = :id", {{"id", id}}).toString();
}

} // namespace

class TestLogin : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hashesVerifyOnlyTheirPassword_data();
    void hashesVerifyOnlyTheirPassword();
    void loginMatchesActiveEmployeesExactly_data();
    void loginMatchesActiveEmployeesExactly();
    void plainTextPasswordIsAcceptedOnceThenKeptHashed();
    void theLastMatchingEmployeeWins();
    void twoFailuresThenSuccessLogsIn();
    void thirdFailureEndsAndEmptyFieldsAreNotCounted();
    void newDatabaseAsksForTheAdministratorsPassword();
    void firstPasswordProblems_data();
    void firstPasswordProblems();
    void firstPasswordPromptInsistsUntilTheTwoAgree();
    void firstPasswordPromptCancelledWritesNothing();
    void firstPasswordIsNeverSetTwice();
    void rightsAreHeldOnlyByAOneAtTheirPosition_data();
    void rightsAreHeldOnlyByAOneAtTheirPosition();
    void workstationKeyIsCreatedOnceAndKept();
};

void TestLogin::hashesVerifyOnlyTheirPassword_data() {
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("matches");
    QTest::newRow("same") << "Тайна 12"
                          << "Тайна 12" << true;
    QTest::newRow("other case") << "Тайна 12"
                                << "тайна 12" << false;
    QTest::newRow("one more blank") << "secret"
                                    << "secret " << false;
    QTest::newRow("empty typed") << "secret"
                                 << "" << false;
    QTest::newRow("apostrophe") << "o'neil\"; --"
                                << "o'neil\"; --" << true;
}

void TestLogin::hashesVerifyOnlyTheirPassword() {
    QFETCH(QString, password);
    QFETCH(QString, typed);
    QFETCH(bool, matches);
    const QString hash = shell::hashPassword(password);
    QVERIFY(shell::isPasswordHash(hash));
    QVERIFY(!hash.contains(password));
    QVERIFY(!shell::hashNeedsRenewal(hash));
    QCOMPARE(shell::passwordMatches(hash, typed), matches);
    // Plain text from an older database compares exactly as well.
    QVERIFY(!shell::isPasswordHash(password));
    QCOMPARE(shell::passwordMatches(password, typed), matches);
    // Two hashes of one password differ (each has its own salt).
    QVERIFY(shell::hashPassword(password) != hash);
    QVERIFY(!shell::passwordMatches(QString(), QString()));
}

void TestLogin::loginMatchesActiveEmployeesExactly_data() {
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("expectedName"); // empty: refused
    QTest::newRow("exact") << "ivan"
                           << "Pa55"
                           << "Иван Петров";
    QTest::newRow("name in other case") << "Ivan"
                                        << "Pa55"
                                        << "";
    QTest::newRow("password in other case") << "ivan"
                                            << "pa55"
                                            << "";
    QTest::newRow("inactive employee") << "gosho"
                                       << "gosho1"
                                       << "";
    QTest::newRow("plain-text password") << "mara"
                                         << "мара"
                                         << "Мария Иванова";
    QTest::newRow("unknown name") << "nobody"
                                  << "Pa55"
                                  << "";
    QTest::newRow("apostrophe in name") << "o'hara"
                                        << "x' OR '1'='1"
                                        << "";
}

void TestLogin::loginMatchesActiveEmployeesExactly() {
    QFETCH(QString, nick);
    QFETCH(QString, password);
    QFETCH(QString, expectedName);
    TestEnvironment env;
    auto db = env.newDatabase();
    const QString level1 = *store::rightsPresetForLevel(1);
    addClerk(*db, "Иван Петров", "ivan", shell::hashPassword("Pa55"), true, level1);
    addClerk(*db, "Георги Стоев", "gosho", shell::hashPassword("gosho1"), false, level1);
    addClerk(*db, "Мария Иванова", "mara", "мара", true, level1);
    addClerk(*db, "Скарлет", "o'hara", shell::hashPassword("secret"), true, level1);

    const auto user = shell::findLogin(*db, nick, password);
    QCOMPARE(user.has_value(), !expectedName.isEmpty());
    if (user) {
        QCOMPARE(user->name, expectedName);
        QCOMPARE(user->nick, nick);
        QCOMPARE(user->rights, level1);
        QCOMPARE(user->id,
                 db->scalar("SELECT id FROM clerks WHERE Nick = :n", {{"n", nick}}).toInt());
    }
}

void TestLogin::plainTextPasswordIsAcceptedOnceThenKeptHashed() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const int id = addClerk(*db, "Петър", "pesho", "Стара парола", true, "1");
    QVERIFY(!shell::findLogin(*db, "pesho", "стара парола"));
    QCOMPARE(storedPassword(*db, id), QString("Стара парола")); // a failure changes nothing

    QVERIFY(shell::findLogin(*db, "pesho", "Стара парола"));
    const QString stored = storedPassword(*db, id);
    QVERIFY(shell::isPasswordHash(stored));
    // The same password keeps working against the hash, and the hash is not renewed again.
    QVERIFY(shell::findLogin(*db, "pesho", "Стара парола"));
    QCOMPARE(storedPassword(*db, id), stored);
    QVERIFY(!shell::findLogin(*db, "pesho", stored)); // the hash itself is no password
}

void TestLogin::theLastMatchingEmployeeWins() {
    TestEnvironment env;
    auto db = env.newDatabase();
    addClerk(*db, "Първи", "same", shell::hashPassword("pw"), true, "1");
    const int second = addClerk(*db, "Втори", "same", shell::hashPassword("pw"), true, "12");
    addClerk(*db, "Трети", "same", shell::hashPassword("other"), true, "121");
    const auto user = shell::findLogin(*db, "same", "pw");
    QVERIFY(user);
    QCOMPARE(user->id, second);
    QCOMPARE(user->name, QString("Втори"));
}

void TestLogin::twoFailuresThenSuccessLogsIn() {
    TestEnvironment env;
    auto db = env.newDatabase();
    addClerk(*db, "Иван", "ivan", shell::hashPassword("pw"), true, "1");
    LoginAttempts attempts;
    QCOMPARE(attempts.submit(*db, "ivan", "PW"), LoginAttempts::Outcome::Refused);
    QCOMPARE(attempts.submit(*db, "IVAN", "pw"), LoginAttempts::Outcome::Refused);
    QCOMPARE(attempts.failures(), 2);
    QVERIFY(!attempts.user());
    // Blanks around both texts are ignored.
    QCOMPARE(attempts.submit(*db, "  ivan ", " pw  "), LoginAttempts::Outcome::LoggedIn);
    QCOMPARE(attempts.user()->name, QString("Иван"));
}

void TestLogin::thirdFailureEndsAndEmptyFieldsAreNotCounted() {
    TestEnvironment env;
    auto db = env.newDatabase();
    addClerk(*db, "Иван", "ivan", shell::hashPassword("pw"), true, "1");
    LoginAttempts attempts;
    QCOMPARE(attempts.submit(*db, "ivan", "bad"), LoginAttempts::Outcome::Refused);
    QCOMPARE(attempts.submit(*db, "ivan", "   "), LoginAttempts::Outcome::EmptyPassword);
    QCOMPARE(attempts.submit(*db, "", "pw"), LoginAttempts::Outcome::EmptyName);
    QCOMPARE(attempts.submit(*db, "", ""), LoginAttempts::Outcome::EmptyPassword);
    QCOMPARE(attempts.failures(), 1);
    QCOMPARE(attempts.submit(*db, "ivan", "bad"), LoginAttempts::Outcome::Refused);
    QCOMPARE(attempts.submit(*db, "ivan", "bad"), LoginAttempts::Outcome::TooManyFailures);
    QVERIFY(!attempts.user());
}

void TestLogin::newDatabaseAsksForTheAdministratorsPassword() {
    TestEnvironment env;
    auto db = env.newDatabase();
    QVERIFY(shell::needsFirstPassword(*db));
    // Without a password nobody can log in, whatever is typed.
    QVERIFY(!shell::findLogin(*db, "Administrator", "x"));

    QVERIFY(shell::setFirstPassword(*db, "  Начало1 "));
    QVERIFY(!shell::needsFirstPassword(*db));
    QVERIFY(shell::isPasswordHash(storedPassword(*db, 1)));
    QCOMPARE(db->scalar("SELECT Nick FROM clerks WHERE id = 1").toString(),
             QString("Administrator"));
    const auto user = shell::findLogin(*db, shell::kFirstLoginName, "Начало1");
    QVERIFY(user);
    QCOMPARE(user->id, 1);
    QCOMPARE(user->rights, QString(store::kRightsCount, QLatin1Char('1')));
}

void TestLogin::firstPasswordProblems_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("problem");
    QTest::newRow("agree") << "abc"
                           << "abc"
                           << "";
    QTest::newRow("agree but for blanks") << " abc"
                                          << "abc "
                                          << "";
    QTest::newRow("empty") << ""
                           << ""
                           << "Паролата не може да бъде празна!";
    QTest::newRow("blanks only") << "   "
                                 << "   "
                                 << "Паролата не може да бъде празна!";
    QTest::newRow("differ") << "abc"
                            << "abd"
                            << "Двете пароли не съвпадат. Опитайте пак";
    QTest::newRow("differ in case") << "abc"
                                    << "ABC"
                                    << "Двете пароли не съвпадат. Опитайте пак";
}

void TestLogin::firstPasswordProblems() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFETCH(QString, problem);
    QCOMPARE(shell::firstPasswordProblem(first, second).value_or(QString()), problem);
}

void TestLogin::firstPasswordPromptInsistsUntilTheTwoAgree() {
    TestEnvironment env;
    auto db = env.newDatabase();
    auto& r = env.responder();
    r.inputs << QString("") << QString("one") << QString("two") << QString("good")
             << QString("good");
    QVERIFY(shell::askFirstPassword(nullptr, *db));
    QCOMPARE(r.texts(), QStringList({"Паролата не може да бъде празна!",
                                     "Двете пароли не съвпадат. Опитайте пак"}));
    QCOMPARE(r.messages.at(0).caption, QString("Грешка"));
    QVERIFY(r.inputs.isEmpty());
    QVERIFY(shell::findLogin(*db, "Administrator", "good"));
}

void TestLogin::firstPasswordPromptCancelledWritesNothing() {
    TestEnvironment env;
    auto db = env.newDatabase();
    env.responder().inputs << QString("good") << std::nullopt; // cancels the repetition
    QVERIFY(!shell::askFirstPassword(nullptr, *db));
    QVERIFY(shell::needsFirstPassword(*db));
    QVERIFY(db->scalar("SELECT Password FROM clerks WHERE id = 1").isNull());
}

void TestLogin::firstPasswordIsNeverSetTwice() {
    TestEnvironment env;
    auto db = env.newDatabase();
    QVERIFY(shell::setFirstPassword(*db, "first"));
    QVERIFY(!shell::setFirstPassword(*db, "second"));
    QVERIFY(shell::findLogin(*db, "Administrator", "first"));
    QVERIFY(!shell::findLogin(*db, "Administrator", "second"));

    // An older database whose employees already have passwords is not asked either, even when
    // the administrator has none: setting it at start would let anyone in.
    TestEnvironment env2;
    auto old = env2.newDatabase("old.mdz");
    addClerk(*old, "Иван", "ivan", "plain", true, "1");
    QVERIFY(!shell::needsFirstPassword(*old));
    QVERIFY(!shell::setFirstPassword(*old, "mine"));
    QVERIFY(old->scalar("SELECT Password FROM clerks WHERE id = 1").isNull());
}

void TestLogin::rightsAreHeldOnlyByAOneAtTheirPosition_data() {
    QTest::addColumn<QString>("rights");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("held");
    const QString level1 = *store::rightsPresetForLevel(1);
    const QString level2 = *store::rightsPresetForLevel(2);
    QTest::newRow("L1 order report") << level1 << 20 << true;
    QTest::newRow("L1 salaries") << level1 << 42 << false;
    QTest::newRow("L2 counter sale") << level2 << 14 << true;
    QTest::newRow("L2 new order") << level2 << 17 << true;
    QTest::newRow("L2 order payment") << level2 << 21 << false;
    QTest::newRow("3 at a leaf") << QString("113") << 3 << false;
    QTest::newRow("beyond the end") << QString("111") << 4 << false;
    QTest::newRow("position 0") << QString("111") << 0 << false;
}

void TestLogin::rightsAreHeldOnlyByAOneAtTheirPosition() {
    QFETCH(QString, rights);
    QFETCH(int, position);
    QFETCH(bool, held);
    const shell::Session session({1, "a", "A", rights}, "ws");
    QCOMPARE(session.holdsRight(store::Right(position)), held);
}

void TestLogin::workstationKeyIsCreatedOnceAndKept() {
    TestEnvironment env;
    QString first;
    {
        QSettings settings("Brenvik", "Motrela");
        QVERIFY(!settings.contains("Workstation"));
        first = shell::workstationKey(settings);
        QVERIFY(!first.isEmpty());
    }
    QSettings again("Brenvik", "Motrela");
    QCOMPARE(shell::workstationKey(again), first);
}

QTEST_MAIN(TestLogin)
#include "test_login.moc"

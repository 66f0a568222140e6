#include "app/single_instance.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

namespace {

QString uniqueName() {
    return "workshop-test-" + QUuid::createUuid().toString(QUuid::Id128);
}

} // namespace

class TestStartInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondStartActivatesTheFirstAndEnds();
    void differentNamesRunSideBySide();
    void aSocketLeftByACrashIsTakenOver();
    void theNameBelongsToTheUser();
};

void TestStartInstance::secondStartActivatesTheFirstAndEnds() {
    const QString name = uniqueName();
    app::SingleInstance first(name);
    QVERIFY(first.claim());
    QSignalSpy activated(&first, &app::SingleInstance::activationRequested);

    app::SingleInstance second(name);
    QVERIFY(!second.claim());
    QVERIFY(activated.wait(5000));
    QCOMPARE(activated.count(), 1);

    // Every later start does the same.
    app::SingleInstance third(name);
    QVERIFY(!third.claim());
    QTRY_COMPARE(activated.count(), 2);
}

void TestStartInstance::differentNamesRunSideBySide() {
    app::SingleInstance one(uniqueName());
    app::SingleInstance other(uniqueName());
    QSignalSpy activated(&one, &app::SingleInstance::activationRequested);
    QVERIFY(one.claim());
    QVERIFY(other.claim());
    QTest::qWait(100);
    QCOMPARE(activated.count(), 0);
}

void TestStartInstance::aSocketLeftByACrashIsTakenOver() {
    const QString name = uniqueName();
    // A crashed program leaves its socket file behind, with nobody listening.
    const QString stale = QDir(QDir::tempPath()).filePath(name);
    {
        QFile f(stale);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    app::SingleInstance first(name);
    QVERIFY(first.claim());
    QSignalSpy activated(&first, &app::SingleInstance::activationRequested);
    app::SingleInstance second(name);
    QVERIFY(!second.claim());
    QVERIFY(activated.wait(5000));
}

void TestStartInstance::theNameBelongsToTheUser() {
    const QString name = app::SingleInstance::defaultName();
    QCOMPARE(app::SingleInstance::defaultName(), name);
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", "/tmp/some-other-user");
    const QString other = app::SingleInstance::defaultName();
    qputenv("HOME", home);
    QVERIFY(other != name);
    QVERIFY(name.startsWith("Motrela-"));
}

QTEST_MAIN(TestStartInstance)
#include "test_start_instance.moc"

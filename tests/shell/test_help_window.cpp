#include "shell/help_pages.h"
#include "shell/help_window.h"
#include "support/test_environment.h"

#include <QTest>
#include <QTextBrowser>
#include <QUrl>

class TestHelpWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void topicsShowTheirPageOrSayThereIsNone_data();
    void topicsShowTheirPageOrSayThereIsNone();
    void oneWindowPerOwnerFollowsLinks();
};

void TestHelpWindow::topicsShowTheirPageOrSayThereIsNone_data() {
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("expected");
    QTest::newRow("program") << "Предназначение_и_функции_на_програмата"
                             << "Предназначение и функции на програмата";
    QTest::newRow("login") << "ИмеПарола"
                           << "Име и парола";
    QTest::newRow("own data") << "Собствени_данни"
                              << "БУЛСТАТ";
    QTest::newRow("missing") << "НяматакаваТема"
                             << "Няма помощ за тази тема";
    QTest::newRow("other case") << "именапарола"
                                << "Няма помощ за тази тема";
}

void TestHelpWindow::topicsShowTheirPageOrSayThereIsNone() {
    QFETCH(QString, topic);
    QFETCH(QString, expected);
    testing::TestEnvironment env;
    QWidget owner;
    shell::HelpWindow* window = shell::HelpWindow::showTopic(&owner, topic);
    QVERIFY(window->isVisible());
    const QString text = window->findChild<QTextBrowser*>("helpText")->toPlainText();
    QVERIFY2(text.contains(expected), qPrintable(text));
    QCOMPARE(shell::hasHelpTopic(topic), expected != "Няма помощ за тази тема");
}

void TestHelpWindow::oneWindowPerOwnerFollowsLinks() {
    testing::TestEnvironment env;
    QWidget owner;
    shell::HelpWindow* first = shell::HelpWindow::showTopic(&owner, shell::kHelpProgram);
    shell::HelpWindow* second = shell::HelpWindow::showTopic(&owner, shell::kHelpLogin);
    QCOMPARE(first, second);
    QCOMPARE(second->topic(), shell::kHelpLogin);
    auto* browser = second->findChild<QTextBrowser*>("helpText");
    shell::HelpWindow::showTopic(&owner, shell::kHelpProgram);
    emit browser->anchorClicked(QUrl("topic:" + shell::kHelpOwnData));
    QCOMPARE(second->topic(), shell::kHelpOwnData);
    QVERIFY(browser->toPlainText().contains("БУЛСТАТ"));
}

QTEST_MAIN(TestHelpWindow)
#include "test_help_window.moc"

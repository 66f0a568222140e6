#include "app/program_start.h"
#include "shell/help_pages.h"
#include "shell/help_window.h"
#include "support/test_environment.h"
#include "ui/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <clocale>
#include <cstdio>

namespace {

bool isBulgarian(const QString& text) {
    static const QRegularExpression cyrillic("[А-Яа-я]");
    return cyrillic.match(text).hasMatch();
}

QString printed(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", value);
    return QString::fromLatin1(buffer);
}

} // namespace

// What a user on a Bulgarian desktop meets at the start: the program's own texts and Qt's
// standard dialogs in Bulgarian, files written with decimal points.
class TestBulgarianDesktop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void numbersInFilesKeepTheDecimalPoint();
    void standardDialogsSpeakBulgarian();
    void questionsNameTheirBulgarianButtons_data();
    void questionsNameTheirBulgarianButtons();
    void helpWindowIsTitledByTheTopic_data();
    void helpWindowIsTitledByTheTopic();
};

void TestBulgarianDesktop::initTestCase() {
    // As the QApplication constructor leaves it on a Bulgarian desktop.
    QVERIFY2(std::setlocale(LC_NUMERIC, "bg_BG.UTF-8"),
             "the Bulgarian locale is missing: run scripts/install-deps.sh");
    QCOMPARE(printed(10.09), QString("10,09"));
    QVERIFY2(app::setUpLocale(), "qtbase_bg.qm is missing: run scripts/install-deps.sh");
}

void TestBulgarianDesktop::numbersInFilesKeepTheDecimalPoint() {
    QCOMPARE(QString::fromLatin1(std::setlocale(LC_NUMERIC, nullptr)), QString("C"));
    QCOMPARE(printed(10.09), QString("10.09"));
    // The program's own display stays Bulgarian.
    QCOMPARE(QLocale().language(), QLocale::Bulgarian);
    QCOMPARE(QLocale().decimalPoint(), QString(","));
}

void TestBulgarianDesktop::standardDialogsSpeakBulgarian() {
    QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Save |
                             QDialogButtonBox::Close);
    for (QAbstractButton* button : buttons.buttons())
        QVERIFY2(isBulgarian(button->text()), qPrintable(button->text()));
    QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString("Отказ"));

    QFileDialog files;
    files.setOption(QFileDialog::DontUseNativeDialog);
    files.setAcceptMode(QFileDialog::AcceptSave);
    auto* fileButtons = files.findChild<QDialogButtonBox*>();
    QVERIFY(fileButtons);
    for (QAbstractButton* button : fileButtons->buttons())
        QVERIFY2(isBulgarian(button->text()), qPrintable(button->text()));

    QPrintPreviewDialog preview;
    auto* toolbar = preview.findChild<QToolBar*>();
    QVERIFY(toolbar);
    int named = 0;
    for (QAction* action : toolbar->actions()) {
        if (action->isSeparator() || action->text().isEmpty())
            continue;
        QVERIFY2(isBulgarian(action->text()), qPrintable(action->text()));
        ++named;
    }
    QVERIFY(named > 5);
}

void TestBulgarianDesktop::questionsNameTheirBulgarianButtons_data() {
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("yes");
    QTest::newRow("plain question, yes") << "Желаете ли да приключите доставката?"
                                         << "Желаете ли да приключите доставката?" << true;
    QTest::newRow("answers explained, no")
        << "Веднага ли са платени сумите по доставката?\n\n"
           "   Yes - сумите се отразяват директно в касата\n"
           "   No  - сумите се записват като задължение към доставчика"
        << "Веднага ли са платени сумите по доставката?\n\n"
           "   Да - сумите се отразяват директно в касата\n"
           "   Не - сумите се записват като задължение към доставчика"
        << false;
}

void TestBulgarianDesktop::questionsNameTheirBulgarianButtons() {
    QFETCH(QString, question);
    QFETCH(QString, shown);
    QFETCH(bool, yes);
    ui::setResponder(nullptr); // the real box
    QString text;
    QStringList buttonTexts;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        watch.stop();
        text = box->text();
        for (QAbstractButton* button : box->buttons())
            buttonTexts << button->text();
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    watch.start(20);
    const bool answer = ui::ask(nullptr, question, "Запис на сумите");
    QCOMPARE(answer, yes);
    QCOMPARE(text, shown);
    buttonTexts.sort();
    QCOMPARE(buttonTexts, QStringList({"Да", "Не"}));
}

void TestBulgarianDesktop::helpWindowIsTitledByTheTopic_data() {
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("title");
    QTest::newRow("login") << shell::kHelpLogin << "Помощ - Име и парола";
    QTest::newRow("program") << shell::kHelpProgram
                             << "Помощ - Предназначение и функции на програмата";
    QTest::newRow("own data") << shell::kHelpOwnData << "Помощ - Собствени данни";
    QTest::newRow("no page") << "НяматакаваТема"
                             << "Помощ";
}

void TestBulgarianDesktop::helpWindowIsTitledByTheTopic() {
    QFETCH(QString, topic);
    QFETCH(QString, title);
    testing::TestEnvironment env;
    QWidget owner;
    const shell::HelpWindow* window = shell::HelpWindow::showTopic(&owner, topic);
    QCOMPARE(window->windowTitle(), title);
}

QTEST_MAIN(TestBulgarianDesktop)
#include "test_bulgarian_desktop.moc"

#include "orders/order_number_dialog.h"
#include "ui/choice_dialog.h"
#include "ui/progress_window.h"
#include "ui/wait_message.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {

// Types any text, Cyrillic included, key by key (QTest::keyClicks takes Latin-1 only).
void typeText(QWidget* widget, const QString& text) {
    for (const QChar ch : text) {
        const int key = ch.unicode() < 0x80 ? QChar(ch).toUpper().unicode() : 0;
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

class TestSmallDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orderNumberTakesDigitsOnly_data();
    void orderNumberTakesDigitsOnly();
    void emptyOrderNumberNeverConfirms();
    void orderNumberPromptStartsEmptyEachTime();
    void choiceStartsOnTheFirstItem();
    void waitMessageShowsItsTextWithoutCaption();
    void progressWindowAdvancesToItsMaximum();
};

void TestSmallDialogs::orderNumberTakesDigitsOnly_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("digits") << "1042"
                            << "1042";
    QTest::newRow("letters and signs dropped") << "1a0-4 2.,+"
                                               << "1042";
    QTest::newRow("cyrillic dropped") << "№12б"
                                      << "12";
    QTest::newRow("longer than any order number") << "123456789012"
                                                  << "1234567890";
}

void TestSmallDialogs::orderNumberTakesDigitsOnly() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TfrmPorNo dialog;
    dialog.show();
    auto* edit = dialog.findChild<QLineEdit*>("ePorNo");
    typeText(edit, typed);
    QCOMPARE(edit->text(), kept);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), kept.chopped(1));
    dialog.findChild<QPushButton*>("btnNum")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.number(), std::optional<qint64>(kept.chopped(1).toLongLong()));
}

void TestSmallDialogs::emptyOrderNumberNeverConfirms() {
    TfrmPorNo dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    auto* edit = dialog.findChild<QLineEdit*>("ePorNo");
    auto* button = dialog.findChild<QPushButton*>("btnNum");
    button->setFocus();
    button->click();
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.number());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(edit));
    QTest::keyClicks(edit, "x");
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QTest::keyClicks(edit, "7");
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.number(), std::optional<qint64>(7));
}

void TestSmallDialogs::orderNumberPromptStartsEmptyEachTime() {
    TfrmPorNo dialog;
    dialog.show();
    auto* edit = dialog.findChild<QLineEdit*>("ePorNo");
    QTest::keyClicks(edit, "55");
    dialog.findChild<QPushButton*>("btnNum")->click();
    QCOMPARE(dialog.number(), std::optional<qint64>(55));
    dialog.show();
    QCOMPARE(edit->text(), QString());
    QVERIFY(!dialog.number());
    dialog.reject();
    QVERIFY(!dialog.number());
}

void TestSmallDialogs::choiceStartsOnTheFirstItem() {
    TsmIzbor dialog;
    dialog.setItems({"Петров ЕООД", "Авто-Стил ООД"});
    auto* combo = dialog.findChild<QComboBox*>("Combo");
    combo->setCurrentIndex(1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    QCOMPARE(combo->currentIndex(), 0);
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(combo));
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(dialog.currentText(), QString("Авто-Стил ООД"));
    dialog.findChild<QPushButton*>("btnOk")->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.currentIndex(), 1);

    TsmIzbor empty;
    empty.show();
    empty.findChild<QPushButton*>("btnOk")->click();
    QVERIFY(empty.isVisible());
    empty.findChild<QPushButton*>("btnCancel")->click();
    QCOMPARE(empty.result(), int(QDialog::Rejected));
}

void TestSmallDialogs::waitMessageShowsItsTextWithoutCaption() {
    TfmMess window;
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    const QString text = "Зареждане на номенклатурата, моля изчакайте ...";
    {
        ui::WaitMessage wait(window, text);
        QVERIFY(window.isVisible());
        QCOMPARE(window.findChild<QLabel*>("Panel1")->text(), text);
    }
    QVERIFY(!window.isVisible());
}

void TestSmallDialogs::progressWindowAdvancesToItsMaximum() {
    TfrmBar window;
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    window.start("Архивиране ...", 3);
    auto* bar = window.findChild<QProgressBar*>("Bar");
    QVERIFY(window.isVisible());
    QCOMPARE(window.findChild<QLabel*>("Label1")->text(), QString("Архивиране ..."));
    QCOMPARE(bar->maximum(), 3);
    QCOMPARE(bar->value(), 0);
    window.advance();
    window.advance();
    QCOMPARE(bar->value(), 2);
    window.advance(5);
    QCOMPARE(bar->value(), 3);
    window.start("Отново", 10);
    QCOMPARE(window.position(), 0);
    QCOMPARE(window.maximum(), 10);
}

QTEST_MAIN(TestSmallDialogs)
#include "test_small_dialogs.moc"

#include "ui/choice_dialog.h"
#include "ui/progress_window.h"
#include "ui/wait_message.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

class TestSmallDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void choiceStartsOnTheFirstItem();
    void waitMessageShowsItsTextWithoutCaption();
    void progressWindowAdvancesToItsMaximum();
};

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

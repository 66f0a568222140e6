#include "orders/order_number_dialog.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
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

class TestOrderNumberDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void orderNumberTakesDigitsOnly_data();
    void orderNumberTakesDigitsOnly();
    void emptyOrderNumberNeverConfirms();
    void orderNumberPromptStartsEmptyEachTime();
};

void TestOrderNumberDialog::orderNumberTakesDigitsOnly_data() {
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

void TestOrderNumberDialog::orderNumberTakesDigitsOnly() {
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

void TestOrderNumberDialog::emptyOrderNumberNeverConfirms() {
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

void TestOrderNumberDialog::orderNumberPromptStartsEmptyEachTime() {
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

QTEST_MAIN(TestOrderNumberDialog)
#include "test_order_number_dialog.moc"

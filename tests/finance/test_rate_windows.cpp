#include "finance/date_dialog.h"
#include "finance/finance_commands.h"
#include "finance/rate_dialog.h"
#include "finance/rate_register_window.h"
#include "store/currency.h"
#include "store/sql_values.h"
#include "support/test_environment.h"
#include "support/widget_access.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace store;
using testing::ModalAnswer;
using testing::TestEnvironment;

namespace {

void click(QWidget* window, const char* button) {
    auto* b = window->findChild<QPushButton*>(button);
    QVERIFY2(b, button);
    b->click();
}

int rateRows(Database& db) {
    return db.scalar("SELECT count(*) FROM valcourse").toInt();
}

} // namespace

class TestRateWindows : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void dateDialogOpensOnTodayWithFocus();
    void dateIsKeptWithinTheLastTenDays_data();
    void dateIsKeptWithinTheLastTenDays();
    void levaOnlyAsksForNoRate();
    void knownRatesAreNotAskedAgain();
    void cancelledRatesCancelTheDateDialog();
    void confirmedRatesAreSavedForTheChosenDate();
    void rateDialogProposesDefaultsThenTheLatestRow();
    void zeroOrNegativeRatesAreRefused_data();
    void zeroOrNegativeRatesAreRefused();
    void pendingRateRowKeepsTheDialogOpen();
    void ensureRatesAsksOnlyForAMissingDay();
    void registerListsEveryRowNewestFirst();
    void aMovedDateIsConfirmedBeforeItIsUsed();
};

void TestRateWindows::dateDialogOpensOnTodayWithFocus() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TsrDate dialog(*db);
    auto* box = dialog.findChild<QDateEdit*>("DateBox");
    QVERIFY(box);
    dialog.setDate(QDate::currentDate().addDays(-3));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    QCOMPARE(box->date(), QDate::currentDate());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box));
}

void TestRateWindows::dateIsKeptWithinTheLastTenDays_data() {
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("expected");
    QTest::newRow("11 days back becomes 10 back") << -11 << -10;
    QTest::newRow("a year back becomes 10 back") << -365 << -10;
    QTest::newRow("10 days back stays") << -10 << -10;
    QTest::newRow("3 days back stays") << -3 << -3;
    QTest::newRow("today stays") << 0 << 0;
    QTest::newRow("tomorrow becomes today") << 1 << 0;
}

void TestRateWindows::dateIsKeptWithinTheLastTenDays() {
    QFETCH(int, offset);
    QFETCH(int, expected);
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDate today = QDate::currentDate();
    QCOMPARE(TsrDate::clamped(today.addDays(offset), today), today.addDays(expected));

    TsrDate dialog(*db);
    dialog.show();
    auto* box = dialog.findChild<QDateEdit*>("DateBox");
    box->setDate(today.addDays(offset)); // as the calendar would
    QCOMPARE(dialog.date(), today.addDays(expected));
    // Typed into the edit and left: pulled into the range, shown, and the user is told.
    env.responder().clear();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    box->findChild<QLineEdit*>()->selectAll();
    QTest::keyClicks(box, today.addDays(offset).toString("dd.MM.yyyy"));
    QTest::keyClick(box, Qt::Key_Tab);
    QCOMPARE(box->date(), today.addDays(expected));
    QCOMPARE(dialog.date(), today.addDays(expected));
    if (offset == expected) {
        QVERIFY(env.responder().messages.isEmpty());
        return;
    }
    QCOMPARE(env.responder().messages.size(), 1);
    QVERIFY(env.responder().messages.at(0).text.contains(
        "Ще бъде използвана " + today.addDays(expected).toString("dd.MM.yyyy")));
}

void TestRateWindows::aMovedDateIsConfirmedBeforeItIsUsed() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDate today = QDate::currentDate();
    TsrDate dialog(*db, CurrencyMode::LevaOnly);
    dialog.show();
    auto* box = dialog.findChild<QDateEdit*>("DateBox");
    box->setDate(today.addDays(-21)); // typed, not yet left
    click(&dialog, "BitBtn1");
    QVERIFY(dialog.isVisible()); // not booked yet: the user sees the date first
    QCOMPARE(box->date(), today.addDays(-10));
    QCOMPARE(env.responder().messages.size(), 1);
    click(&dialog, "BitBtn1");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.date(), today.addDays(-10));
    QCOMPARE(env.responder().messages.size(), 1);
}

void TestRateWindows::levaOnlyAsksForNoRate() {
    TestEnvironment env;
    auto db = env.newDatabase();
    ModalAnswer<TsrCurrency> rates([](TsrCurrency* d) { click(d, "BitBtn2"); });
    TsrDate dialog(*db, CurrencyMode::LevaOnly);
    dialog.show();
    click(&dialog, "BitBtn1");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(rates.seen, 0);
    QCOMPARE(rateRows(*db), 0);
}

void TestRateWindows::knownRatesAreNotAskedAgain() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDate day = QDate::currentDate().addDays(-2);
    addRates(*db, {day, 1.8, 1.95583});
    ModalAnswer<TsrCurrency> rates([](TsrCurrency* d) { click(d, "BitBtn2"); });
    TsrDate dialog(*db, CurrencyMode::ThreeCurrencies);
    dialog.show();
    dialog.setDate(day);
    click(&dialog, "BitBtn1");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(rates.seen, 0);
}

void TestRateWindows::cancelledRatesCancelTheDateDialog() {
    TestEnvironment env;
    auto db = env.newDatabase();
    addRates(*db, {QDate::currentDate().addDays(-1), 1.8, 1.95583}); // another day's rates
    ModalAnswer<TsrCurrency> rates([](TsrCurrency* d) { click(d, "BitBtn2"); });
    TsrDate dialog(*db, CurrencyMode::ThreeCurrencies);
    dialog.show();
    click(&dialog, "BitBtn1");
    QCOMPARE(rates.seen, 1);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(rateRows(*db), 1);
    QVERIFY(env.responder().messages.isEmpty());
}

void TestRateWindows::confirmedRatesAreSavedForTheChosenDate() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDate day = QDate::currentDate().addDays(-4);
    QString shownDate;
    ModalAnswer<TsrCurrency> rates([&](TsrCurrency* d) {
        shownDate = d->findChild<QLabel*>("stDate")->text();
        d->findChild<QLineEdit*>("DBEdit1")->setText("1,82");
        d->findChild<QLineEdit*>("DBEdit2")->setText("1.95583");
        click(d, "BitBtn1");
    });
    TsrDate dialog(*db, CurrencyMode::ThreeCurrencies);
    dialog.show();
    dialog.setDate(day);
    click(&dialog, "BitBtn1");
    QCOMPARE(rates.seen, 1);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(shownDate, day.toString("dd.MM.yyyy"));
    const auto row = ratesOf(*db, day);
    QVERIFY(row);
    QCOMPARE(row->usd, 1.82);
    QCOMPARE(row->eur, 1.95583);
    QCOMPARE(rateRows(*db), 1);
}

void TestRateWindows::rateDialogProposesDefaultsThenTheLatestRow() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDate day = QDate::currentDate();
    {
        TsrCurrency dialog(*db, day);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        dialog.activateWindow();
        auto* usd = dialog.findChild<QLineEdit*>("DBEdit1");
        QCOMPARE(usd->text(), QString("1,7"));
        QCOMPARE(dialog.findChild<QLineEdit*>("DBEdit2")->text(), QString("1,956"));
        QCOMPARE(dialog.findChild<QLabel*>("stDate")->text(), day.toString("dd.MM.yyyy"));
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(usd));
        QCOMPARE(usd->selectedText(), usd->text());
        click(&dialog, "BitBtn2");
    }
    QCOMPARE(rateRows(*db), 0);
    addRates(*db, {day.addDays(-5), 1.79, 1.95583});
    addRates(*db, {day.addDays(-9), 1.5, 1.9});
    TsrCurrency dialog(*db, day);
    dialog.show();
    QCOMPARE(dialog.findChild<QLineEdit*>("DBEdit1")->text(), QString("1,79"));
    QCOMPARE(dialog.findChild<QLineEdit*>("DBEdit2")->text(), QString("1,95583"));
    click(&dialog, "BitBtn1");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(ratesOf(*db, day)->usd, 1.79);
}

void TestRateWindows::zeroOrNegativeRatesAreRefused_data() {
    QTest::addColumn<QString>("usd");
    QTest::addColumn<QString>("eur");
    QTest::addColumn<QString>("focused");
    QTest::newRow("dollar 0") << "0"
                              << "1,95583"
                              << "DBEdit1";
    QTest::newRow("euro 0") << "1,8"
                            << "0,00"
                            << "DBEdit2";
    QTest::newRow("both 0: dollar first") << "0"
                                          << "0"
                                          << "DBEdit1";
    QTest::newRow("dollar empty") << ""
                                  << "1,95583"
                                  << "DBEdit1";
    QTest::newRow("dollar negative") << "-1.8"
                                     << "1,95583"
                                     << "";
    QTest::newRow("euro negative") << "1,8"
                                   << "-2"
                                   << "";
}

void TestRateWindows::zeroOrNegativeRatesAreRefused() {
    QFETCH(QString, usd);
    QFETCH(QString, eur);
    QFETCH(QString, focused);
    TestEnvironment env;
    auto db = env.newDatabase();
    TsrCurrency dialog(*db, QDate::currentDate());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    auto* ok = dialog.findChild<QPushButton*>("BitBtn1");
    ok->setFocus(); // as after clicking it
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(ok));
    dialog.findChild<QLineEdit*>("DBEdit1")->setText(usd);
    dialog.findChild<QLineEdit*>("DBEdit2")->setText(eur);
    ok->click();

    QCOMPARE(env.responder().messages.size(), 1);
    const auto& message = env.responder().messages.first();
    QCOMPARE(message.caption, QString("Внимание"));
    QCOMPARE(message.text,
             QString("Не можете да въвеждате нулеви или отрицателни стойност за валутния курс!"));
    QCOMPARE(message.icon, ui::MessageIcon::Error);
    QVERIFY(dialog.isVisible());
    QCOMPARE(rateRows(*db), 0);
    QWidget* expectedFocus =
        focused.isEmpty() ? static_cast<QWidget*>(ok) : dialog.findChild<QLineEdit*>(focused);
    QTRY_COMPARE(QApplication::focusWidget(), expectedFocus);

    // Corrected, the same row is saved once.
    dialog.findChild<QLineEdit*>("DBEdit1")->setText("1,8");
    dialog.findChild<QLineEdit*>("DBEdit2")->setText("1,95583");
    ok->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(rateRows(*db), 1);
    QCOMPARE(env.responder().messages.size(), 1);
}

void TestRateWindows::pendingRateRowKeepsTheDialogOpen() {
    TestEnvironment env;
    auto db = env.newDatabase();
    TsrCurrency dialog(*db, QDate::currentDate());
    dialog.show();
    QVERIFY(!dialog.close());
    QVERIFY(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Escape); // the same as Cancel
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.saved());
    QCOMPARE(rateRows(*db), 0);
}

void TestRateWindows::ensureRatesAsksOnlyForAMissingDay() {
    TestEnvironment env;
    auto db = env.newDatabase();
    const QDate today = QDate::currentDate();
    ModalAnswer<TsrCurrency> confirm([](TsrCurrency* d) { click(d, "BitBtn1"); });
    const auto first = finance::ensureRates(nullptr, *db, today);
    QCOMPARE(confirm.seen, 1);
    QVERIFY(first);
    QCOMPARE(first->usd, 1.7);
    QCOMPARE(first->eur, 1.956);
    const auto again = finance::ensureRates(nullptr, *db, today);
    QCOMPARE(confirm.seen, 1);
    QCOMPARE(again->usd, 1.7);
    QCOMPARE(rateRows(*db), 1);
}

void TestRateWindows::registerListsEveryRowNewestFirst() {
    TestEnvironment env;
    auto db = env.newDatabase();
    addRates(*db, {QDate(2024, 3, 4), 1.79, 1.95583});
    addRates(*db, {QDate(2024, 3, 6), 1.8, 1.96});
    TsrCourse window(*db);
    window.show();
    const QStandardItemModel& model = window.model();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, TsrCourse::gridDate).data().toString(), QString("06.03.2024"));
    QCOMPARE(model.index(0, TsrCourse::grid2).data().toString(), QString("1,8"));
    QCOMPARE(model.index(0, TsrCourse::grid3).data().toString(), QString("1,96"));
    QCOMPARE(model.index(1, TsrCourse::gridDate).data().toString(), QString("04.03.2024"));
    QCOMPARE(model.index(1, TsrCourse::grid3).data().toString(), QString("1,95583"));
    // A row added meanwhile shows the next time the window opens.
    window.hide();
    addRates(*db, {QDate(2024, 3, 7), 1.81, 1.96});
    window.show();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.index(0, TsrCourse::gridDate).data().toString(), QString("07.03.2024"));
}

QTEST_MAIN(TestRateWindows)
#include "test_rate_windows.moc"

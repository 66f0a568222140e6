#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "warehouse/name_register_window.h"
#include "warehouse/parts_list_panel.h"
#include "warehouse/parts_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace testing;
using warehouse::WarehouseSettings;

namespace {

void choose(QComboBox* box, const QString& text) {
    const int index = box->findText(text);
    if (index < 0)
        qFatal("no such item");
    box->setCurrentIndex(index);
}

int rowsShown(TsrParts& w) {
    return w.partsList()->grid()->model()->rowCount();
}

} // namespace

class TestPartsWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void newPartIsCheckedAndSaved_data();
    void newPartIsCheckedAndSaved();
    void editedPartKeepsItsStock();
    void keyFiltersDropOtherCharacters();
    void searchPanel();
    void scannedCodeOfPartNotInListAsksToCreate();
    void scannedCodeInRestrictedListFindsThePart();
    void scannedCodeFillsTheBarcodeWhileEditing();
    void typesWindowSavesUniqueNamesAndHandsOverTheChoice();

private:
    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<store::Database> db_;
    qint64 type_ = 0;
    qint64 maker_ = 0;
};

void TestPartsWindow::init() {
    env_ = std::make_unique<TestEnvironment>();
    db_ = env_->newDatabase();
    type_ = builders::partType(*db_, "Спирачки");
    maker_ = builders::partMaker(*db_, "Bosch");
    builders::part(
        *db_,
        {.name = "Диск", .type = "Спирачки", .maker = "Bosch", .barcode = "3800", .amount = 2});
    builders::part(*db_,
                   {.name = "Накладки", .type = "Спирачки", .maker = "Bosch", .barcode = "4000"});
}

void TestPartsWindow::cleanup() {
    db_.reset();
    env_.reset();
}

void TestPartsWindow::newPartIsCheckedAndSaved_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QString>("barcode");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("saved") << " Барабан "
                           << "Спирачки"
                           << "Bosch"
                           << "5000"
                           << ""
                           << "btnIns";
    QTest::newRow("no designation") << ""
                                    << "Спирачки"
                                    << "Bosch"
                                    << ""
                                    << "Моля въведете обозначение за частта!"
                                    << "dbPart";
    QTest::newRow("no type") << "Барабан"
                             << ""
                             << "Bosch"
                             << ""
                             << "Моля въведете тип за частта!"
                             << "LookType";
    QTest::newRow("no maker") << "Барабан"
                              << "Спирачки"
                              << ""
                              << ""
                              << "Моля въведете марка (производител) за частта!"
                              << "lookMarka";
    QTest::newRow("barcode of another part") << "Барабан"
                                             << "Спирачки"
                                             << "Bosch"
                                             << "4000"
                                             << "Такъв баркод вече е въведен!"
                                             << "dbBarcode";
    QTest::newRow("same part") << "Диск"
                               << "Спирачки"
                               << "Bosch"
                               << ""
                               << "Bosch Спирачки Диск вече е въведен!"
                               << "dbPart";
}

void TestPartsWindow::newPartIsCheckedAndSaved() {
    QFETCH(QString, name);
    QFETCH(QString, type);
    QFETCH(QString, maker);
    QFETCH(QString, barcode);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TsrParts w(*db_, WarehouseSettings{});
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    click(w, "btnIns");
    QVERIFY(w.isEditing());
    QVERIFY(!child<QPushButton>(w, "btnIns")->isEnabled());
    QVERIFY(!child<QAction>(w, "mnExit")->isEnabled());
    child<QLineEdit>(w, "dbPart")->setText(name);
    choose(child<QComboBox>(w, "LookType"), type);
    choose(child<QComboBox>(w, "lookMarka"), maker);
    child<QLineEdit>(w, "dbBarcode")->setText(barcode);
    click(w, "btnRec");
    if (message.isEmpty()) {
        QVERIFY(env_->responder().messages.isEmpty());
        QVERIFY(!w.isEditing());
        QCOMPARE(rowCount(*db_, "parts"), 3);
        QCOMPARE(db_->scalar("SELECT Part FROM parts WHERE barcode = '5000'").toString(),
                 QString("Барабан"));
        QCOMPARE(rowsShown(w), 3);
    } else {
        QCOMPARE(env_->responder().texts(), QStringList{message});
        QCOMPARE(env_->responder().messages.first().caption, QString("Внимание"));
        QVERIFY(w.isEditing());
        QCOMPARE(rowCount(*db_, "parts"), 2);
        click(w, "btnExit"); // refused while the panel is open (the button is disabled, too)
        w.close();
        QVERIFY(w.isVisible());
    }
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
}

void TestPartsWindow::editedPartKeepsItsStock() {
    TsrParts w(*db_, WarehouseSettings{});
    QVERIFY(w.partsList()->selectPart(1));
    click(w, "btnEdit");
    QCOMPARE(child<QLineEdit>(w, "dbPart")->text(), QString("Диск"));
    click(w, "btnRec"); // unchanged: its own barcode and name do not count against it
    QVERIFY(env_->responder().messages.isEmpty());
    QVERIFY(!w.isEditing());
    click(w, "btnEdit");
    child<QLineEdit>(w, "dbPart")->setText("Диск вентилиран");
    click(w, "btnRec");
    QCOMPARE(db_->scalar("SELECT Part FROM parts WHERE id = 1").toString(),
             QString("Диск вентилиран"));
    QCOMPARE(stockOf(*db_, 1), 2);
    QCOMPARE(rowCount(*db_, "parts"), 2);
}

void TestPartsWindow::keyFiltersDropOtherCharacters() {
    TsrParts w(*db_, WarehouseSettings{});
    click(w, "btnIns");
    auto* partNo = child<QLineEdit>(w, "ePartNo");
    QTest::keyClicks(partNo, "ab-12.3/X _Z");
    QCOMPARE(partNo->text(), QString("-12.3/X Z"));
    auto* barcode = child<QLineEdit>(w, "dbBarcode");
    QTest::keyClicks(barcode, "38-00 a.B/1234567890");
    QCOMPARE(barcode->text(), QString("38-00B1234567")); // 13 at most
}

void TestPartsWindow::searchPanel() {
    TsrParts w(*db_, WarehouseSettings{});
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    QCOMPARE(rowsShown(w), 2);
    child<QAction>(w, "mnSearch")->trigger();
    QVERIFY(!child<QPushButton>(w, "btnIns")->isEnabled());
    QVERIFY(!w.partsList()->grid()->isEnabled());
    // No box ticked: only the focus moves.
    child<QCheckBox>(w, "chk1")->setChecked(false);
    child<QLineEdit>(w, "searchStr")->setText("Диск");
    click(w, "btnSpr");
    QCOMPARE(QApplication::focusWidget()->objectName(), QString("chk1"));
    QCOMPARE(rowsShown(w), 2);
    // One box: a restricted list, panel hidden, browsing again.
    child<QCheckBox>(w, "chk1")->setChecked(true);
    click(w, "btnSpr");
    QCOMPARE(rowsShown(w), 1);
    QVERIFY(!w.partsList()->isBroad());
    QVERIFY(!w.partsList()->isSearching());
    QVERIFY(child<QPushButton>(w, "btnIns")->isEnabled());
    // Nothing found: the panel stays, keeps the text and says why, with the wildcard's hint.
    child<QAction>(w, "mnSearch")->trigger();
    QCOMPARE(child<QLineEdit>(w, "searchStr")->placeholderText(),
             QString("* замества произволен текст"));
    child<QLineEdit>(w, "searchStr")->setText("дис"); // a plain word is the whole name
    click(w, "btnSpr");
    QVERIFY(w.partsList()->isSearching());
    QCOMPARE(child<QLineEdit>(w, "searchStr")->text(), QString("дис"));
    QVERIFY(child<QLabel>(w, "lbNotFound")->isVisible());
    QVERIFY(child<QLabel>(w, "lbNotFound")->text().contains("*дис*"));
    // Empty text: the broad list of parts in stock.
    child<QLineEdit>(w, "searchStr")->clear();
    click(w, "btnSpr");
    QVERIFY(!child<QLabel>(w, "lbNotFound")->isVisible());
    QVERIFY(w.partsList()->isBroad());
    QVERIFY(w.partsList()->broadInStockOnly());
    QCOMPARE(rowsShown(w), 1);
}

void TestPartsWindow::scannedCodeOfPartNotInListAsksToCreate() {
    TsrParts w(*db_, WarehouseSettings{});
    // The broad list of parts in stock does not hold "Накладки".
    child<QAction>(w, "mnSearch")->trigger();
    click(w, "btnSpr");
    QVERIFY(w.partsList()->broadInStockOnly());
    env_->responder().answers << true;
    w.handleBarcode("4000");
    QCOMPARE(env_->responder().questions,
             QStringList{"Този баркод не е намерен, желаете ли\nда създадете нов артикул с този "
                         "баркод?"});
    QVERIFY(w.isEditing());
    QCOMPARE(child<QLineEdit>(w, "dbBarcode")->text(), QString("4000"));
    child<QLineEdit>(w, "dbPart")->setText("Нова");
    choose(child<QComboBox>(w, "LookType"), "Спирачки");
    choose(child<QComboBox>(w, "lookMarka"), "Bosch");
    click(w, "btnRec");
    QCOMPARE(env_->responder().texts(), QStringList{"Такъв баркод вече е въведен!"});
    // Answering No leaves the list alone.
    click(w, "btnCancel");
    env_->responder().clear();
    w.handleBarcode("9999");
    QCOMPARE(env_->responder().questions.size(), 1);
    QVERIFY(!w.isEditing());
}

void TestPartsWindow::scannedCodeInRestrictedListFindsThePart() {
    TsrParts w(*db_, WarehouseSettings{});
    w.handleBarcode("4000"); // in the broad list: focused
    QCOMPARE(w.partsList()->currentPartId(), std::optional<qint64>(2));
    child<QAction>(w, "mnSearch")->trigger();
    child<QLineEdit>(w, "searchStr")->setText("Диск");
    click(w, "btnSpr");
    QCOMPARE(rowsShown(w), 1);
    w.handleBarcode("4000"); // not in the search result: the whole table is asked
    QVERIFY(env_->responder().questions.isEmpty());
    QCOMPARE(rowsShown(w), 1);
    QCOMPARE(w.partsList()->currentPartId(), std::optional<qint64>(2));
    w.handleBarcode("7777"); // nowhere
    QCOMPARE(env_->responder().questions.size(), 1);
}

void TestPartsWindow::scannedCodeFillsTheBarcodeWhileEditing() {
    TsrParts w(*db_, WarehouseSettings{});
    click(w, "btnEdit");
    w.handleBarcode("1234567890123");
    QCOMPARE(child<QLineEdit>(w, "dbBarcode")->text(), QString("1234567890123"));
    QVERIFY(env_->responder().questions.isEmpty());
}

void TestPartsWindow::typesWindowSavesUniqueNamesAndHandsOverTheChoice() {
    TsrParts w(*db_, WarehouseSettings{});
    click(w, "btnIns");
    ModalAnswer<TsrType> answer([this](TsrType* types) {
        QVERIFY(types->isEditing()); // opens with a new entry started
        child<QLineEdit>(*types, "dbType")->setText(" Спирачки ");
        click(*types, "btnRec");
        if (env_->responder().texts() != QStringList{"Такъв вид вече е въведен!"})
            qWarning("duplicate type accepted");
        child<QLineEdit>(*types, "dbType")->setText(" Ходова ");
        click(*types, "btnRec");
        click(*types, "btnExit");
    });
    click(w, "Button1");
    QCOMPARE(answer.seen, 1);
    QCOMPARE(env_->responder().texts(), QStringList{"Такъв вид вече е въведен!"});
    QCOMPARE(env_->responder().messages.first().caption, QString("Грешка"));
    QCOMPARE(rowCount(*db_, "typeParts"), 2);
    QCOMPARE(child<QComboBox>(w, "LookType")->currentText(), QString("Ходова"));
}

QTEST_MAIN(TestPartsWindow)
#include "test_parts_window.moc"

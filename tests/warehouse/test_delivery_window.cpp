#include "shell/session.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "warehouse/delivery_line_dialog.h"
#include "warehouse/delivery_return_window.h"
#include "warehouse/delivery_window.h"
#include "warehouse/earlier_deliveries.h"
#include "warehouse/earlier_deliveries_window.h"
#include "warehouse/parts_list_panel.h"
#include "warehouse/serial_numbers_dialog.h"
#include "warehouse/stock.h"
#include "warehouse/suppliers.h"
#include "warehouse/suppliers_window.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace testing;
using warehouse::Delivery;
using warehouse::DeliveryLine;
using warehouse::WarehouseSettings;

namespace {

// The till's records name the user 5.
shell::Session sessionWithRights(const QString& rights) {
    return builders::session(rights, {.id = 5, .nick = "test", .name = "Тест"});
}

Delivery deliveryFrom(qint64 supplier, const QString& name) {
    Delivery d;
    d.date = QDate::currentDate();
    d.supplierId = supplier;
    d.supplierName = name;
    return d;
}

// Fills the proposed line as a user would type it.
TsrDostParts::LineEditor typing(int count, double in, double out, double sale) {
    return [=](TsrDostParts*, const DeliveryLine& proposed) -> std::optional<DeliveryLine> {
        DeliveryLine l = proposed;
        l.count = count;
        l.inPrice = in;
        l.outPrice = out;
        l.salePrice = sale;
        return l;
    };
}

} // namespace

class TestDeliveryWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void deliveryIsAssembledAndRecorded_data();
    void deliveryIsAssembledAndRecorded();
    void linesAreDeletedAndClosingAsks();
    void scannedCodeAddsThePart();
    void lineDialogRefusesBadValues();
    void serialNumbersAreRefusedWhenEmptyRepeatedOrInStock();
    void stockReportListsPartsInStockAndChangesPrices();
    void returnToSupplier_data();
    void returnToSupplier();
    void suppliersRegisterRefusesADuplicateName();
    void earlierDeliveriesFollowTheFocusedPart();

private:
    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<store::Database> db_;
    qint64 supplier_ = 0;
    qint64 disk_ = 0;
    qint64 plug_ = 0;
};

void TestDeliveryWindow::init() {
    env_ = std::make_unique<TestEnvironment>();
    db_ = env_->newDatabase();
    supplier_ = builders::supplier(*db_, "Д'Артанян ООД");
    disk_ = builders::part(*db_, {.name = "Диск", .barcode = "3800", .amount = 10, .inPrice = 2.0});
    plug_ = builders::part(*db_, {.name = "Свещ", .barcode = "4000"});
}

void TestDeliveryWindow::cleanup() {
    db_.reset();
    env_.reset();
}

void TestDeliveryWindow::deliveryIsAssembledAndRecorded_data() {
    QTest::addColumn<bool>("finish");
    QTest::addColumn<bool>("paidNow");
    QTest::newRow("not finished") << false << false;
    QTest::newRow("left as debt") << true << false;
    QTest::newRow("paid from the till") << true << true;
}

void TestDeliveryWindow::deliveryIsAssembledAndRecorded() {
    QFETCH(bool, finish);
    QFETCH(bool, paidNow);
    const auto session = sessionWithRights(builders::allRights());
    TsrDostParts w(*db_, session, WarehouseSettings{}, deliveryFrom(supplier_, "Д'Артанян ООД"));
    QCOMPARE(w.windowTitle(),
             "Доставка от Д'Артанян ООД на " + QDate::currentDate().toString("dd.MM.yyyy"));
    w.setLineEditor(typing(10, 3.0, 5.0, 6.0));
    w.showNomenclature();
    QVERIFY(w.nomenclatureShown());
    QVERIFY(w.partsList()->selectPart(disk_));
    click(w, "btnAdd");
    QVERIFY(!w.nomenclatureShown());
    QCOMPARE(w.delivery().lines.size(), 1);
    // The same part again is refused.
    w.showNomenclature();
    QVERIFY(w.partsList()->selectPart(disk_));
    click(w, "btnAdd");
    QCOMPARE(env_->responder().texts(),
             QStringList{"Тази част вече е въведена в описа на доставката!"});
    QCOMPARE(env_->responder().messages.first().caption, QString("Съобение"));
    w.setLineEditor(typing(4, 1.5, 2.5, 3.0));
    QVERIFY(w.partsList()->selectPart(plug_));
    click(w, "btnAdd");
    QCOMPARE(w.delivery().lines.size(), 2);
    QCOMPARE(child<QTableView>(w, "dxDBGrid2")->model()->rowCount(), 2);

    env_->responder().answers << finish << paidNow;
    click(w, "btnRec");
    if (!finish) {
        QCOMPARE(env_->responder().questions, QStringList{"Желаете ли да приключите доставката?"});
        QCOMPARE(stockOf(*db_, disk_), 10);
        QCOMPARE(rowCount(*db_, "sprDost"), 0);
        QCOMPARE(w.delivery().lines.size(), 2);
        return;
    }
    QCOMPARE(env_->responder().questions.size(), 2);
    QCOMPARE(env_->responder().questions[1],
             QString("Веднага ли са платени сумите по доставката?\n\n"
                     "   Yes - сумите се отразяват директно в касата\n"
                     "   No  - сумите се записват като задължение към доставчика"));
    QCOMPARE(stockOf(*db_, disk_), 20);
    QCOMPARE(db_->scalar("SELECT inPrice FROM parts WHERE id = :id", {{"id", disk_}}).toDouble(),
             2.5);
    QCOMPARE(stockOf(*db_, plug_), 4);
    QCOMPARE(rowCount(*db_, "sprDost"), 2);
    const QList<QVariantList> payments =
        paidNow ? QList<QVariantList>{{-36.0}, {36.0}} : QList<QVariantList>{{36.0}};
    const QList<QVariantList> kasa =
        paidNow ? QList<QVariantList>{{-36.0, 5}} : QList<QVariantList>{};
    QCOMPARE(rows(*db_, "SELECT Suma FROM payments ORDER BY id"), payments);
    QCOMPARE(rows(*db_, "SELECT Suma, UserID FROM kasa"), kasa);
    QCOMPARE(w.result(), int(QDialog::Rejected)); // closed
    QVERIFY(w.delivery().lines.isEmpty());
}

void TestDeliveryWindow::linesAreDeletedAndClosingAsks() {
    const auto session = sessionWithRights(builders::allRights());
    TsrDostParts w(*db_, session, WarehouseSettings{}, deliveryFrom(supplier_, "Доставчик"));
    w.show();
    w.setLineEditor(typing(1, 1.0, 2.0, 2.0));
    QVERIFY(w.partsList()->selectPart(disk_));
    w.addFocusedPart();
    QVERIFY(w.partsList()->selectPart(plug_));
    w.addFocusedPart();
    child<QTableView>(w, "dxDBGrid2")->selectRow(0);
    env_->responder().answers << false;
    click(w, "btnDel");
    QCOMPARE(env_->responder().questions,
             QStringList{"Желаете ли да изтриете избраниия запис от описа на доставката?"});
    QCOMPARE(w.delivery().lines.size(), 2);
    env_->responder().answers << true;
    click(w, "btnDel");
    QCOMPARE(w.delivery().lines.size(), 1);
    QCOMPARE(w.delivery().lines.first().partId, plug_);
    env_->responder().clear();
    env_->responder().answers << false;
    click(w, "btnClose");
    QCOMPARE(env_->responder().questions,
             QStringList{"Желаете ли да излезете без запис на данните за доставка?"});
    QVERIFY(w.isVisible());
    env_->responder().answers << true;
    click(w, "btnClose");
    QVERIFY(!w.isVisible());
    QCOMPARE(rowCount(*db_, "sprDost"), 0);
}

void TestDeliveryWindow::scannedCodeAddsThePart() {
    const auto session = sessionWithRights(builders::allRights());
    TsrDostParts w(*db_, session, WarehouseSettings{}, deliveryFrom(supplier_, "Доставчик"));
    w.setLineEditor(typing(1, 1.0, 2.0, 2.0));
    w.handleBarcode("4000");
    QCOMPARE(w.delivery().lines.size(), 1);
    QCOMPARE(w.delivery().lines.first().partId, plug_);
    env_->responder().answers << true;
    w.handleBarcode("5555");
    QCOMPARE(
        env_->responder().questions,
        QStringList{"Този баркод не е намерен, желаете ли\nда създадете нов артикул с този код?"});
    QCOMPARE(child<QLineEdit>(w, "dbBarcode")->text(), QString("5555"));
    // The delivery asks for the designation in its own words.
    click(w, "btnRecNewPart");
    QCOMPARE(env_->responder().texts(), QStringList{"Моля въведете означение за частта!"});
}

void TestDeliveryWindow::lineDialogRefusesBadValues() {
    WarehouseSettings settings;
    settings.useSerialNumbers = true;
    Delivery others;
    DeliveryLine line;
    line.partId = disk_;
    line.part = "Диск";
    TsrDostData dialog(*db_, settings, line, store::Rates{}, std::nullopt, std::nullopt, others);
    child<QDoubleSpinBox>(dialog, "dbInpPrice")->setValue(10);
    child<QDoubleSpinBox>(dialog, "dbOutPrice")->setValue(9);
    child<QDoubleSpinBox>(dialog, "dbSalePrice")->setValue(12);
    click(dialog, "BitBtn1");
    QCOMPARE(env_->responder().texts(),
             QStringList{"Грешно въведени данни - доставната цена е по-голяма или равна на "
                         "продажната или цената в поръчка!"});
    QCOMPARE(env_->responder().messages.first().caption, QString("Грешка"));
    QCOMPARE(dialog.result(), 0);
    // Markup of 20 % on 10.00 gives 12.00 for both selling prices.
    child<QDoubleSpinBox>(dialog, "eNad")->setValue(20);
    click(dialog, "btnCalc1");
    QCOMPARE(child<QDoubleSpinBox>(dialog, "dbOutPrice")->value(), 12.0);
    QCOMPARE(child<QDoubleSpinBox>(dialog, "dbSalePrice")->value(), 12.0);
    QVERIFY(!child<QComboBox>(dialog, "eInpVal")->isEnabled()); // leva only
    click(dialog, "BitBtn1");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.line().outPrice, 12.0);
}

void TestDeliveryWindow::serialNumbersAreRefusedWhenEmptyRepeatedOrInStock() {
    warehouse::addSerialUnit(*db_, disk_, "IN-STOCK");
    Delivery others;
    DeliveryLine other;
    other.partId = plug_;
    other.serials = QStringList{"OTHER-1"};
    others.lines << other;
    TfrmSN dialog(*db_, {}, others);
    auto* entry = child<QLineEdit>(dialog, "eSN");
    const QString invalid =
        "Невалиден сериен номер!\nвече е въведен в таблицата или не сте въвели нищо в полето!";
    struct Case {
        const char* typed;
        QString message;
    };
    for (const Case& c :
         {Case{" A-1 ", ""}, Case{"   ", invalid}, Case{"A-1", invalid}, Case{"OTHER-1", invalid},
          Case{"IN-STOCK", "Такъв сериен номер вече съществува в базата данни!"},
          Case{"A-2", ""}}) {
        env_->responder().clear();
        entry->setText(c.typed);
        QCOMPARE(dialog.addSerial(), c.message.isEmpty());
        QCOMPARE(env_->responder().texts(),
                 c.message.isEmpty() ? QStringList{} : QStringList{c.message});
    }
    QCOMPARE(dialog.serialNumbers(), (QStringList{"A-1", "A-2"}));
}

void TestDeliveryWindow::stockReportListsPartsInStockAndChangesPrices() {
    const auto limited =
        sessionWithRights(builders::allRightsBut({store::Right::DeliveryReportAndPurchasePrices}));
    TsrDostParts w(*db_, limited, WarehouseSettings{});
    w.show();
    QCOMPARE(w.windowTitle(), QString("Наличност на резервни части"));
    QCOMPARE(w.partsList()->grid()->model()->rowCount(), 1);
    QVERIFY(w.partsList()->grid()->isColumnHidden(10)); // purchase price needs right 31
    child<QAction>(w, "mnNal")->setChecked(false);
    QCOMPARE(w.partsList()->grid()->model()->rowCount(), 2);
    QVERIFY(w.partsList()->selectPart(plug_));
    w.showPricePanel();
    click(w, "btnEditPrices");
    child<QDoubleSpinBox>(w, "dbEdit1")->setValue(5);
    child<QDoubleSpinBox>(w, "dbEdit2")->setValue(6);
    click(w, "btnRecChanges"); // no stock: refused
    QCOMPARE(env_->responder().texts(), QStringList{"Грешно въведени данни!"});
    click(w, "btnCancelChanges");
    QVERIFY(w.partsList()->selectPart(disk_));
    click(w, "btnEditPrices");
    child<QDoubleSpinBox>(w, "dbEdit1")->setValue(5);
    child<QDoubleSpinBox>(w, "dbEdit2")->setValue(6);
    click(w, "btnRecChanges");
    QCOMPARE(env_->responder().messages.size(), 1);
    QCOMPARE(rows(*db_, "SELECT outPrice, salePrice FROM parts WHERE outPrice IS NOT NULL"),
             (QList<QVariantList>{{5.0, 6.0}}));
}

void TestDeliveryWindow::returnToSupplier_data() {
    QTest::addColumn<int>("settlement"); // 0 debt, 1 cash
    QTest::newRow("debt reduced") << 0;
    QTest::newRow("money into the till") << 1;
}

void TestDeliveryWindow::returnToSupplier() {
    QFETCH(int, settlement);
    const qint64 second = builders::supplier(*db_, "Втори");
    for (const auto& [date, price, val, dost] : {std::tuple{QDate(2024, 1, 10), 4.0, 1, supplier_},
                                                 std::tuple{QDate(2024, 2, 10), 5.0, 3, supplier_},
                                                 std::tuple{QDate(2024, 3, 1), 9.0, 1, second}})
        builders::pastDelivery(
            *db_, {.part = disk_, .supplier = dost, .date = date, .price = price, .currency = val});
    const auto session = sessionWithRights(builders::allRights());
    TfrmBackDlvr w(*db_, session, disk_);
    auto* suppliers = child<QComboBox>(w, "cmbDost");
    QCOMPARE(suppliers->count(), 2);
    suppliers->setCurrentIndex(suppliers->findText("Д'Артанян ООД"));
    click(w, "getPrices");
    QCOMPARE(child<QDoubleSpinBox>(w, "eLastPrice")->value(), 5.0);
    QCOMPARE(child<QComboBox>(w, "eInpVal")->currentData().toInt(), 3);
    auto* amount = child<QSpinBox>(w, "eAmnt");
    QCOMPARE(amount->maximum(), 10); // never more than the stock
    amount->setValue(2);
    child<QComboBox>(w, "cmbKasa")->setCurrentIndex(settlement);
    click(w, "btnRec");
    QVERIFY(env_->responder().messages.isEmpty());
    QCOMPARE(stockOf(*db_, disk_), 8);
    if (settlement == 0) {
        QCOMPARE(rows(*db_, "SELECT Suma, idVal, Notes, idDost FROM payments"),
                 (QList<QVariantList>{{-10.0, 3, "Анулирана доставка", supplier_}}));
        QCOMPARE(rowCount(*db_, "kasa"), 0);
    } else {
        QCOMPARE(rows(*db_, "SELECT Suma, idVal, Notes, UserID FROM kasa"),
                 (QList<QVariantList>{{10.0, 3, "Анулирана доставка от Д'Артанян ООД", 5}}));
        QCOMPARE(rowCount(*db_, "payments"), 0);
    }
}

void TestDeliveryWindow::suppliersRegisterRefusesADuplicateName() {
    TsrDost w(*db_);
    click(w, "btnIns");
    QVERIFY(w.isEditing());
    child<QLineEdit>(w, "dbPart")->setText(" Д'Артанян ООД ");
    click(w, "btnRec");
    QCOMPARE(env_->responder().texts(), QStringList{"Такъв доставчик вече е въведен!"});
    QCOMPARE(env_->responder().messages.first().caption, QString("Грешка"));
    QVERIFY(w.isEditing());
    child<QLineEdit>(w, "dbPart")->setText(" Нов доставчик ");
    click(w, "btnRec");
    QVERIFY(!w.isEditing());
    QCOMPARE(db_->scalar("SELECT count(*) FROM delivers WHERE Name = 'Нов доставчик' AND "
                         "Garant = false")
                 .toInt(),
             1);
}

void TestDeliveryWindow::earlierDeliveriesFollowTheFocusedPart() {
    const qint64 other = builders::supplier(*db_, "Втори доставчик");
    builders::pastDelivery(*db_, {.part = disk_,
                                  .supplier = supplier_,
                                  .date = QDate(2026, 1, 5),
                                  .price = 2.5,
                                  .amount = 4});
    builders::pastDelivery(*db_, {.part = disk_,
                                  .supplier = other,
                                  .date = QDate(2026, 3, 1),
                                  .price = 3,
                                  .currency = store::kUsd});
    const auto rows = warehouse::earlierDeliveries(*db_, disk_);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].date, QDate(2026, 3, 1)); // newest first
    QCOMPARE(rows[0].currency, QString("USD"));
    QCOMPARE(rows[0].supplier, QString("Втори доставчик"));
    QCOMPARE(rows[1].price, 2.5);
    QVERIFY(warehouse::earlierDeliveries(*db_, plug_).isEmpty());

    const auto session = sessionWithRights(builders::allRights());
    TsrDostParts w(*db_, session, WarehouseSettings{}, deliveryFrom(supplier_, "Доставчик"));
    w.show();
    w.showNomenclature();
    auto* n8 = w.findChild<QAction*>("N8");
    QVERIFY(n8);
    QVERIFY(w.partsList()->selectPart(disk_));
    n8->trigger();
    QVERIFY(!n8->isEnabled()); // one window at a time
    auto* earlier = w.findChild<TfrmEarlierDeliveries*>();
    QVERIFY(earlier && earlier->isVisible());
    auto* grid = earlier->findChild<QTableWidget*>("grid");
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->item(0, 3)->text(), QString("Втори доставчик"));
    QVERIFY(w.partsList()->selectPart(plug_));
    QCOMPARE(grid->rowCount(), 0); // follows the focused part
    earlier->close();
    QVERIFY(n8->isEnabled());
}

QTEST_MAIN(TestDeliveryWindow)
#include "test_delivery_window.moc"

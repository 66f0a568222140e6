#include "shell/help_pages.h"
#include "shell/help_window.h"
#include "shell/session.h"
#include "store/rights.h"
#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "warehouse/delivery_line_dialog.h"
#include "warehouse/delivery_return_window.h"
#include "warehouse/delivery_window.h"
#include "warehouse/parts_list_panel.h"
#include "warehouse/serial_numbers_dialog.h"
#include "warehouse/stock.h"
#include "warehouse/suppliers.h"
#include "warehouse/suppliers_window.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QTest>

using namespace testing;
using store::Right;
using warehouse::Delivery;
using warehouse::DeliveryLine;
using warehouse::WarehouseSettings;

namespace {

shell::Session sessionWithout(std::initializer_list<Right> withheld) {
    return builders::session(builders::allRightsBut(withheld));
}

const QString kInvalidSerial =
    "Невалиден сериен номер!\nвече е въведен в таблицата или не сте въвели нищо в полето!";
const QString kSerialInStock = "Такъв сериен номер вече съществува в базата данни!";

} // namespace

class TestDeliveryDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void returnsAreOfferedOnlyWithTheDeliveryRight_data();
    void returnsAreOfferedOnlyWithTheDeliveryRight();
    void unknownCodeOffersANewPartOnlyWithTheNomenclatureRight_data();
    void unknownCodeOffersANewPartOnlyWithTheNomenclatureRight();
    void lineDialogAndSuppliersOpenTheirHelp_data();
    void lineDialogAndSuppliersOpenTheirHelp();
    void serialNumberIsCorrectedInItsRow();
    void deletingEveryNumberLeavesNoCountToAccept();
    void returnTakesUnitsWithoutNumberByCount();

private:
    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<store::Database> db_;
    qint64 supplier_ = 0;
    qint64 disk_ = 0;
};

void TestDeliveryDialogs::init() {
    env_ = std::make_unique<TestEnvironment>();
    db_ = env_->newDatabase();
    supplier_ = builders::supplier(*db_, "Доставчик");
    disk_ = builders::part(*db_, {.name = "Диск", .barcode = "3800", .amount = 10, .inPrice = 2.0});
}

void TestDeliveryDialogs::cleanup() {
    db_.reset();
    env_.reset();
}

void TestDeliveryDialogs::returnsAreOfferedOnlyWithTheDeliveryRight_data() {
    QTest::addColumn<bool>("deliveryRight");
    QTest::newRow("with the right") << true;
    QTest::newRow("without it") << false;
}

void TestDeliveryDialogs::returnsAreOfferedOnlyWithTheDeliveryRight() {
    QFETCH(bool, deliveryRight);
    const auto session =
        deliveryRight ? sessionWithout({}) : sessionWithout({Right::DeliveryAndDiscounts});
    TsrDostParts w(*db_, session, WarehouseSettings{});
    w.show();
    QCOMPARE(child<QAction>(w, "mnBack")->isVisible(), deliveryRight);
    // Nor does the command run when reached some other way.
    w.partsList()->selectPart(disk_);
    bool opened = false;
    ModalAnswer<TfrmBackDlvr> answer([&opened](TfrmBackDlvr* d) {
        opened = true;
        d->reject();
    });
    w.returnToSupplier();
    QCOMPARE(opened, deliveryRight);
}

void TestDeliveryDialogs::unknownCodeOffersANewPartOnlyWithTheNomenclatureRight_data() {
    QTest::addColumn<bool>("nomenclatureRight");
    QTest::newRow("may create parts") << true;
    QTest::newRow("may not") << false;
}

void TestDeliveryDialogs::unknownCodeOffersANewPartOnlyWithTheNomenclatureRight() {
    QFETCH(bool, nomenclatureRight);
    const auto session =
        nomenclatureRight ? sessionWithout({}) : sessionWithout({Right::Nomenclature});
    Delivery delivery;
    delivery.date = QDate::currentDate();
    delivery.supplierId = supplier_;
    delivery.supplierName = "Доставчик";
    TsrDostParts w(*db_, session, WarehouseSettings{}, delivery);
    w.show();
    env_->responder().answers << true;
    w.handleBarcode("5555");
    auto* barcode = child<QLineEdit>(w, "dbBarcode");
    if (nomenclatureRight) {
        QCOMPARE(env_->responder().questions,
                 QStringList{
                     "Този баркод не е намерен, желаете ли\nда създадете нов артикул с този код?"});
        QVERIFY(barcode->isVisible());
        QCOMPARE(barcode->text(), QString("5555"));
    } else {
        QVERIFY(env_->responder().questions.isEmpty());
        QCOMPARE(env_->responder().texts(), QStringList{"Този баркод не е намерен!"});
        QCOMPARE(env_->responder().messages.first().caption, QString("Съобщение"));
        QVERIFY(!barcode->isVisible());
    }
    QVERIFY(w.delivery().lines.isEmpty());
}

void TestDeliveryDialogs::lineDialogAndSuppliersOpenTheirHelp_data() {
    QTest::addColumn<bool>("lineDialog");
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("title");
    QTest::newRow("delivery line") << true << "ДанниДоставка"
                                   << "Данни за доставка";
    QTest::newRow("suppliers") << false << "ВъвежданеРедакцияНаДоставчици"
                               << "Въвеждане и редакция на доставчици";
}

void TestDeliveryDialogs::lineDialogAndSuppliersOpenTheirHelp() {
    QFETCH(bool, lineDialog);
    QFETCH(QString, topic);
    QFETCH(QString, title);
    Delivery others;
    DeliveryLine line;
    line.partId = disk_;
    std::unique_ptr<QDialog> dialog;
    if (lineDialog)
        dialog = std::make_unique<TsrDostData>(*db_, WarehouseSettings{}, line, store::Rates{},
                                               std::nullopt, std::nullopt, others);
    else
        dialog = std::make_unique<TsrDost>(*db_);
    dialog->show();
    auto* help = child<QAction>(*dialog, "Action1");
    QCOMPARE(help->shortcut(), QKeySequence(QKeySequence::HelpContents));
    help->trigger();
    auto* window = dialog->findChild<shell::HelpWindow*>();
    QVERIFY(window);
    QCOMPARE(window->topic(), topic);
    QVERIFY(shell::hasHelpTopic(topic));
    QVERIFY(shell::helpPage(topic).contains(title));
}

void TestDeliveryDialogs::serialNumberIsCorrectedInItsRow() {
    const qint64 plug = builders::part(*db_, {.name = "Свещ"});
    warehouse::addSerialUnit(*db_, plug, "IN-STOCK");
    Delivery others;
    DeliveryLine other;
    other.partId = plug;
    other.serials = QStringList{"OTHER-1"};
    others.lines << other;
    TfrmSN dialog(*db_, {"A-1", "A-2"}, others);
    dialog.show();
    auto* grid = child<QListWidget>(dialog, "gridSN");

    // Typed into the row's editor as a user does; the editor takes only the number's characters.
    grid->setCurrentRow(0);
    grid->editItem(grid->item(0));
    auto* editor = grid->findChild<QLineEdit*>("gridSNSN");
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "B-1 *%");
    QCOMPARE(editor->text(), QString("B-1"));
    QTest::keyClick(editor, Qt::Key_Return); // the row takes the number once the editor closes
    QTRY_COMPARE(dialog.serialNumbers(), (QStringList{"B-1", "A-2"}));
    QVERIFY(env_->responder().messages.isEmpty());

    struct Case {
        const char* typed;
        QString message;
    };
    for (const Case& c : {Case{"A-2", kInvalidSerial}, Case{"OTHER-1", kInvalidSerial},
                          Case{"  ", kInvalidSerial}, Case{"IN-STOCK", kSerialInStock}}) {
        env_->responder().clear();
        grid->item(0)->setText(c.typed);
        QCOMPARE(env_->responder().texts(), QStringList{c.message});
        // The refused correction gives the row its number back.
        QCOMPARE(dialog.serialNumbers(), (QStringList{"B-1", "A-2"}));
        QCOMPARE(grid->item(0)->text(), QString("B-1"));
    }
    env_->responder().clear();
    grid->item(1)->setText("A-3");
    QVERIFY(env_->responder().messages.isEmpty());
    QCOMPARE(dialog.serialNumbers(), (QStringList{"B-1", "A-3"}));
}

void TestDeliveryDialogs::deletingEveryNumberLeavesNoCountToAccept() {
    WarehouseSettings settings;
    settings.useSerialNumbers = true;
    Delivery others;
    DeliveryLine line;
    line.partId = disk_;
    line.count = 2;
    line.inPrice = 1;
    line.outPrice = line.salePrice = 2;
    line.serials = QStringList{"A", "B"};
    TsrDostData dialog(*db_, settings, line, store::Rates{}, std::nullopt, std::nullopt, others);
    dialog.show();
    {
        ModalAnswer<TfrmSN> deleteAll([](TfrmSN* d) {
            auto* grid = child<QListWidget>(*d, "gridSN");
            while (grid->count() > 0) {
                grid->setCurrentRow(0);
                click(*d, "btnDelRow");
            }
            click(*d, "SpeedButton1");
        });
        click(dialog, "btnAddSN");
        QCOMPARE(deleteAll.seen, 1);
    }
    QCOMPARE(child<QSpinBox>(dialog, "dbCount")->value(), 0);
    click(dialog, "BitBtn1");
    QCOMPARE(env_->responder().texts(),
             QStringList{"Грешно въведени данни - количеството трябва да е положително число!"});
    QVERIFY(dialog.result() != QDialog::Accepted);

    // Units without numbers are accepted by the count typed for them.
    child<QSpinBox>(dialog, "dbCount")->setValue(3);
    click(dialog, "BitBtn1");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.line().count, 3);
    QVERIFY(dialog.line().serials.isEmpty());
}

void TestDeliveryDialogs::returnTakesUnitsWithoutNumberByCount() {
    const qint64 battery = builders::part(*db_, {.name = "Акумулатор", .amount = 2});
    warehouse::addSerialUnit(*db_, battery, "A");
    warehouse::addSerialUnit(*db_, battery, "B"); // 4 in stock, 2 of them numbered
    db_->exec("INSERT INTO sprDost (partID, Data, Price, idVal, amnt, serial, idDost) "
              "VALUES (:p, '2024-01-10', 5, 1, 4, '', :s)",
              {{"p", battery}, {"s", supplier_}});
    const auto session = sessionWithout({});
    TfrmBackDlvr w(*db_, session, battery);
    auto* serials = child<QComboBox>(w, "cmbSN");
    auto* amount = child<QSpinBox>(w, "eAmnt");
    QCOMPARE(serials->count(), 3);
    QCOMPARE(serials->itemText(2), QString("(без сериен номер)"));
    QCOMPARE(serials->currentText(), QString("A"));
    QVERIFY(!amount->isEnabled());
    QCOMPARE(amount->maximum(), 1);

    serials->setCurrentIndex(2);
    QVERIFY(amount->isEnabled());
    QCOMPARE(amount->maximum(), 2);
    amount->setValue(2);
    click(w, "btnRec");
    QVERIFY(env_->responder().messages.isEmpty());
    QCOMPARE(stockOf(*db_, battery), 2);
    QCOMPARE(warehouse::serialNumbersOf(*db_, battery), (QStringList{"A", "B"}));
    QCOMPARE(rows(*db_, "SELECT Suma FROM payments"), (QList<QVariantList>{{-10.0}}));
}

QTEST_MAIN(TestDeliveryDialogs)
#include "test_delivery_dialogs.moc"

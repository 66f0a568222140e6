#include "support/builders.h"
#include "support/table_reading.h"
#include "support/test_environment.h"
#include "support/widget_access.h"
#include "warehouse/delivery.h"
#include "warehouse/delivery_line_dialog.h"
#include "warehouse/discounts.h"
#include "warehouse/discounts_window.h"
#include "warehouse/name_register_window.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>

using namespace testing;
using warehouse::DiscountProblem;
using warehouse::DiscountRow;

Q_DECLARE_METATYPE(std::optional<DiscountProblem>)

namespace {

template <typename T> T* openEditor(QTableView* grid) {
    for (T* editor : grid->viewport()->findChildren<T*>(Qt::FindDirectChildrenOnly)) {
        if (editor->isVisible())
            return editor;
    }
    return nullptr;
}

// The grid as a user drives it: focus a cell, open its editor, choose or type.
class DiscountGrid {
public:
    explicit DiscountGrid(TfrmDiscounts& w)
        : grid(child<QTableView>(w, "grid")), model(static_cast<QSqlTableModel*>(grid->model())) {}

    QModelIndex cell(int row, const char* field) const {
        return model->index(row, model->fieldIndex(QString::fromLatin1(field)));
    }
    // The cell's editor may already be open (a new row opens the maker's).
    void edit(int row, const char* field) const {
        if (grid->currentIndex() == cell(row, field) && openEditor<QWidget>(grid))
            return;
        grid->setCurrentIndex(cell(row, field));
        grid->edit(cell(row, field));
    }
    void pick(int row, const char* field, const QString& name) const {
        edit(row, field);
        auto* combo = openEditor<QComboBox>(grid);
        QVERIFY(combo);
        combo->setCurrentIndex(combo->findText(name));
        QVERIFY(combo->currentIndex() >= 0);
    }
    void type(int row, const char* field, const QString& keys) const {
        edit(row, field);
        auto* spin = openEditor<QDoubleSpinBox>(grid);
        QVERIFY(spin);
        spin->selectAll();
        QTest::keyClicks(spin, keys);
    }
    QString field() const { return model->record().fieldName(grid->currentIndex().column()); }

    QTableView* grid;
    QSqlTableModel* model;
};

} // namespace

class TestDiscounts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void rowIsChecked_data();
    void rowIsChecked();
    void newRowIsStoredAndLookedUp();
    void refusedRowIsNeverStored_data();
    void refusedRowIsNeverStored();
    void leavingARefusedRowKeepsTheCursor();
    void minusKeyIsDiscarded();
    void newMakerAppearsInThePickList();
    void deliveryLineTakesTheChangedDiscount();

private:
    void addRow(qint64 maker, qint64 type, double supplier, double goods);

    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<store::Database> db_;
    qint64 bosch_ = 0;
    qint64 mann_ = 0;
    qint64 filters_ = 0;
    qint64 plugs_ = 0;
};

void TestDiscounts::init() {
    env_ = std::make_unique<TestEnvironment>();
    db_ = env_->newDatabase();
    bosch_ = builders::partMaker(*db_, "Bosch");
    mann_ = builders::partMaker(*db_, "Mann");
    filters_ = builders::partType(*db_, "Филтри");
    plugs_ = builders::partType(*db_, "Свещи");
}

void TestDiscounts::cleanup() {
    db_.reset();
    env_.reset();
}

void TestDiscounts::addRow(qint64 maker, qint64 type, double supplier, double goods) {
    db_->exec("INSERT INTO discounts (idMarka, idType, discDlvr, discSale) VALUES (:m, :t, :d, :s)",
              {{"m", maker}, {"t", type}, {"d", supplier}, {"s", goods}});
}

void TestDiscounts::rowIsChecked_data() {
    QTest::addColumn<bool>("ownRow");
    QTest::addColumn<bool>("withMaker");
    QTest::addColumn<bool>("withType");
    QTest::addColumn<bool>("otherType");
    QTest::addColumn<std::optional<DiscountProblem>>("problem");
    const std::optional<DiscountProblem> none;
    QTest::newRow("new pair") << false << true << true << true << none;
    QTest::newRow("pair taken") << false << true << true << false
                                << std::optional(DiscountProblem::Duplicate);
    QTest::newRow("own row keeps its pair") << true << true << true << false << none;
    QTest::newRow("no maker") << false << false << true << true
                              << std::optional(DiscountProblem::NoMaker);
    QTest::newRow("no type") << false << true << false << true
                             << std::optional(DiscountProblem::NoType);
}

void TestDiscounts::rowIsChecked() {
    QFETCH(bool, ownRow);
    QFETCH(bool, withMaker);
    QFETCH(bool, withType);
    QFETCH(bool, otherType);
    QFETCH(std::optional<DiscountProblem>, problem);
    addRow(bosch_, filters_, 10, 5);
    DiscountRow row;
    row.id = ownRow ? db_->scalar("SELECT id FROM discounts").toLongLong() : 0;
    if (withMaker)
        row.makerId = bosch_;
    if (withType)
        row.typeId = otherType ? plugs_ : filters_;
    QCOMPARE(warehouse::checkDiscount(*db_, row), problem);
}

void TestDiscounts::newRowIsStoredAndLookedUp() {
    addRow(bosch_, filters_, 10, 5);
    TfrmDiscounts w(*db_);
    w.show();
    DiscountGrid g(w);
    auto* exit = child<QAction>(w, "mnExit");
    QCOMPARE(g.model->rowCount(), 1);
    QVERIFY(exit->isEnabled());

    click(w, "nbInsert");
    QCOMPARE(g.model->rowCount(), 2);
    QCOMPARE(g.field(), QString("idMarka"));
    QVERIFY(openEditor<QComboBox>(g.grid)); // the maker's pick list is open
    QCOMPARE(g.cell(1, "discDlvr").data().toDouble(), 0.0);
    QCOMPARE(g.cell(1, "discSale").data().toDouble(), 0.0);
    QVERIFY(w.isEditing());
    QVERIFY(!exit->isEnabled());
    QVERIFY(!w.close()); // a row in edit keeps the window open

    g.pick(1, "idMarka", "Mann");
    g.pick(1, "idType", "Свещи");
    g.type(1, "discDlvr", QStringLiteral("12") + QLocale().decimalPoint() + QStringLiteral("5"));
    g.type(1, "discSale", "3");
    click(w, "nbPost");
    QVERIFY(!w.isEditing());
    QVERIFY(exit->isEnabled());
    QVERIFY(env_->responder().messages.isEmpty());
    QCOMPARE(warehouse::supplierDiscount(*db_, mann_, plugs_), 12.5);
    QCOMPARE(warehouse::goodsDiscount(*db_, mann_, plugs_), 3.0);
    QCOMPARE(g.grid->currentIndex().row(), 1);
    QCOMPARE(g.cell(1, "idMarka").data(Qt::DisplayRole).toLongLong(), mann_);

    // An existing row may keep its own pair when its percentages change.
    g.type(0, "discDlvr", "15");
    click(w, "nbPost");
    QCOMPARE(warehouse::supplierDiscount(*db_, bosch_, filters_), 15.0);
    QCOMPARE(rowCount(*db_, "discounts"), 2);
    exit->trigger();
    QVERIFY(!w.isVisible());
}

void TestDiscounts::refusedRowIsNeverStored_data() {
    QTest::addColumn<QString>("maker");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("pair taken") << "Bosch"
                                << "Филтри"
                                << "idMarka" << QStringList{"Тази комбинация вече е въведена!"};
    QTest::newRow("no type") << "Mann"
                             << ""
                             << "idType" << QStringList{};
    QTest::newRow("no maker") << ""
                              << "Свещи"
                              << "idMarka" << QStringList{};
    QTest::newRow("nothing chosen") << ""
                                    << ""
                                    << "idMarka" << QStringList{};
}

void TestDiscounts::refusedRowIsNeverStored() {
    QFETCH(QString, maker);
    QFETCH(QString, type);
    QFETCH(QString, focused);
    QFETCH(QStringList, messages);
    addRow(bosch_, filters_, 10, 5);
    const auto before = rows(*db_, "SELECT * FROM discounts");
    TfrmDiscounts w(*db_);
    w.show();
    DiscountGrid g(w);
    click(w, "nbInsert");
    if (!maker.isEmpty())
        g.pick(1, "idMarka", maker);
    if (!type.isEmpty())
        g.pick(1, "idType", type);
    g.type(1, "discDlvr", "7");
    click(w, "nbPost");

    QCOMPARE(env_->responder().texts(), messages);
    if (!messages.isEmpty()) {
        QCOMPARE(env_->responder().messages.first().caption, QString("Съобщение"));
        QCOMPARE(env_->responder().messages.first().icon, ui::MessageIcon::Warning);
    }
    QCOMPARE(rows(*db_, "SELECT * FROM discounts"), before);
    QVERIFY(w.isEditing());
    QCOMPARE(g.grid->currentIndex().row(), 1);
    QCOMPARE(g.field(), focused);
    QVERIFY(openEditor<QComboBox>(g.grid)); // reopened for the missing choice
    QVERIFY(!child<QAction>(w, "mnExit")->isEnabled());

    // Escape gives the edit up: nothing was stored, and the window may close again.
    QTest::keyClick(&w, Qt::Key_Escape);
    QVERIFY(w.isVisible());
    QVERIFY(!w.isEditing());
    QCOMPARE(g.model->rowCount(), 1);
    QVERIFY(child<QAction>(w, "mnExit")->isEnabled());
    QCOMPARE(rows(*db_, "SELECT * FROM discounts"), before);
    QCOMPARE(warehouse::supplierDiscount(*db_, bosch_, filters_), 10.0);
}

void TestDiscounts::leavingARefusedRowKeepsTheCursor() {
    addRow(bosch_, filters_, 10, 5);
    addRow(mann_, filters_, 20, 5);
    TfrmDiscounts w(*db_);
    w.show();
    DiscountGrid g(w);
    g.pick(1, "idMarka", "Bosch"); // now the same pair as the first row
    g.grid->setCurrentIndex(g.cell(0, "discSale"));
    QCOMPARE(env_->responder().texts(), QStringList{"Тази комбинация вече е въведена!"});
    QCOMPARE(g.grid->currentIndex().row(), 1);
    QCOMPARE(g.field(), QString("idMarka"));
    QCOMPARE(warehouse::supplierDiscount(*db_, mann_, filters_), 20.0);
    // A maker that completes a new pair lets the cursor go.
    g.pick(1, "idMarka", "Mann");
    g.pick(1, "idType", "Свещи");
    g.grid->setCurrentIndex(g.cell(0, "discSale"));
    QCOMPARE(g.grid->currentIndex().row(), 0);
    QVERIFY(!w.isEditing());
    QCOMPARE(warehouse::supplierDiscount(*db_, mann_, plugs_), 20.0);
    QCOMPARE(warehouse::supplierDiscount(*db_, mann_, filters_), 0.0);
}

void TestDiscounts::minusKeyIsDiscarded() {
    addRow(bosch_, filters_, 10, 5);
    TfrmDiscounts w(*db_);
    w.show();
    DiscountGrid g(w);
    g.type(0, "discDlvr", "-8");
    g.type(0, "discSale", "4-");
    click(w, "nbPost");
    QCOMPARE(warehouse::supplierDiscount(*db_, bosch_, filters_), 8.0);
    QCOMPARE(warehouse::goodsDiscount(*db_, bosch_, filters_), 4.0);
}

void TestDiscounts::newMakerAppearsInThePickList() {
    TfrmDiscounts w(*db_);
    w.show();
    DiscountGrid g(w);
    ModalAnswer<TsrPartMarka> answer([](TsrPartMarka* makers) {
        child<QLineEdit>(*makers, "dbType")->setText("NGK");
        click(*makers, "btnRec");
        click(*makers, "btnExit");
    });
    child<QAction>(w, "btnMarka")->trigger();
    QCOMPARE(answer.seen, 1);
    click(w, "nbInsert");
    g.pick(0, "idMarka", "NGK");
    g.pick(0, "idType", "Свещи");
    click(w, "nbPost");
    const QModelIndex maker = g.cell(0, "idMarka");
    const auto* names = static_cast<QStyledItemDelegate*>(g.grid->itemDelegateForIndex(maker));
    QCOMPARE(names->displayText(maker.data(), QLocale()), QString("NGK")); // shown by name
    QCOMPARE(rowCount(*db_, "discounts"), 1);
}

void TestDiscounts::deliveryLineTakesTheChangedDiscount() {
    addRow(bosch_, filters_, 10, 5);
    warehouse::Delivery others;
    warehouse::DeliveryLine line;
    line.part = "Маслен филтър";
    line.inPrice = 50;
    line.outPrice = 100;
    line.salePrice = 100;
    TsrDostData dialog(*db_, warehouse::WarehouseSettings{}, line, store::Rates{}, bosch_, filters_,
                       others);
    auto* discount = child<QDoubleSpinBox>(dialog, "eOtst");
    QCOMPARE(discount->value(), 10.0);
    ModalAnswer<TfrmDiscounts> answer([](TfrmDiscounts* w) {
        DiscountGrid g(*w);
        g.type(0, "discDlvr", "30");
        click(*w, "nbPost");
        child<QAction>(*w, "mnExit")->trigger();
    });
    click(dialog, "lbTable");
    QCOMPARE(answer.seen, 1);
    QCOMPARE(discount->value(), 30.0);
    // The discount is applied at once: 30 % off the counter price.
    QCOMPARE(child<QDoubleSpinBox>(dialog, "dbInpPrice")->value(), 70.0);
}

QTEST_MAIN(TestDiscounts)
#include "test_discounts.moc"

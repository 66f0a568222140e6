#include "warehouse/delivery_line_dialog.h"

#include "shell/help_pages.h"
#include "shell/help_window.h"
#include "store/database.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "warehouse/discounts_window.h"
#include "warehouse/serial_numbers_dialog.h"

#include <QAction>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using warehouse::LineField;

namespace {

QDoubleSpinBox* amountEdit(QWidget* parent, const char* name) {
    auto* e = new QDoubleSpinBox(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setRange(-1e9, 1e9);
    e->setDecimals(2);
    e->setMinimumWidth(110);
    return e;
}

QComboBox* currencyPick(QWidget* parent, const char* name) {
    auto* c = new QComboBox(parent);
    c->setObjectName(QString::fromLatin1(name));
    for (int code = store::kLeva; code <= store::kEur; ++code)
        c->addItem(store::currencyText(code), code);
    return c;
}

} // namespace

TsrDostData::TsrDostData(store::Database& db, const warehouse::WarehouseSettings& settings,
                         warehouse::DeliveryLine line, const store::Rates& rates,
                         std::optional<qint64> makerId, std::optional<qint64> typeId,
                         const warehouse::Delivery& others, QWidget* parent)
    : QDialog(parent), db_(db), settings_(settings), line_(std::move(line)), rates_(rates),
      makerId_(makerId), typeId_(typeId), others_(others) {
    setObjectName(QStringLiteral("TsrDostData"));
    setWindowTitle(QStringLiteral("Данни за доставка - ") + line_.part);

    dbCount_ = new QSpinBox(this);
    dbCount_->setObjectName(QStringLiteral("dbCount"));
    dbCount_->setRange(-100000, 100000);
    dbInpPrice_ = amountEdit(this, "dbInpPrice");
    eInpVal_ = currencyPick(this, "eInpVal");
    dbOutPrice_ = amountEdit(this, "dbOutPrice");
    dbSalePrice_ = amountEdit(this, "dbSalePrice");
    eOutVal_ = currencyPick(this, "eOutVal");
    eNad_ = amountEdit(this, "eNad");
    eOtst_ = amountEdit(this, "eOtst");
    eOtst_->setRange(0, 100); // no "-": a discount is never negative
    eNad_->setSuffix(QStringLiteral(" %"));
    eOtst_->setSuffix(QStringLiteral(" %"));
    auto* btnCalc1 = ui::namedButton(this, "btnCalc1", QStringLiteral("Изчисли"));
    auto* btnCalc2 = ui::namedButton(this, "btnCalc2", QStringLiteral("Изчисли"));
    auto* lbTable = ui::namedButton(this, "lbTable", QStringLiteral("Таблица отстъпки"));
    lbTable->setFlat(true);
    auto* btnAddSN = ui::namedButton(this, "btnAddSN", QStringLiteral("Серийни номера"));
    btnAddSN->setVisible(settings_.useSerialNumbers);
    auto* ok = ui::namedButton(this, "BitBtn1", QStringLiteral("OK"));
    auto* cancel = ui::namedButton(this, "BitBtn2", QStringLiteral("Отказ"));
    ok->setDefault(true);

    auto pair = [this](QWidget* a, QWidget* b) {
        auto* row = new QHBoxLayout;
        row->addWidget(a);
        row->addWidget(b);
        return row;
    };
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Количество:"), dbCount_);
    form->addRow(QStringLiteral("Доставна цена:"), pair(dbInpPrice_, eInpVal_));
    form->addRow(QStringLiteral("Цена в поръчка:"), dbOutPrice_);
    form->addRow(QStringLiteral("Продажна цена:"), pair(dbSalePrice_, eOutVal_));
    form->addRow(QStringLiteral("Надценка:"), pair(eNad_, btnCalc1));
    form->addRow(QStringLiteral("Отстъпка на доставчика:"), pair(eOtst_, btnCalc2));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lbTable);
    buttons->addWidget(btnAddSN);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    eOtst_->setValue(warehouse::supplierDiscount(db_, makerId_, typeId_));
    dbSalePrice_->setEnabled(!settings_.oneSellingPrice);
    const bool threeCurrencies = settings_.currency == store::CurrencyMode::ThreeCurrencies;
    eInpVal_->setEnabled(threeCurrencies);
    eOutVal_->setEnabled(threeCurrencies);
    showLine();

    connect(eInpVal_, &QComboBox::activated, this,
            [this] { line_.ipId = eInpVal_->currentData().toInt(); });
    connect(eOutVal_, &QComboBox::activated, this, [this] {
        readFields();
        warehouse::changeSellingCurrency(line_, eOutVal_->currentData().toInt(), rates_);
        showLine();
    });
    // An order price typed while there is no counter price is proposed as the counter price.
    connect(dbOutPrice_, &QDoubleSpinBox::valueChanged, this, [this](double value) {
        if (line_.salePrice == 0 && dbSalePrice_->isEnabled())
            dbSalePrice_->setValue(value);
    });
    connect(dbSalePrice_, &QDoubleSpinBox::editingFinished, this,
            [this] { line_.salePrice = dbSalePrice_->value(); });
    connect(btnCalc1, &QPushButton::clicked, this, &TsrDostData::calculateMarkup);
    connect(btnCalc2, &QPushButton::clicked, this, &TsrDostData::calculateDiscount);
    connect(lbTable, &QPushButton::clicked, this, &TsrDostData::editDiscounts);
    connect(btnAddSN, &QPushButton::clicked, this, &TsrDostData::editSerialNumbers);
    connect(ok, &QPushButton::clicked, this, &TsrDostData::confirm);
    connect(cancel, &QPushButton::clicked, this, &TsrDostData::reject);
    auto* help = new QAction(this);
    help->setObjectName(QStringLiteral("Action1"));
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this,
            [this] { shell::HelpWindow::showTopic(this, shell::kHelpDeliveryLine); });
    addAction(help);
    dbCount_->setFocus();
    dbCount_->selectAll();
}

void TsrDostData::showLine() {
    const QSignalBlocker b1(dbOutPrice_);
    dbCount_->setValue(line_.count);
    dbInpPrice_->setValue(line_.inPrice);
    eInpVal_->setCurrentIndex(eInpVal_->findData(line_.ipId));
    dbOutPrice_->setValue(line_.outPrice);
    dbSalePrice_->setValue(line_.salePrice);
    eOutVal_->setCurrentIndex(eOutVal_->findData(line_.opId));
}

void TsrDostData::readFields() {
    line_.count = dbCount_->value();
    line_.inPrice = dbInpPrice_->value();
    line_.ipId = eInpVal_->currentData().toInt();
    line_.outPrice = dbOutPrice_->value();
    line_.salePrice = dbSalePrice_->value();
}

void TsrDostData::calculateMarkup() {
    readFields();
    warehouse::applyMarkup(line_, eNad_->value(), rates_);
    showLine();
}

void TsrDostData::calculateDiscount() {
    readFields();
    warehouse::applySupplierDiscount(line_, eOtst_->value());
    showLine();
}

// The delivery itself needs the discounts right, so whoever is here may change the table.
void TsrDostData::editDiscounts() {
    {
        TfrmDiscounts discounts(db_, this);
        discounts.exec();
    }
    eOtst_->setValue(warehouse::supplierDiscount(db_, makerId_, typeId_));
    calculateDiscount();
}

void TsrDostData::editSerialNumbers() {
    readFields();
    TfrmSN serials(db_, line_.serials, others_, this);
    serials.exec();
    // Every change counts the numbers again, so deleting them all leaves no units to accept
    // until a count is typed for units without numbers.
    if (serials.serialNumbers() != line_.serials) {
        line_.serials = serials.serialNumbers();
        line_.count = int(line_.serials.size());
    }
    showLine();
}

QWidget* TsrDostData::fieldFor(LineField field) const {
    switch (field) {
    case LineField::Count:
        return dbCount_;
    case LineField::OutPrice:
        return dbOutPrice_;
    case LineField::SalePrice:
        return dbSalePrice_;
    case LineField::InPrice:
        break;
    }
    return dbInpPrice_;
}

void TsrDostData::confirm() {
    readFields();
    std::optional<warehouse::LineProblem> problem;
    try {
        problem = warehouse::checkLine(line_, rates_, !dbSalePrice_->isEnabled());
    } catch (const std::invalid_argument&) {
        // A price in a foreign currency without the day's rates cannot be compared.
        problem = warehouse::LineProblem{LineField::InPrice, QStringLiteral("Няма валутен курс!")};
    }
    showLine();
    if (problem) {
        ui::error(this, problem->message);
        QWidget* field = fieldFor(problem->field);
        field->setFocus();
        if (auto* spin = qobject_cast<QAbstractSpinBox*>(field))
            spin->selectAll();
        return;
    }
    accept();
}

#include "orders/parts_in_orders_window.h"

#include "orders/parts_in_orders.h"
#include "store/database.h"
#include "ui/grid_export.h"
#include "ui/grid_printer.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/optional_date_edit.h"
#include "ui/progress_window.h"
#include "ui/row_list.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QStandardItem* item(const QVariant& value) {
    auto* cell = new QStandardItem;
    cell->setData(value, Qt::DisplayRole);
    cell->setEditable(false);
    return cell;
}

} // namespace

TsrPartsPor::TsrPartsPor(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TsrPartsPor"));
    setWindowTitle(QStringLiteral("Вложени резервни части в поръчки"));
    cmbFilt_ = new QComboBox(this);
    cmbFilt_->setObjectName(QStringLiteral("cmbFilt"));
    cmbFilt_->addItems(orders::partsInOrdersFilterTexts());
    date1_ = new ui::OptionalDateEdit(this);
    date1_->setObjectName(QStringLiteral("date1"));
    date2_ = new ui::OptionalDateEdit(this);
    date2_->setObjectName(QStringLiteral("date2"));
    btnSpr_ = ui::namedPlainButton(this, "btnSpr", QStringLiteral("Справка"));
    auto* btnPrint = ui::namedPlainButton(this, "btnPrint", QStringLiteral("Печат"));
    auto* btnExport = ui::namedPlainButton(this, "btnExport", QStringLiteral("Експорт"));
    btnExit_ = ui::namedPlainButton(this, "btnExit", QStringLiteral("Изход"));
    connect(cmbFilt_, &QComboBox::currentIndexChanged, this, &TsrPartsPor::filterChosen);
    connect(date1_, &QDateEdit::dateChanged, this, &TsrPartsPor::firstDateChanged);
    connect(date2_, &QDateEdit::dateChanged, this, &TsrPartsPor::secondDateChanged);
    connect(btnSpr_, &QPushButton::clicked, this, &TsrPartsPor::runReport);
    connect(btnPrint, &QPushButton::clicked, this, &TsrPartsPor::printList);
    connect(btnExport, &QPushButton::clicked, this, &TsrPartsPor::exportList);
    connect(btnExit_, &QPushButton::clicked, this, &QDialog::accept);

    model_ = new QStandardItemModel(0, 5, this);
    model_->setHorizontalHeaderLabels({QStringLiteral("Част"), QStringLiteral("Тип"),
                                       QStringLiteral("Означение"), QStringLiteral("Кат. номер"),
                                       QStringLiteral("Количество")});
    grid_ = ui::rowList(this, "grid", model_);

    auto* top = new QHBoxLayout;
    top->addWidget(cmbFilt_, 1);
    top->addWidget(new QLabel(QStringLiteral("от"), this));
    top->addWidget(date1_);
    top->addWidget(new QLabel(QStringLiteral("до"), this));
    top->addWidget(date2_);
    top->addWidget(btnSpr_);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnPrint);
    bottom->addWidget(btnExport);
    bottom->addWidget(btnExit_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_);
    layout->addLayout(bottom);
    resize(760, 480);
}

void TsrPartsPor::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QDate today = QDate::currentDate();
    cmbFilt_->setCurrentIndex(0);
    filterChosen(0);
    date1_->setValue(QDate(today.year(), today.month(), 1));
    date2_->setValue(today);
}

void TsrPartsPor::filterChosen(int index) {
    const bool period = index == int(orders::PartsInOrdersFilter::Period);
    date1_->setEnabled(period);
    date2_->setEnabled(period);
}

void TsrPartsPor::firstDateChanged() {
    btnSpr_->setEnabled(true);
    const QDate today = QDate::currentDate();
    const auto from = date1_->value();
    const auto to = date2_->value();
    if (!from || !to)
        return;
    if (*from > today)
        date1_->setValue(today);
    if (*to < *date1_->value())
        date2_->setValue(*date1_->value());
}

void TsrPartsPor::secondDateChanged() {
    btnSpr_->setEnabled(true);
    const auto to = date2_->value();
    if (!to)
        return;
    const QDate today = QDate::currentDate();
    if (*to > today)
        date2_->setValue(today);
    const auto from = date1_->value();
    if (from && *from > *date2_->value())
        date1_->setValue(*date2_->value());
}

void TsrPartsPor::runReport() {
    // Every run starts from an empty result.
    model_->removeRows(0, model_->rowCount());
    QList<orders::PartInOrders> rows;
    try {
        // Many unfinished orders take a moment to add up.
        TfrmBar progress(this);
        progress.start(QStringLiteral("Зареждане на данни, моля изчакайте ..."), 1);
        rows = orders::partsInOrders(db_, orders::PartsInOrdersFilter(cmbFilt_->currentIndex()),
                                     date1_->value(), date2_->value());
        progress.advance();
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
        return;
    }
    for (const orders::PartInOrders& p : rows)
        model_->appendRow({item(p.idPart ? QVariant(*p.idPart) : QVariant()), item(p.type),
                           item(p.part), item(p.partNo), item(p.amount)});
    if (rows.isEmpty()) {
        btnExit_->setFocus();
        return;
    }
    grid_->setCurrentIndex(model_->index(0, 0));
    grid_->resizeColumnsToContents();
    grid_->setFocus();
}

int TsrPartsPor::resultRows() const {
    return model_->rowCount();
}

void TsrPartsPor::printList() {
    ui::PrintHeader header;
    header.title = QStringLiteral("Вложени резервни части в неизпълнени поръчки");
    ui::printGrid(this, *grid_, header);
}

void TsrPartsPor::exportList() {
    ui::exportGrid(this, *grid_, ui::ExportOptions{QStringLiteral("PartsInPor.xls")});
}

#include "orders/order_parts_dialog.h"

#include "store/database.h"
#include "ui/message_box.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/parts_list_panel.h"
#include "warehouse/stock.h"

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

void notInStock(QWidget* parent) {
    ui::message(parent, ui::captionMessage(),
                QStringLiteral("Артикулът не е намерен в наличността!"), ui::MessageIcon::Warning);
}

} // namespace

TfrmPorParts::TfrmPorParts(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TfrmPorParts"));
    setWindowTitle(QStringLiteral("Резервни части в наличност"));
    resize(900, 520);
    warehouse::PartsList::Options options;
    options.searchInStockOnly = true;
    options.emptySearchLoadsStock = true;
    options.priceColumns = true;
    list_ = new warehouse::PartsList(db_, options, this);
    connect(list_, &warehouse::PartsList::partActivated, this, &TfrmPorParts::choose);

    auto* bar = new QToolBar(this);
    auto* mnSearch = bar->addAction(QStringLiteral("Търсене"));
    mnSearch->setObjectName(QStringLiteral("mnSearch"));
    connect(mnSearch, &QAction::triggered, this,
            [this] { list_->isSearching() ? list_->hideSearch() : list_->showSearch(); });
    auto* fit = bar->addAction(QStringLiteral("Ширина на колоните"));
    connect(fit, &QAction::triggered, this, [this] { list_->grid()->resizeColumnsToContents(); });
    auto* info = bar->addAction(QStringLiteral("Описание"));
    info->setObjectName(QStringLiteral("mnInfo"));
    connect(info, &QAction::triggered, this,
            [this] { list_->setDescriptionVisible(!list_->descriptionVisible()); });

    auto* btnChoose = new QPushButton(QStringLiteral("Избор"), this);
    btnChoose->setObjectName(QStringLiteral("btnChoose"));
    auto* btnExit = new QPushButton(QStringLiteral("Изход"), this);
    btnExit->setObjectName(QStringLiteral("btnExit"));
    connect(btnChoose, &QPushButton::clicked, this, &TfrmPorParts::choose);
    connect(btnExit, &QPushButton::clicked, this, &TfrmPorParts::reject);

    pAmnt_ = new QFrame(this);
    pAmnt_->setObjectName(QStringLiteral("pAmnt"));
    pAmnt_->setFrameShape(QFrame::Panel);
    pAmnt_->setFrameShadow(QFrame::Raised);
    pAmnt_->setAutoFillBackground(true);
    partName_ = new QLabel(pAmnt_);
    listSN_ = new QComboBox(pAmnt_);
    listSN_->setObjectName(QStringLiteral("listSN"));
    eAmnt_ = new QLineEdit(pAmnt_);
    eAmnt_->setObjectName(QStringLiteral("eAmnt"));
    eAmnt_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), eAmnt_));
    auto* btnRec = new QPushButton(QStringLiteral("OK"), pAmnt_);
    btnRec->setObjectName(QStringLiteral("btnRec"));
    auto* btnCancel = new QPushButton(QStringLiteral("Отказ"), pAmnt_);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    auto* form = new QFormLayout(pAmnt_);
    form->addRow(partName_);
    form->addRow(QStringLiteral("Сериен №:"), listSN_);
    form->addRow(QStringLiteral("Количество:"), eAmnt_);
    auto* row = new QHBoxLayout;
    row->addWidget(btnRec);
    row->addWidget(btnCancel);
    form->addRow(row);
    connect(btnRec, &QPushButton::clicked, this, &TfrmPorParts::confirm);
    connect(eAmnt_, &QLineEdit::returnPressed, this, &TfrmPorParts::confirm);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmPorParts::cancelAmount);
    pAmnt_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(bar);
    layout->addWidget(list_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnChoose);
    buttons->addWidget(btnExit);
    layout->addLayout(buttons);
}

void TfrmPorParts::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    choice_.reset();
    pAmnt_->hide();
    list_->hideSearch();
    try {
        list_->loadBroad(true);
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

void TfrmPorParts::choose() {
    const auto id = list_->currentPartId();
    if (!id || pAmnt_->isVisible())
        return;
    const auto part = warehouse::loadPart(db_, *id);
    if (!part)
        return;
    chosenPart_ = *id;
    listedStock_ = part->amnt;
    partName_->setText(part->part);
    const QStringList serials = warehouse::serialNumbersOf(db_, *id);
    listSN_->clear();
    listSN_->addItems(serials);
    listSN_->setVisible(!serials.isEmpty());
    listSN_->setEnabled(!serials.isEmpty());
    eAmnt_->setText(QStringLiteral("1"));
    eAmnt_->setEnabled(serials.isEmpty());
    pAmnt_->adjustSize();
    pAmnt_->move(rect().center() - pAmnt_->rect().center());
    pAmnt_->show();
    pAmnt_->raise();
    list_->setEnabled(false);
    (serials.isEmpty() ? static_cast<QWidget*>(eAmnt_) : listSN_)->setFocus();
}

void TfrmPorParts::confirm() {
    if (!pAmnt_->isVisible() || !chosenPart_)
        return;
    if (eAmnt_->text().isEmpty()) {
        eAmnt_->setFocus();
        return;
    }
    const int quantity = eAmnt_->text().toInt();
    if (quantity == 0) {
        eAmnt_->clear();
        eAmnt_->setFocus();
        return;
    }
    if (quantity > listedStock_) {
        ui::message(this, ui::captionMessage(),
                    QStringLiteral("Не може да въведете по-голямо количество от наличното!"),
                    ui::MessageIcon::Warning);
        eAmnt_->clear();
        eAmnt_->setFocus();
        return;
    }
    // Another workstation may have taken the units since the list was read.
    const QString serial = listSN_->isEnabled() ? listSN_->currentText() : QString();
    int stock = -1;
    try {
        stock = warehouse::unitsInStock(db_, *chosenPart_);
    } catch (const warehouse::StockError&) {
    }
    const bool serialGone =
        !serial.isEmpty() && !warehouse::serialNumbersOf(db_, *chosenPart_).contains(serial);
    if (stock < quantity || serialGone) {
        notInStock(this);
        cancelAmount();
        list_->reload();
        return;
    }
    choice_ = PartChoice{*chosenPart_, quantity, serial};
    pAmnt_->hide();
    list_->setEnabled(true);
    accept();
}

void TfrmPorParts::cancelAmount() {
    pAmnt_->hide();
    list_->setEnabled(true);
}

void TfrmPorParts::reject() {
    if (pAmnt_->isVisible())
        return; // the quantity is confirmed or cancelled first
    QDialog::reject();
}

#include "orders/external_parts_dialog.h"

#include "store/money.h"
#include "ui/message_box.h"
#include "ui/named_widgets.h"
#include "ui/row_list.h"
#include "ui/wait_message.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableWidget>
#include <QVBoxLayout>

TfrmMicro::TfrmMicro(const QStringList& databases, QWidget* parent)
    : QDialog(parent), databases_(databases) {
    setObjectName(QStringLiteral("TfrmMicro"));
    setWindowTitle(QStringLiteral("Стоки от Микроинвест"));
    resize(760, 480);
    cmbBase_ = new QComboBox(this);
    cmbBase_->setObjectName(QStringLiteral("cmbBase"));
    cmbBase_->addItems(databases_);
    eSearch_ = new QLineEdit(this);
    eSearch_->setObjectName(QStringLiteral("eSearch"));
    eSearch_->setPlaceholderText(QStringLiteral("наименование, * за произволни знаци"));
    btnSearch_ = new QPushButton(QStringLiteral("Търси"), this);
    btnSearch_->setObjectName(QStringLiteral("btnSearch"));
    grid_ = new QTableWidget(0, 5, this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Наименование"), QStringLiteral("Код"),
                                      QStringLiteral("Количество"), QStringLiteral("Доставна цена"),
                                      QStringLiteral("Продажна цена")});
    ui::prepareRowList(grid_);
    eAmnt_ = new QLineEdit(QStringLiteral("1"), this);
    eAmnt_->setObjectName(QStringLiteral("eAmnt"));
    eAmnt_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), eAmnt_));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    auto* cancel = new QPushButton(QStringLiteral("Отказ"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("База данни:"), this));
    top->addWidget(cmbBase_, 1);
    top->addWidget(eSearch_, 1);
    top->addWidget(btnSearch_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("Количество:"), this));
    bottom->addWidget(eAmnt_);
    bottom->addStretch();
    bottom->addWidget(ok);
    bottom->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_, 1);
    layout->addLayout(bottom);

    connect(cmbBase_, &QComboBox::activated, this, &TfrmMicro::chooseDatabase);
    connect(btnSearch_, &QPushButton::clicked, this, &TfrmMicro::search);
    connect(eSearch_, &QLineEdit::returnPressed, this, &TfrmMicro::search);
    connect(ok, &QPushButton::clicked, this, &TfrmMicro::confirm);
    connect(eAmnt_, &QLineEdit::returnPressed, this, &TfrmMicro::confirm);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, &TfrmMicro::confirm);
    connect(cancel, &QPushButton::clicked, this, &TfrmMicro::reject);
    if (!databases_.isEmpty())
        cmbBase_->setCurrentIndex(0);
}

TfrmMicro::~TfrmMicro() = default;

bool TfrmMicro::chooseDatabase(int index) {
    store_.reset();
    goods_.clear();
    grid_->setRowCount(0);
    try {
        if (index < 0 || index >= databases_.size())
            throw orders::ExternalStoreError(orders::ExternalFailure::CannotOpen, {});
        store_ = std::make_unique<orders::ExternalStore>(databases_.at(index));
        cmbBase_->setCurrentIndex(index);
        load();
    } catch (const orders::ExternalStoreError&) {
        store_.reset();
        btnSearch_->setEnabled(false);
        eSearch_->setEnabled(false);
        ui::message(this, ui::captionMessage(),
                    QStringLiteral("Не може да се отвори избраната база данни!"),
                    ui::MessageIcon::Error);
        return false;
    }
    btnSearch_->setEnabled(true);
    eSearch_->setEnabled(true);
    return true;
}

void TfrmMicro::load() {
    TfmMess wait(this);
    wait.setWindowFlag(Qt::WindowStaysOnTopHint);
    const ui::WaitMessage message(
        wait, QStringLiteral("Отваряне на база на Микроинвест, моля изчакайте..."));
    goods_ = store_->goodsInStock(eSearch_->text().trimmed());
    grid_->setRowCount(int(goods_.size()));
    for (int row = 0; row < goods_.size(); ++row) {
        const orders::Goods& g = goods_.at(row);
        const QStringList cells{g.name, g.good, QString::number(g.quantity),
                                store::formatMoney(g.purchasePrice),
                                store::formatMoney(g.salePrice)};
        for (int c = 0; c < cells.size(); ++c)
            grid_->setItem(row, c, new QTableWidgetItem(cells.at(c)));
    }
    grid_->resizeColumnsToContents();
    if (!goods_.isEmpty())
        grid_->selectRow(0);
}

void TfrmMicro::search() {
    if (!store_)
        return;
    try {
        load();
    } catch (const orders::ExternalStoreError& e) {
        ui::error(this, QString::fromStdString(e.what()));
    }
}

void TfrmMicro::confirm() {
    const int row = grid_->currentRow();
    if (!store_ || row < 0 || row >= goods_.size())
        return;
    const int quantity = eAmnt_->text().toInt();
    if (quantity == 0)
        return;
    const orders::Goods& g = goods_.at(row);
    if (quantity > g.quantity) {
        eAmnt_->setText(QStringLiteral("1"));
        eAmnt_->selectAll();
        eAmnt_->setFocus();
        return;
    }
    choice_ = GoodsChoice{cmbBase_->currentIndex(), store_->path(), g, quantity};
    accept();
}

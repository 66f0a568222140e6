#include "warehouse/serial_numbers_dialog.h"

#include "ui/message_box.h"
#include "warehouse/delivery.h"
#include "warehouse/stock.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TfrmSN::TfrmSN(store::Database& db, QStringList serials, const warehouse::Delivery& others,
               QWidget* parent)
    : QDialog(parent), db_(db), serials_(std::move(serials)), others_(others) {
    setObjectName(QStringLiteral("TfrmSN"));
    setWindowTitle(QStringLiteral("Серийни номера"));
    gridSN_ = new QListWidget(this);
    gridSN_->setObjectName(QStringLiteral("gridSN"));
    eSN_ = new QLineEdit(this);
    eSN_->setObjectName(QStringLiteral("eSN"));
    eSN_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[-/0-9A-Za-z\\\\]*")), eSN_));
    auto* add = new QPushButton(QStringLiteral("+"), this);
    add->setObjectName(QStringLiteral("btnAddRow"));
    auto* remove = new QPushButton(QStringLiteral("-"), this);
    remove->setObjectName(QStringLiteral("btnDelRow"));
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("SpeedButton1"));
    for (QPushButton* b : {add, remove})
        b->setFixedWidth(32);
    connect(add, &QPushButton::clicked, this, &TfrmSN::addSerial);
    connect(eSN_, &QLineEdit::returnPressed, this, &TfrmSN::addSerial);
    connect(remove, &QPushButton::clicked, this, &TfrmSN::deleteSerial);
    connect(ok, &QPushButton::clicked, this, &TfrmSN::finish);
    auto* entry = new QHBoxLayout;
    entry->addWidget(eSN_, 1);
    entry->addWidget(add);
    entry->addWidget(remove);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addWidget(gridSN_);
    layout->addWidget(ok);
    resize(280, 300);
    showSerials();
}

void TfrmSN::showSerials() {
    gridSN_->clear();
    gridSN_->addItems(serials_);
}

bool TfrmSN::addSerial() {
    const QString serial = eSN_->text().trimmed();
    if (serial.isEmpty() || serials_.contains(serial) || others_.hasSerial(serial)) {
        ui::error(this, QStringLiteral("Невалиден сериен номер!\nвече е въведен в таблицата или "
                                       "не сте въвели нищо в полето!"));
        eSN_->setFocus();
        return false;
    }
    if (warehouse::serialNumberInStock(db_, serial)) {
        ui::message(this, ui::captionError(),
                    QStringLiteral("Такъв сериен номер вече съществува в базата данни!"),
                    ui::MessageIcon::Warning);
        eSN_->setFocus();
        eSN_->selectAll();
        return false;
    }
    serials_ << serial;
    showSerials();
    eSN_->clear();
    eSN_->setFocus();
    return true;
}

void TfrmSN::deleteSerial() {
    const int row = gridSN_->currentRow();
    if (row < 0 || row >= serials_.size())
        return;
    serials_.removeAt(row);
    showSerials();
}

void TfrmSN::finish() {
    // A number still in the entry field is kept, as a pending row would be.
    if (!eSN_->text().trimmed().isEmpty() && !addSerial())
        return;
    accept();
}

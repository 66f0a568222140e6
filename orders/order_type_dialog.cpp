#include "orders/order_type_dialog.h"

#include "orders/order_texts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmChangeTypePor::TfrmChangeTypePor(int currentType, QWidget* parent)
    : QDialog(parent), cmbType_(new QComboBox(this)) {
    setObjectName(QStringLiteral("TfrmChangeTypePor"));
    setWindowTitle(QStringLiteral("Тип на ремонта"));
    cmbType_->setObjectName(QStringLiteral("cmbType"));
    cmbType_->addItems(orders::newOrderTypeTexts());
    cmbType_->setCurrentIndex(currentType >= 0 && currentType < cmbType_->count() ? currentType
                                                                                  : 0);
    auto* btnRec = new QPushButton(QStringLiteral("Запис"), this);
    btnRec->setObjectName(QStringLiteral("btnRec"));
    btnRec->setDefault(true);
    auto* btnCancel = new QPushButton(QStringLiteral("Отказ"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnRec, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRec);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Тип на ремонта:"), this));
    layout->addWidget(cmbType_);
    layout->addLayout(buttons);
    setMinimumWidth(320);
    cmbType_->setFocus();
}

int TfrmChangeTypePor::selectedType() const {
    return cmbType_->currentIndex();
}

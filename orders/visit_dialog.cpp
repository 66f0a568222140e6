#include "orders/visit_dialog.h"

#include "staff/employees.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmVisit::TfrmVisit(store::Database& db, QWidget* parent)
    : QDialog(parent), cmbClerk_(new QComboBox(this)), eNote_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("TfrmVisit"));
    setWindowTitle(QStringLiteral("Отчет на посещение"));
    cmbClerk_->setObjectName(QStringLiteral("cmbClerk"));
    cmbClerk_->addItems(staff::activeEmployeeNames(db));
    eNote_->setObjectName(QStringLiteral("eNote"));
    auto* btnRec = new QPushButton(QStringLiteral("Запис"), this);
    btnRec->setObjectName(QStringLiteral("btnRec"));
    btnRec->setDefault(true);
    auto* btnCancel = new QPushButton(QStringLiteral("Отказ"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnRec, &QPushButton::clicked, this, [this] {
        if (cmbClerk_->currentIndex() >= 0)
            accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Служител:"), cmbClerk_);
    form->addRow(QStringLiteral("Бележка:"), eNote_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRec);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}

void TfrmVisit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    cmbClerk_->setCurrentIndex(cmbClerk_->count() > 0 ? 0 : -1);
    cmbClerk_->setFocus();
}

QString TfrmVisit::employee() const {
    return cmbClerk_->currentText();
}

QString TfrmVisit::note() const {
    return eNote_->text();
}

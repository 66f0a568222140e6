#include "warehouse/supplier_pick_dialog.h"

#include "warehouse/suppliers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TsrIzbDost::TsrIzbDost(store::Database& db, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TsrIzbDost"));
    setWindowTitle(QStringLiteral("Избор на доставчик"));
    cmbDost_ = new QComboBox(this);
    cmbDost_->setObjectName(QStringLiteral("cmbDost"));
    cmbDost_->setMinimumWidth(280);
    for (const warehouse::Supplier& s : warehouse::suppliers(db))
        cmbDost_->addItem(s.name, s.id);
    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    auto* cancel = buttons->addButton(QStringLiteral("Отказ"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TsrIzbDost::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TsrIzbDost::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Доставчик:"), this));
    layout->addWidget(cmbDost_);
    layout->addWidget(buttons);
}

std::optional<qint64> TsrIzbDost::supplierId() const {
    if (cmbDost_->currentIndex() < 0)
        return std::nullopt;
    return cmbDost_->currentData().toLongLong();
}

QString TsrIzbDost::supplierName() const {
    return cmbDost_->currentText();
}

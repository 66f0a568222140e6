#include "warehouse/delivery_start.h"

#include "finance/date_dialog.h"
#include "store/currency.h"
#include "ui/message_box.h"
#include "warehouse/delivery_window.h"
#include "warehouse/suppliers.h"
#include "warehouse/warehouse_commands.h"

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

namespace warehouse {

bool startDelivery(QWidget* parent, store::Database& db, const shell::Session& session,
                   const WarehouseSettings& settings) {
    // The register opens here rather than through its own command, so that the delivery right
    // alone is enough to enter the first supplier.
    while (!hasSuppliers(db)) {
        if (!ui::ask(parent,
                     QStringLiteral("Няма въведени доставчици. Желаете ли да въведете доставчици?"),
                     ui::captionMessage()))
            return false;
        openSuppliers(parent, db);
    }
    TsrDate dateDialog(db, settings.currency, parent);
    if (ui::runModal(dateDialog) != QDialog::Accepted)
        return false;
    TsrIzbDost picker(db, parent);
    if (ui::runModal(picker) != QDialog::Accepted || !picker.supplierId())
        return false;
    Delivery delivery;
    delivery.date = dateDialog.date();
    delivery.supplierId = *picker.supplierId();
    delivery.supplierName = picker.supplierName();
    delivery.rates = store::ratesOf(db, delivery.date);
    TsrDostParts window(db, session, settings, std::move(delivery), parent);
    ui::runModal(window);
    return true;
}

} // namespace warehouse

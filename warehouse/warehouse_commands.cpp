#include "warehouse/warehouse_commands.h"

#include "finance/date_dialog.h"
#include "store/currency.h"
#include "ui/message_box.h"
#include "ui/wait_message.h"
#include "warehouse/delivery_window.h"
#include "warehouse/discounts_window.h"
#include "warehouse/parts_window.h"
#include "warehouse/serial_stock_window.h"
#include "warehouse/supplier_pick_dialog.h"
#include "warehouse/suppliers.h"
#include "warehouse/suppliers_window.h"
#include "warehouse/warehouse_settings.h"

#include <optional>

namespace warehouse {

void openNomenclature(QWidget* parent, store::Database& db, const WarehouseSettings& settings) {
    std::optional<TsrParts> parts;
    {
        // Loading the whole nomenclature can take a moment on a large warehouse.
        TfmMess wait(parent);
        ui::WaitMessage message(wait,
                                QStringLiteral("Зареждане на номенклатурата, моля изчакайте ..."));
        parts.emplace(db, settings, parent);
    }
    ui::runModal(*parts);
}

void openStockReport(QWidget* parent, store::Database& db, const shell::Session& session,
                     const WarehouseSettings& settings) {
    TsrDostParts stock(db, session, settings, parent);
    ui::runModal(stock);
}

void openDiscounts(QWidget* parent, store::Database& db) {
    TfrmDiscounts discounts(db, parent);
    ui::runModal(discounts);
}

void openSuppliers(QWidget* parent, store::Database& db) {
    TsrDost suppliers(db, parent);
    ui::runModal(suppliers);
}

void openSerialStock(QWidget* parent, store::Database& db) {
    TfrmNalSN stock(db, parent);
    ui::runModal(stock);
}

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

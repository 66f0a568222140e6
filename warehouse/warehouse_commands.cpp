#include "warehouse/warehouse_commands.h"

#include "ui/message_box.h"
#include "ui/wait_message.h"
#include "warehouse/delivery_window.h"
#include "warehouse/discounts_window.h"
#include "warehouse/parts_window.h"
#include "warehouse/serial_stock_window.h"
#include "warehouse/suppliers_window.h"

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

} // namespace warehouse

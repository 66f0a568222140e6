#pragma once

class QWidget;

namespace shell {
class Session;
}
namespace store {
class Database;
}

// The warehouse commands of the main window, one entry each.
namespace warehouse {

struct WarehouseSettings;

// The parts nomenclature, with a wait message while a large warehouse loads.
void openNomenclature(QWidget* parent, store::Database& db, const WarehouseSettings& settings);
// The stock report.
void openStockReport(QWidget* parent, store::Database& db, const shell::Session& session,
                     const WarehouseSettings& settings);
// The delivery command: without suppliers it offers to enter them, then the date (with the
// day's rates when the workshop works in three currencies), the supplier, then the delivery
// window. Does nothing when any of them is cancelled. Returns whether the delivery window was
// opened.
bool startDelivery(QWidget* parent, store::Database& db, const shell::Session& session,
                   const WarehouseSettings& settings);
void openDiscounts(QWidget* parent, store::Database& db);
void openSuppliers(QWidget* parent, store::Database& db);
void openSerialStock(QWidget* parent, store::Database& db);

} // namespace warehouse

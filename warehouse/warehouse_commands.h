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
void openDiscounts(QWidget* parent, store::Database& db);
void openSuppliers(QWidget* parent, store::Database& db);
void openSerialStock(QWidget* parent, store::Database& db);

} // namespace warehouse

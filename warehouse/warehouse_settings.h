#pragma once

#include "store/currency.h"
#include "ui/scanner_settings.h"

#include <QSettings>

namespace shell {
class BusinessSettings;
}

namespace warehouse {

// The settings the warehouse windows read. The settings window fills them; until then the
// defaults hold: no serial numbers, leva only, two selling prices, no scanner.
struct WarehouseSettings {
    bool useSerialNumbers = false;                                // UseSN
    store::CurrencyMode currency = store::CurrencyMode::LevaOnly; // Currency
    bool oneSellingPrice = false; // Prices = 1: the counter price is always the order price
    ui::ScannerSettings scanner{};
};

// The current values: the business settings of the database and this user's scanner.
WarehouseSettings warehouseSettingsOf(const shell::BusinessSettings& business, QSettings& user);

} // namespace warehouse

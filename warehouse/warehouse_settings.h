#pragma once

#include "store/currency.h"
#include "ui/barcode_reader.h"

namespace warehouse {

// The settings the warehouse windows read. The settings window fills them; until then the
// defaults hold: no serial numbers, leva only, two selling prices, no scanner.
struct WarehouseSettings {
    bool useSerialNumbers = false;                                // UseSN
    store::CurrencyMode currency = store::CurrencyMode::LevaOnly; // Currency
    bool oneSellingPrice = false; // Prices = 1: the counter price is always the order price
    ui::ScannerSettings scanner{};
};

} // namespace warehouse

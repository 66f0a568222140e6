#include "warehouse/warehouse_settings.h"

#include "shell/business_settings.h"
#include "shell/serial_port_settings.h"

namespace warehouse {

WarehouseSettings warehouseSettingsOf(const shell::BusinessSettings& business, QSettings& user) {
    WarehouseSettings settings;
    settings.useSerialNumbers = business.useSerialNumbers();
    settings.currency = business.foreignCurrencies() ? store::CurrencyMode::ThreeCurrencies
                                                     : store::CurrencyMode::LevaOnly;
    settings.oneSellingPrice = business.singleSalePrice();
    settings.scanner = shell::loadScannerSettings(user);
    return settings;
}

} // namespace warehouse

#include "orders/labour_pricing.h"

#include "shell/business_settings.h"
#include "store/database.h"
#include "store/money.h"
#include "store/sql_values.h"

namespace orders {

using store::roundMoney;

PayMode payModeOf(const shell::BusinessSettings& settings) {
    if (settings.workByTime())
        return PayMode::ByTime;
    return settings.workByFixedAmount() ? PayMode::ByFixedAmount : PayMode::ByPercent;
}

QString operationDescription(const CatalogueOperation& op) {
    if (!op.code)
        return op.name;
    return QStringLiteral("код: ") + *op.code + QStringLiteral("; ") + op.name;
}

namespace {

// By time: a normal order is charged the normal hourly rate and credits the percentage of it;
// an unpaid order charges nothing and credits the warranty hourly rate.
void priceByTime(LabourEntry& e, int orderType, const TechnicianRates& rates) {
    if (orderType == 0) {
        e.clientPrice = roundMoney(rates.normalHour * e.hours);
        e.technicianAmount = roundMoney(e.clientPrice * rates.percent / 100);
    } else {
        e.clientPrice = 0;
        e.technicianAmount = roundMoney(rates.warrantyHour * e.hours);
    }
}

} // namespace

LabourEntry priceCatalogueOperation(PayMode mode, int orderType, const TechnicianRates& rates,
                                    const CatalogueOperation& op) {
    LabourEntry e;
    e.description = operationDescription(op);
    if (mode == PayMode::ByTime) {
        e.hours = op.hours;
        priceByTime(e, orderType, rates);
    } else if (orderType == 0) {
        e.clientPrice = op.clientPrice;
        e.technicianAmount = mode == PayMode::ByPercent
                                 ? roundMoney(e.clientPrice * rates.percent / 100)
                                 : roundMoney(op.workerPrice);
    } else {
        e.technicianAmount = roundMoney(op.warrantyPrice);
    }
    return e;
}

LabourEntry priceFreeText(PayMode mode, int orderType, const TechnicianRates& rates) {
    LabourEntry e;
    if (mode == PayMode::ByTime) {
        e.hours = 1;
        priceByTime(e, orderType, rates);
    }
    return e;
}

void rescale(LabourEntry& entry, double oldValue, double newValue) {
    if (oldValue == 0)
        return;
    entry.clientPrice = roundMoney(entry.clientPrice * newValue / oldValue);
    entry.technicianAmount = roundMoney(entry.technicianAmount * newValue / oldValue);
}

} // namespace orders

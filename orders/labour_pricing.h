#pragma once

#include "staff/employees.h"

#include <QString>
#include <optional>

namespace shell {
class BusinessSettings;
}
namespace store {
class Database;
}

// How a labour line of an order is priced: the workshop's pay mode, the order type and the
// technician's own rates decide what the client pays and what the technician is credited.
namespace orders {

enum class PayMode {
    ByPercent,     // the technician gets his percentage of the client price
    ByFixedAmount, // the technician gets the operation's technician price
    ByTime,        // norm hours times the technician's hourly rates
};

PayMode payModeOf(const shell::BusinessSettings& settings);

// The employees own the technicians' rates; labour is priced with them.
using staff::Technician;
using staff::technicianByName;
using staff::TechnicianRates;

// One operation of the catalogue, as far as pricing needs it.
struct CatalogueOperation {
    qint64 id = 0;
    std::optional<QString> code; // null code: the name alone describes the work
    QString name;
    double clientPrice = 0;
    double workerPrice = 0;
    double warrantyPrice = 0;
    double hours = 0; // norm time
};

// A priced labour entry before it is booked into an order.
struct LabourEntry {
    QString description;
    double clientPrice = 0;      // Pr1
    double technicianAmount = 0; // Pr2
    double hours = 0;
    double coefficient = 1;
};

// "код: " + code + "; " + name, or the name alone without a code.
QString operationDescription(const CatalogueOperation& op);

// orderType is typeWarr: 0 the client pays, 1 and 2 he does not (warranty).
LabourEntry priceCatalogueOperation(PayMode mode, int orderType, const TechnicianRates& rates,
                                    const CatalogueOperation& op);
// Free-text labour: empty description; by time it counts one hour.
LabourEntry priceFreeText(PayMode mode, int orderType, const TechnicianRates& rates);

// A changed coefficient or number of hours scales both prices by new / old, to hundredths.
// An old value of 0 leaves them as they are.
void rescale(LabourEntry& entry, double oldValue, double newValue);

} // namespace orders

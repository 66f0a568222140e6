#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

namespace store {
class Database;
}

// The one place where the quantity of a part in the warehouse changes. Deliveries, returns,
// sales and orders call these functions; nothing else writes parts.amnt. Each function runs in
// the caller's transaction when one is open (its own savepoint otherwise), so a refused step
// rolls back with the operation that asked for it.
namespace warehouse {

enum class StockRefusal {
    NotPositive,   // a count of zero or below
    AboveStock,    // more units than the warehouse holds
    UnknownPart,   // no such part
    UnknownSerial, // the part has no unit in stock with this serial number
    EmptySerial,   // a serial number that is blank
};

class StockError : public std::runtime_error {
public:
    StockError(StockRefusal refusal, const QString& detail);
    StockRefusal refusal() const { return refusal_; }

private:
    StockRefusal refusal_;
};

// Units in stock; an empty quantity counts as none.
int unitsInStock(store::Database& db, qint64 partId);

// Takes count units (a sale, an order, a returned delivery). Refuses a count that is not
// positive or above the stock; the check and the change are one statement, so two workstations
// cannot both take the last unit.
void takeUnits(store::Database& db, qint64 partId, int count);
// Puts count units in (a delivery, a sale return, a part taken out of an order).
void addUnits(store::Database& db, qint64 partId, int count);

// A unit with a serial number: taking it deletes its PartSN row and lowers the stock by one;
// putting it (back) appends the row and raises the stock by one.
void takeSerialUnit(store::Database& db, qint64 partId, const QString& serial);
void addSerialUnit(store::Database& db, qint64 partId, const QString& serial,
                   const QString& serial2 = {});

// Units of a part that carry no serial number: the stock less its serial-numbered units. A part
// may hold both, for instance units delivered before serial numbers were in use.
int plainUnitsInStock(store::Database& db, qint64 partId);
// Takes count units that carry no serial number, refusing more than there are (AboveStock), so
// that every serial-numbered unit keeps a unit in the count.
void takePlainUnits(store::Database& db, qint64 partId, int count);

// The serial numbers of a part's units in stock, in the order they came in. A blank number (NULL
// or empty text in old data) names no unit and is left out here and below.
QStringList serialNumbersOf(store::Database& db, qint64 partId);
bool hasSerialNumbers(store::Database& db, qint64 partId);
// Whether some unit in stock already carries this serial number (any part).
bool serialNumberInStock(store::Database& db, const QString& serial);

} // namespace warehouse

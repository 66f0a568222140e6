#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

namespace store {
class Database;
}

// The suppliers the workshop buys parts from, and returns of delivered units to them.
namespace warehouse {

struct Supplier {
    qint64 id = 0; // 0 for a supplier not saved yet
    QString name{};
    QString info{};
};

QList<Supplier> suppliers(store::Database& db); // by name
bool hasSuppliers(store::Database& db);
std::optional<Supplier> loadSupplier(store::Database& db, qint64 id);
// Trims the name and appends (id 0, no warranty) or changes the supplier; false when the name
// is empty or another supplier has it. supplier.id is set on success.
bool saveSupplier(store::Database& db, Supplier& supplier);

// The suppliers that have delivered the part, by name.
QList<Supplier> suppliersOfPart(store::Database& db, qint64 partId);

// Units of one part sent back to the supplier that delivered them.
struct DeliveryReturn {
    qint64 partId = 0;
    qint64 supplierId = 0;
    QString supplierName{};
    int count = 1;
    double price = 0; // of one unit
    int currency = 1;
    QString serial{};          // the returned unit's serial number, for a part with serial numbers
    bool refundInCash = false; // else the debt to the supplier is reduced
};

// Takes the units out of the stock (never more than there are; the serial-numbered unit by its
// number) and posts the money: into the till, or off the supplier's debt. All in one
// transaction; a refusal (StockError, DbError) leaves everything as it was.
void recordReturn(store::Database& db, const DeliveryReturn& back, int userId,
                  const QDateTime& now = QDateTime::currentDateTime());

} // namespace warehouse

#pragma once

#include "support/builders.h"

// The earlier names of the shared builders, for suites still written against them.
// New tests use support/builders.h directly.
namespace order_test_data {

using OrderRow = builders::Order;

inline void addOrder(store::Database& db, const OrderRow& o) {
    builders::order(db, o);
}

inline qint64 addClerk(store::Database& db, const QString& name, bool active, int worker = 0) {
    return builders::employee(db, {.name = name, .active = active, .kind = worker});
}

inline void addPartLine(store::Database& db, qint64 idPor, qint64 idPart, int amount) {
    builders::partLine(db, idPor, {.part = idPart, .amount = amount});
}

inline void addLabourLine(store::Database& db, qint64 idPor, qint64 idClerk) {
    builders::labourLine(db, idPor, {.technician = idClerk});
}

inline qint64 addPart(store::Database& db, const QString& type, const QString& part,
                      const QString& partNo) {
    return builders::part(db, {.name = part, .type = type, .partNo = partNo, .amount = 5});
}

inline orders::NewOrder completeOrder() {
    return builders::completeOrder();
}

} // namespace order_test_data

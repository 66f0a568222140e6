#pragma once

#include <QDate>
#include <QString>

namespace store {
class Database;
}

// Home visits booked with an order.
namespace orders {

// Marks a visit done by the employee of that name (false, nothing written, when there is no
// such employee).
bool reportVisitDone(store::Database& db, qint64 visitId, const QString& employee,
                     const QString& note, const QDate& today);

} // namespace orders

#include "orders/visits.h"

#include "staff/employees.h"
#include "store/database.h"

namespace orders {

bool reportVisitDone(store::Database& db, qint64 visitId, const QString& employee,
                     const QString& note, const QDate& today) {
    const std::optional<qint64> id = staff::employeeIdByName(db, employee);
    if (!id)
        return false;
    db.exec(QStringLiteral("UPDATE homevisit SET visited = true, Notes = :note, idClerk = :clerk, "
                           "field2 = :done WHERE id = :id"),
            {{"note", note},
             {"clerk", *id},
             {"done", today.toString(QStringLiteral("dd.MM.yyyy"))},
             {"id", visitId}});
    return true;
}

} // namespace orders

#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace store {
class Database;
}

// How many of each part are booked into a set of orders.
namespace orders {

enum class PartsInOrdersFilter { NotReady = 0, NotPaid = 1, Period = 2 };

QStringList partsInOrdersFilterTexts();

struct PartInOrders {
    std::optional<qint64> idPart; // none for a part taken from an external warehouse database
    QString type;
    QString part;
    QString partNo;
    qint64 amount = 0;
};

// One row per part (parts of the external warehouse databases: one per database and code,
// the code standing in as the designation), quantities summed over the chosen orders. The
// period takes what is filled; with neither date every order counts.
QList<PartInOrders> partsInOrders(store::Database& db, PartsInOrdersFilter filter,
                                  const std::optional<QDate>& from, const std::optional<QDate>& to);

} // namespace orders

#pragma once

#include "orders/order_work.h"
#include "store/rights.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace store {
class Database;
}
namespace shell {
class Session;
}

// The three order commands of the main window and the order register: parts into the order,
// order report, order payment.
namespace orders {

// The access right of each command.
store::Right orderCommandRight(OrderMode mode);

// Why the command refuses this order (the message to show), or nothing when it may open.
// Technicians are checked separately.
std::optional<QString> orderCommandRefusal(store::Database& db, OrderMode mode, qint64 idPor);

// "Няма въведени сервизни техници!\nЗа да отчетете поръчка, трябва да сте ги въвели!"
QString noTechniciansText();

// Runs a command: nothing while the counter sale is open or without the right; the order is
// the given one (the register's current order) or asked for with the order-number prompt;
// then the checks, and the order report window in the command's mode. Without technicians the
// report and payment open the employees register instead. repairCard shows an order's repair
// card when the user asked for it on marking ready.
void runOrderCommand(QWidget* parent, store::Database& db, shell::Session& session, OrderMode mode,
                     std::optional<qint64> idPor = std::nullopt,
                     const std::function<void(qint64)>& repairCard = {});

// The other order commands of the main window, one entry each.
void openNewOrder(QWidget* parent, store::Database& db, shell::Session& session);
// The order register, its commands working on its current order; with a registration number
// it opens on that car's orders.
void openOrderRegister(QWidget* parent, store::Database& db, shell::Session& session,
                       const QString& regNo = {});
void openPartsInOrders(QWidget* parent, store::Database& db);
void openOperationsCatalogue(QWidget* parent, store::Database& db, const shell::Session& session);
void openSymptomCodes(QWidget* parent, store::Database& db);

} // namespace orders

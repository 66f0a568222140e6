#pragma once

class QWidget;

namespace store {
class Database;
}

// The invoicing commands of the main window, one entry each.
namespace invoicing {

void openClients(QWidget* parent, store::Database& db);
// Without client firms there is nobody to invoice: says so and opens nothing.
void openUnbilledPayments(QWidget* parent, store::Database& db);

} // namespace invoicing

#pragma once

class QWidget;

namespace store {
class Database;
}

// The finance commands of the main window, one entry each.
namespace finance {

void openRateRegister(QWidget* parent, store::Database& db);
// The debt accounts need someone to have debts with: without suppliers (clients) they say so
// and open nothing.
void openSupplierAccounts(QWidget* parent, store::Database& db);
void openClientAccounts(QWidget* parent, store::Database& db);

} // namespace finance

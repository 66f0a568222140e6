#pragma once

#include "store/currency.h"

#include <QDate>
#include <optional>

class QWidget;

namespace store {
class Database;
}

// The finance commands of the main window, one entry each.
namespace finance {

void openRateRegister(QWidget* parent, store::Database& db);

// The rates of a date, asking for them with the rate dialog when the day has none yet. Empty
// when the user did not confirm the rates (the operation must not go on) or the database could
// not be read (the error has been shown).
std::optional<store::Rates> ensureRates(QWidget* parent, store::Database& db,
                                        const QDate& date = QDate::currentDate());
// The debt accounts need someone to have debts with: without suppliers (clients) they say so
// and open nothing.
void openSupplierAccounts(QWidget* parent, store::Database& db);
void openClientAccounts(QWidget* parent, store::Database& db);

} // namespace finance

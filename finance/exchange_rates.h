#pragma once

#include "store/currency.h"

#include <QList>

// The exchange-rate register as the finance windows read it; rows are added through
// store::addRates only.
namespace finance {

// Every day's rates, newest first.
QList<store::Rates> rateHistory(store::Database& db);

} // namespace finance

#pragma once

#include <QStringList>

namespace store {
class Database;
}

namespace demo {

// Reads a database back and lists what does not add up (empty when everything does): the
// engine's integrity check, stock against deliveries and movements, the money of every paid
// order against the cash book, client accounts and profit, earnings against labour lines.
QStringList checkConsistency(store::Database& db);

} // namespace demo

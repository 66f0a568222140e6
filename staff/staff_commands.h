#pragma once

class QWidget;

namespace store {
class Database;
}

// The staff commands of the main window, one entry each.
namespace staff {

void openEmployees(QWidget* parent, store::Database& db);

} // namespace staff

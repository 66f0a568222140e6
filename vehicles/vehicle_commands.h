#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace store {
class Database;
}

// The vehicle commands of the main window, one entry each.
namespace vehicles {

void openBrands(QWidget* parent, store::Database& db);
// The car register; ordersOfCar shows the orders of a registration number (the orders are not
// the vehicles' to open).
void openCarRegister(QWidget* parent, store::Database& db,
                     const std::function<void(const QString&)>& ordersOfCar);
void openAllCars(QWidget* parent, store::Database& db);

} // namespace vehicles

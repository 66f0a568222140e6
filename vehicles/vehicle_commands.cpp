#include "vehicles/vehicle_commands.h"

#include "ui/message_box.h"
#include "vehicles/all_cars_window.h"
#include "vehicles/brands_window.h"
#include "vehicles/car_register_window.h"

namespace vehicles {

void openBrands(QWidget* parent, store::Database& db) {
    TfrmArtsMarks brands(db, parent);
    ui::runModal(brands);
}

void openCarRegister(QWidget* parent, store::Database& db,
                     const std::function<void(const QString&)>& ordersOfCar) {
    TsrCar cars(db, TsrCar::Mode::Register, parent);
    cars.setOrdersOfCar([&cars, ordersOfCar](const QString& regNo) {
        cars.setEnabled(false);
        ordersOfCar(regNo);
        cars.setEnabled(true);
    });
    ui::runModal(cars);
}

void openAllCars(QWidget* parent, store::Database& db) {
    TfrmAllCars cars(db, parent);
    ui::runModal(cars);
}

} // namespace vehicles

#pragma once

#include <QDate>
#include <QString>
#include <optional>

namespace store {
class Database;
}

namespace vehicles {

// One car of the register (texts copied from the catalogue, not keys).
struct Car {
    qint64 id = 0; // 0 for a car not saved yet
    QString marka;
    QString model;
    QString modify;
    QString period;
    QString yearMade;
    QString regNo;
    QString couppe;
    QString engine;
    QString kw;
    QString ccm;
    QString ownerName;
    QString ownerAddress;
    QString ownerPhone;
};

enum class CarField {
    Brand,
    Model,
    Year,
    RegNo,
    Chassis,
    Engine,
    OwnerName,
    OwnerAddress,
    OwnerPhone
};

struct CarProblem {
    CarField field;
    QString message;
};

// Trims every text of the car.
Car trimmed(Car car);

// Why a typed production year cannot be a car's: not a year, before 1900 or after next year.
std::optional<QString> productionYearProblem(const QString& year,
                                             int thisYear = QDate::currentDate().year());

// The first thing that keeps the car from being saved, in the order the user fills the panel:
// required texts, and a registration number no other car has.
std::optional<CarProblem> checkCar(store::Database& db, const Car& car);

// Appends (id 0) or changes the car; returns its id. Call checkCar first.
qint64 saveCar(store::Database& db, const Car& car);

std::optional<Car> loadCar(store::Database& db, qint64 id);
// The registered car with exactly this registration number (letter case aside; a "*" is a
// plain character), the last one should there be several.
std::optional<Car> findCarByRegNo(store::Database& db, const QString& regNo);

} // namespace vehicles

#include "vehicles/car_register.h"

#include "store/database.h"
#include "store/registration_number.h"
#include "store/sql_helpers.h"

#include <QSqlQuery>

namespace vehicles {

namespace {

store::Binds carBinds(const Car& car) {
    return {{QStringLiteral("marka"), car.marka},
            {QStringLiteral("model"), car.model},
            {QStringLiteral("year"), car.yearMade},
            {QStringLiteral("regNo"), car.regNo},
            {QStringLiteral("couppe"), car.couppe},
            {QStringLiteral("engine"), car.engine},
            {QStringLiteral("modify"), car.modify},
            {QStringLiteral("period"), car.period},
            {QStringLiteral("kw"), car.kw},
            {QStringLiteral("ccm"), car.ccm},
            {QStringLiteral("ownerName"), car.ownerName},
            {QStringLiteral("ownerAddress"), car.ownerAddress},
            {QStringLiteral("ownerPhone"), car.ownerPhone}};
}

bool regNoTaken(store::Database& db, const Car& car) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM cars WHERE RegNo = :r AND id <> :id"),
                     {{QStringLiteral("r"), car.regNo}, {QStringLiteral("id"), car.id}})
               .toInt() > 0;
}

} // namespace

Car trimmed(Car car) {
    for (QString* text :
         {&car.marka, &car.model, &car.modify, &car.period, &car.yearMade, &car.regNo, &car.couppe,
          &car.engine, &car.kw, &car.ccm, &car.ownerName, &car.ownerAddress, &car.ownerPhone})
        *text = text->trimmed();
    car.regNo = store::normalRegistrationNumber(car.regNo);
    return car;
}

std::optional<QString> productionYearProblem(const QString& year, int thisYear) {
    bool ok = false;
    const int value = year.trimmed().toInt(&ok);
    if (ok && value >= 1900 && value <= thisYear + 1)
        return std::nullopt;
    return QStringLiteral("Годината на производство трябва да е между 1900 и %1!")
        .arg(thisYear + 1);
}

std::optional<CarProblem> checkCar(store::Database& db, const Car& input) {
    const Car car = trimmed(input);
    const std::pair<const QString*, CarProblem> required[] = {
        {&car.marka, {CarField::Brand, QStringLiteral("Въведете марка на автомобила!")}},
        {&car.model, {CarField::Model, QStringLiteral("Въведете модел на автомобила!")}},
        {&car.yearMade, {CarField::Year, QStringLiteral("Въведете година на производство!")}},
        {&car.regNo, {CarField::RegNo, QStringLiteral("Въведете регистрационен номер!")}},
    };
    for (const auto& [text, problem] : required) {
        if (text->isEmpty())
            return problem;
    }
    if (const auto year = productionYearProblem(car.yearMade))
        return CarProblem{CarField::Year, *year};
    if (regNoTaken(db, car))
        return CarProblem{CarField::RegNo,
                          QStringLiteral("Taкъв регистрационен номер вече е въведен!")};
    const std::pair<const QString*, CarProblem> owner[] = {
        {&car.couppe, {CarField::Chassis, QStringLiteral("Въведете номер на шаси!")}},
        {&car.engine, {CarField::Engine, QStringLiteral("Въведете номер на двигателя!")}},
        {&car.ownerName, {CarField::OwnerName, QStringLiteral("Въведете име на собственика!")}},
        {&car.ownerAddress,
         {CarField::OwnerAddress, QStringLiteral("Въведете адрес на собственика!")}},
        {&car.ownerPhone,
         {CarField::OwnerPhone, QStringLiteral("Въведете телефон на собственика!")}},
    };
    for (const auto& [text, problem] : owner) {
        if (text->isEmpty())
            return problem;
    }
    return std::nullopt;
}

qint64 saveCar(store::Database& db, const Car& input) {
    const Car car = trimmed(input);
    store::Binds binds = carBinds(car);
    if (car.id == 0) {
        return store::insertAndGetId(
            db, QStringLiteral("cars"), QStringLiteral("id"),
            QStringLiteral("INSERT INTO cars (Marka, Model, YearMade, RegNo, Couppe, Engine, "
                           "Modify, Period, kw, ccm, OwnerName, OwnerAddress, OwnerPhone) VALUES "
                           "(:marka, :model, :year, :regNo, :couppe, :engine, :modify, :period, "
                           ":kw, :ccm, :ownerName, :ownerAddress, :ownerPhone)"),
            binds);
    }
    binds.insert(QStringLiteral("id"), car.id);
    db.exec(QStringLiteral("UPDATE cars SET Marka = :marka, Model = :model, YearMade = :year, "
                           "RegNo = :regNo, Couppe = :couppe, Engine = :engine, Modify = :modify, "
                           "Period = :period, kw = :kw, ccm = :ccm, OwnerName = :ownerName, "
                           "OwnerAddress = :ownerAddress, OwnerPhone = :ownerPhone WHERE id = :id"),
            binds);
    return car.id;
}

std::optional<Car> loadCar(store::Database& db, qint64 id) {
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT id, Marka, Model, Modify, Period, YearMade, RegNo, "
                               "Couppe, Engine, kw, ccm, OwnerName, OwnerAddress, "
                               "OwnerPhone FROM cars WHERE id = :id"),
                {{QStringLiteral("id"), id}});
    if (!q.next())
        return std::nullopt;
    Car car;
    car.id = q.value(0).toLongLong();
    QString* texts[] = {&car.marka,     &car.model, &car.modify,    &car.period,
                        &car.yearMade,  &car.regNo, &car.couppe,    &car.engine,
                        &car.kw,        &car.ccm,   &car.ownerName, &car.ownerAddress,
                        &car.ownerPhone};
    for (int i = 0; i < 13; ++i)
        *texts[i] = q.value(i + 1).toString();
    return car;
}

std::optional<Car> findCarByRegNo(store::Database& db, const QString& regNo) {
    if (regNo.trimmed().isEmpty())
        return std::nullopt;
    // Numbers are stored in their one form: an exact match, found through the index.
    const QVariant id =
        db.scalar(QStringLiteral("SELECT max(id) FROM cars WHERE RegNo = :reg"),
                  {{QStringLiteral("reg"), store::normalRegistrationNumber(regNo)}});
    if (id.isNull())
        return std::nullopt;
    return loadCar(db, id.toLongLong());
}

} // namespace vehicles

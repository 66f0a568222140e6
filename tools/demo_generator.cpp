#include "tools/demo_generator.h"

#include "invoicing/client_firms.h"
#include "orders/labour_pricing.h"
#include "orders/operations_tree.h"
#include "orders/order_payment.h"
#include "orders/order_ready.h"
#include "orders/order_registration.h"
#include "orders/order_work.h"
#include "orders/symptom_codes.h"
#include "shell/business_settings.h"
#include "shell/login.h"
#include "shell/own_data.h"
#include "staff/employees.h"
#include "store/currency.h"
#include "store/database.h"
#include "store/ledger.h"
#include "store/money.h"
#include "store/rights.h"
#include "store/transaction.h"
#include "tools/demo_words.h"
#include "vehicles/car_register.h"
#include "vehicles/vehicle_catalogue.h"
#include "warehouse/delivery.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/suppliers.h"
#include "warehouse/warehouse_settings.h"

#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlTableModel>
#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <stdexcept>

namespace demo {

namespace {

using store::roundMoney;

// mt19937_64 is specified bit for bit, so a seed gives the same data on every machine; the
// standard distributions are not, hence the small helpers.
class Random {
public:
    explicit Random(quint64 seed) : engine_(seed) {}
    int below(int n) { return n <= 1 ? 0 : int(engine_() % quint64(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    double unit() { return double(engine_() >> 11) * 0x1.0p-53; }
    double between(double low, double high) { return low + (high - low) * unit(); }
    bool chance(double p) { return unit() < p; }
    // Index into n items, most draws near the front: a few parts sell all the time.
    int skewed(int n, double power = 3) {
        return std::min(n - 1, int(n * std::pow(unit(), power)));
    }
    template <typename Array> auto pick(const Array& items) {
        return items[below(int(items.size()))];
    }

private:
    std::mt19937_64 engine_;
};

QString u(const char* text) {
    return QString::fromUtf8(text);
}

QString digits(Random& rnd, int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + rnd.below(10));
    return text;
}

// Mon..Fri and Saturday mornings; Sundays closed.
bool isWorkingDay(const QDate& day) {
    return day.dayOfWeek() != Qt::Sunday;
}

QDate nextWorkingDay(QDate day, int days) {
    day = day.addDays(days);
    while (!isWorkingDay(day))
        day = day.addDays(1);
    return day;
}

struct PartState {
    qint64 id = 0;
    int kind = 0;
    double basePrice = 0; // purchase price in leva at the start
    int stock = 0;
    double outPrice = 0;
    double salePrice = 0;
    int opVal = store::kLeva;
};

struct CarState {
    vehicles::Car car;
    std::optional<qint64> firmId;
    int km = 0;
};

struct TechnicianState {
    staff::Employee employee;
    orders::TechnicianRates rates;
};

struct SupplierState {
    qint64 id = 0;
    QString name;
    int currency = store::kLeva;
};

struct FirmState {
    qint64 id = 0;
    QString name;
    QString address;
    QString phone;
};

// An order on its way through the workshop.
struct OpenOrder {
    qint64 idPor = 0;
    int type = 0;
    int carIndex = 0;
    int resultItem = 0;
    QDate payDay; // invalid: never collected
};

class Generator {
public:
    Generator(store::Database& db, const DemoOptions& options)
        : db_(db), options_(options), rnd_(options.seed),
          firstDay_(options.lastDay.addYears(-options.years).addDays(1)) {}

    GenerationSummary run(const std::function<void(const Progress&)>& progress);

private:
    // The workshop before its first day.
    void setUpWorkshop();
    void ownData();
    void settings();
    void employees();
    void suppliers();
    void firms();
    void vehicleCatalogue();
    void operationsCatalogue();
    void symptomCodes();
    void nomenclature();
    void openingStock();

    // One day of business.
    void runDay(const QDate& day);
    void addRates(const QDate& day);
    void settleAccounts(const QDate& day);
    void deliver(const QDate& day, QList<int> wanted, bool paidNow);
    void registerOrders(const QDate& day);
    void workOn(const OpenOrder& order, const QDate& day);
    void pay(const OpenOrder& order, const QDate& day);

    int pickCar();
    CarState newCar();
    QString personName();
    QString addressIn(const Town& town);
    QString mobilePhone();
    QString uniquePlate(const Town& town);
    int wantedQuantity(int partIndex);
    int quantityFor(const PartState& part);
    QDateTime at(const QDate& day);
    const TechnicianState& someTechnician();
    qint64 expectedOrders() const;

    store::Database& db_;
    DemoOptions options_;
    Random rnd_;
    QDate firstDay_;
    shell::BusinessSettings settings_;
    warehouse::WarehouseSettings warehouseSettings_;
    store::Rates rates_;
    int clerkUser_ = 1;   // the receptionist: registers, reports and takes payments
    int managerUser_ = 1; // the manager: receives deliveries, pays suppliers

    QList<TechnicianState> technicians_;
    QList<SupplierState> suppliers_;
    QList<FirmState> firms_;
    QList<orders::CatalogueOperation> operations_;
    QList<PartState> parts_;
    QList<CarState> cars_;
    QSet<QString> plates_;
    QList<int> wanted_; // parts that ran short, for the next delivery
    QSet<int> wantedSet_;
    std::map<QDate, QList<OpenOrder>> work_;
    std::map<QDate, QList<OpenOrder>> payments_;
    // Ordered maps: the monthly settlement draws random amounts in their order, and a hash's
    // order changes from run to run.
    std::map<qint64, double> clientDebt_;                   // firm id -> leva
    std::map<std::pair<qint64, int>, double> supplierDebt_; // (supplier, currency) -> amount
    qint64 nextOrder_ = 1001;
    int minuteOfDay_ = 0;
    bool departureDone_ = false;
    GenerationSummary summary_;
};

// Setting up ----------------------------------------------------------------------------------

void Generator::ownData() {
    shell::OwnData own;
    own.name = u("Мотрела Демо ООД");
    own.taxNumber = u("1204567893");
    own.bulstat = u("204567893");
    own.address = u("София, ул. Витоша 120");
    own.representative = u("Георги Петров Иванов");
    own.serviceName = u("Автосервиз Мотрела");
    own.serviceAddress = u("София, бул. Ботевградско шосе 247");
    own.servicePhones = u("02 945 12 30, 0888 123 456");
    if (const auto problem = shell::checkOwnData(own))
        throw std::runtime_error(problem->message.toStdString());
    shell::saveOwnData(db_, own);
}

void Generator::settings() {
    settings_ = shell::BusinessSettings::load(db_);
    settings_.setInt(db_, shell::settingKeys::currency, 1);
    settings_.setNum(db_, shell::settingKeys::taksa, 10);
    settings_.setInt(db_, shell::settingKeys::firstTimeMonth, firstDay_.month());
    settings_.setInt(db_, shell::settingKeys::firstTimeYear, firstDay_.year());
    warehouseSettings_.currency = store::CurrencyMode::ThreeCurrencies;
}

void Generator::employees() {
    if (!shell::setFirstPassword(db_, u(kDemoUsers[0].password)))
        throw std::runtime_error("the administrator already has a password");

    const auto office = [&](const QString& name, const char* nick, const char* password,
                            int level) {
        staff::Employee e = staff::newEmployee();
        e.name = name;
        e.nick = u(nick);
        e.level = level;
        e.rights = *store::rightsPresetForLevel(level);
        e.worker = staff::kOtherEmployee;
        e.pay = level == 1 ? 2200 : 1500;
        if (staff::saveEmployee(db_, e, u(password)) != staff::SaveOutcome::Saved)
            throw std::runtime_error("employee not saved");
        return int(e.id);
    };
    managerUser_ = office(u("Стефан Колев"), kDemoUsers[1].nick, kDemoUsers[1].password, 1);
    clerkUser_ = office(u("Десислава Маринова"), kDemoUsers[2].nick, kDemoUsers[2].password, 2);

    const int count = 4 + options_.ordersPerDay / 12;
    for (int i = 0; i < count; ++i) {
        staff::Employee e = staff::newEmployee();
        do {
            e.name = personName();
        } while (staff::nameTaken(db_, e.name, 0));
        e.worker = staff::kTechnician;
        e.percent = rnd_.between(30, 45);
        e.rateNormal = rnd_.between(35, 50);
        e.rateWarranty = rnd_.between(20, 30);
        e.pay = rnd_.between(900, 1400);
        e.info = u("Техник");
        if (staff::saveEmployee(db_, e, QString()) != staff::SaveOutcome::Saved)
            throw std::runtime_error("technician not saved");
        technicians_.append({e, {double(e.percent), e.rateNormal, e.rateWarranty}});
    }
}

void Generator::suppliers() {
    const std::array<std::pair<const char*, int>, 8> names{{
        {"Авто Части България ЕООД", store::kLeva},
        {"Интер Карс България ООД", store::kLeva},
        {"Мото-Пфое ЕООД", store::kLeva},
        {"Юг Ауто Дистрибуция ООД", store::kLeva},
        {"Автокомерс Варна АД", store::kLeva},
        {"Euro Parts GmbH", store::kEur},
        {"Autoteile Müller KG", store::kEur},
        {"Global Auto Supply Inc.", store::kUsd},
    }};
    for (const auto& [name, currency] : names) {
        warehouse::Supplier s;
        s.name = u(name);
        s.info = currency == store::kLeva ? u("Доставки до 24 часа") : u("Внос, доставка до 5 дни");
        if (!warehouse::saveSupplier(db_, s))
            throw std::runtime_error("supplier not saved");
        suppliers_.append({s.id, s.name, currency});
    }
}

void Generator::firms() {
    static constexpr std::array first{"Транс",  "Строй",  "Агро",  "Евро",    "Мега",  "Техно",
                                      "Еко",    "Инвест", "Медия", "Експрес", "Фарма", "Бизнес",
                                      "Енерго", "Балкан", "Дунав", "Тракия",  "Пирин", "Родопа"};
    static constexpr std::array second{"Логистик", "Груп",   "Трейд",     "Сервиз",  "Консулт",
                                       "Билд",     "Маркет", "Транспорт", "Продукт", "Дистрибуция"};
    static constexpr std::array form{"ЕООД", "ООД", "АД", "ЕТ"};
    const int count = 15 + 12 * options_.years;
    QSet<QString> used;
    while (firms_.size() < count) {
        invoicing::ClientFirm f;
        f.name = u(rnd_.pick(first)) + u(rnd_.pick(second)) + QLatin1Char(' ') + u(rnd_.pick(form));
        if (used.contains(f.name))
            f.name = u(rnd_.pick(first)) + QLatin1Char(' ') + f.name;
        if (used.contains(f.name))
            continue;
        used.insert(f.name);
        const Town& town = rnd_.pick(kTowns);
        f.dn = QString::number(rnd_.between(1, 2)) + digits(rnd_, 9);
        f.bstat = QString::number(rnd_.between(1, 2)) + digits(rnd_, 8);
        f.adres = addressIn(town);
        f.mol = personName();
        f.contact = personName();
        f.phones = u(town.phone) + QLatin1Char(' ') + digits(rnd_, 6);
        f.email = QStringLiteral("office%1@example.bg").arg(firms_.size() + 1);
        f.reduction = rnd_.chance(0.4) ? rnd_.pick(std::array{3, 5, 10}) : 0;
        f.reductJobs = rnd_.chance(0.3) ? rnd_.pick(std::array{5, 10}) : 0;
        if (const auto problem = invoicing::saveFirm(db_, f))
            throw std::runtime_error(problem->message.toStdString());
        firms_.append({f.id, f.name, f.adres, f.phones});
    }
}

void Generator::vehicleCatalogue() {
    for (const CarModel& m : kCarModels) {
        const QString brand = u(m.brand);
        const auto known = vehicles::findBrand(db_, brand);
        const qint64 brandId = known ? *known : vehicles::addBrand(db_, brand);
        const qint64 modelId = vehicles::addModel(db_, brandId, u(m.model));
        for (int i = 0; i < 3; ++i) {
            const Engine& engine = kEngines[(int(modelId) * 5 + i * 7) % kEngines.size()];
            const QString modification = u(engine.modification);
            if (!vehicles::findRows(db_, brandId, modelId, modification).isEmpty())
                continue;
            vehicles::addModification(db_, brandId, modelId, modification);
            vehicles::addPeriod(db_, brandId, modelId, modification, u(rnd_.pick(kPeriods)));
        }
    }
}

void Generator::operationsCatalogue() {
    const auto root = orders::addNode(db_, orders::kNoParent, u("Всички марки"));
    if (!root.ok())
        throw std::runtime_error("operations root not added");
    QHash<QString, qint64> groups;
    int code = 100;
    for (const WorkOperation& w : kOperations) {
        const QString group = u(w.group);
        if (!groups.contains(group)) {
            const auto node = orders::addNode(db_, *root.id, group);
            if (!node.ok())
                throw std::runtime_error("operations group not added");
            groups.insert(group, *node.id);
        }
        orders::Operation op;
        op.code = QStringLiteral("T%1").arg(code++);
        op.name = u(w.name);
        op.clientPrice = w.price;
        op.workerPrice = roundMoney(w.price * 0.4);
        op.warrantyPrice = roundMoney(w.price * 0.35);
        op.hours = w.hours;
        if (orders::saveOperation(db_, op, groups.value(group)))
            throw std::runtime_error("operation not saved");
        operations_.append(orders::toCatalogueOperation(op));
    }
}

// The symptom catalogue is a register edited through its table model; its rows are prepared
// by the same function the window uses.
void Generator::symptomCodes() {
    QSqlTableModel model(nullptr, db_.connection());
    model.setTable(QStringLiteral("Sympt_Codes"));
    model.setEditStrategy(QSqlTableModel::OnManualSubmit);
    int code = 1;
    for (const char* complaint : kComplaints) {
        QSqlRecord row = model.record();
        row.setValue(QStringLiteral("description"), u(complaint));
        row.setValue(QStringLiteral("marka"),
                     code % 4 == 0 ? u(rnd_.pick(kCarModels).brand) : QVariant());
        row.setValue(QStringLiteral("code_add"),
                     QStringLiteral("S%1").arg(code++, 2, 10, QChar(u'0')));
        if (!orders::prepareSymptomRecord(row))
            continue;
        row.setGenerated(QStringLiteral("ID"), false);
        if (!model.insertRecord(-1, row))
            throw std::runtime_error("symptom code not added");
    }
    if (!model.submitAll())
        throw std::runtime_error(model.lastError().text().toStdString());
}

void Generator::nomenclature() {
    QList<qint64> typeIds;
    for (const char* type : kPartTypes)
        typeIds << *warehouse::saveName(db_, warehouse::kPartTypes, 0, u(type));
    QList<qint64> makerIds;
    for (const char* maker : kPartMakers)
        makerIds << *warehouse::saveName(db_, warehouse::kPartMakers, 0, u(maker));

    QSet<QString> keys;
    qint64 barcode = 380000000000LL + rnd_.below(1000000) * 10LL;
    parts_.reserve(options_.parts);
    while (parts_.size() < options_.parts) {
        const int kind = rnd_.below(int(kPartKinds.size()));
        const PartKind& k = kPartKinds[kind];
        const int maker = rnd_.below(int(makerIds.size()));
        warehouse::Part p;
        p.part = u(k.name);
        if (k.perModel) {
            const CarModel& m = rnd_.pick(kCarModels);
            const Engine& e = rnd_.pick(kEngines);
            p.part += QLatin1Char(' ') + u(m.brand) + QLatin1Char(' ') + u(m.model) +
                      QLatin1Char(' ') + u(e.modification);
        } else {
            p.part += QStringLiteral(" %1").arg(rnd_.between(1, 40));
        }
        const QString key = p.part + QLatin1Char('|') + QString::number(maker);
        if (keys.contains(key))
            continue;
        keys.insert(key);
        p.typeId = typeIds[k.type];
        p.makerId = makerIds[maker];
        p.partNo =
            QStringLiteral("%1 %2 %3").arg(digits(rnd_, 1), digits(rnd_, 3), digits(rnd_, 3));
        p.catalogs = QStringLiteral("%1%2 %3 %4")
                         .arg(digits(rnd_, 1), QChar(u'A' + rnd_.below(26)), digits(rnd_, 3),
                              digits(rnd_, 3));
        if (rnd_.chance(0.6)) {
            barcode += 1 + rnd_.below(7);
            // EAN-13 check digit over the twelve digits.
            const QString twelve = QStringLiteral("%1").arg(barcode, 12, 10, QChar(u'0'));
            int sum = 0;
            for (int i = 0; i < 12; ++i)
                sum += twelve[i].digitValue() * (i % 2 ? 3 : 1);
            p.barcode = twelve + QString::number((10 - sum % 10) % 10);
        }
        if (rnd_.chance(0.2))
            p.opis = u("Оригинално качество");
        if (const auto problem = warehouse::savePart(db_, p)) {
            if (problem->kind == warehouse::PartProblemKind::AlreadyEntered ||
                problem->kind == warehouse::PartProblemKind::BarcodeTaken)
                continue;
            throw std::runtime_error(problem->message.toStdString());
        }
        parts_.append({p.id, kind, roundMoney(k.price * rnd_.between(0.6, 1.8))});
    }
    summary_.parts = parts_.size();
}

int Generator::wantedQuantity(int partIndex) {
    const int n = int(parts_.size());
    if (partIndex < n / 50)
        return rnd_.between(10, 25);
    if (partIndex < n / 5)
        return rnd_.between(3, 8);
    return rnd_.between(1, 3);
}

// The first stock: the parts that sell most, so the first days have something to fit.
void Generator::openingStock() {
    const int top = std::max(1, int(parts_.size()) / 5);
    QList<int> all;
    for (int i = 0; i < top; ++i)
        all << i;
    for (qsizetype from = 0; from < all.size(); from += 50)
        deliver(firstDay_, all.mid(from, 50), rnd_.chance(0.5));
}

// A day ---------------------------------------------------------------------------------------

QDateTime Generator::at(const QDate& day) {
    // Postings of a day follow each other from 8:00 on, a minute or two apart.
    minuteOfDay_ = std::min(minuteOfDay_ + 1 + rnd_.below(2), 11 * 60);
    return QDateTime(day, QTime(8, 0).addSecs(minuteOfDay_ * 60 + rnd_.below(60)));
}

void Generator::addRates(const QDate& day) {
    // The dollar wanders a little from day to day; rates have four decimals.
    const double usd = rates_.usd > 0 ? rates_.usd : 1.62;
    rates_.date = day;
    rates_.usd =
        std::round(std::clamp(usd + rnd_.between(-0.006, 0.006), 1.35, 1.95) * 10000) / 10000;
    rates_.eur = 1.95583; // the lev is pegged to the euro
    store::addRates(db_, rates_);
}

// Once a month the firms pay what they owe on account and the suppliers are paid. There is no
// account window yet, so the payments are posted with the ledger's functions directly.
void Generator::settleAccounts(const QDate& day) {
    for (auto& [firmId, debt] : clientDebt_) {
        const double amount = roundMoney(debt * rnd_.between(0.7, 1.0));
        if (amount <= 0)
            continue;
        const auto firm = std::find_if(firms_.cbegin(), firms_.cend(),
                                       [&](const FirmState& f) { return f.id == firmId; });
        store::Transaction tx(db_);
        const QDateTime when = at(day);
        store::postClientDebt(db_, {-amount, store::kLeva, u("Плащане по сметка"), int(firmId)},
                              when);
        store::postCash(db_, {amount, store::kLeva, u("Плащане от ") + firm->name, clerkUser_},
                        when);
        tx.commit();
        debt -= amount;
    }
    for (auto& [key, debt] : supplierDebt_) {
        const auto [supplierId, currency] = key;
        const double amount = roundMoney(debt * rnd_.between(0.8, 1.0));
        if (amount <= 0)
            continue;
        const auto& supplier =
            *std::find_if(suppliers_.cbegin(), suppliers_.cend(),
                          [&](const SupplierState& s) { return s.id == supplierId; });
        const QString today = day.toString(QStringLiteral("dd.MM.yyyy"));
        store::Transaction tx(db_);
        const QDateTime when = at(day);
        store::postCash(db_, {-amount, currency, u("Плащане на ") + supplier.name, managerUser_},
                        when);
        store::postSupplierDebt(
            db_, {-amount, currency, u("Плащане от ") + today, int(supplier.id)}, when);
        tx.commit();
        debt -= amount;
    }
}

void Generator::deliver(const QDate& day, QList<int> wanted, bool paidNow) {
    const SupplierState& supplier = suppliers_[rnd_.skewed(int(suppliers_.size()), 1.5)];
    warehouse::Delivery delivery;
    delivery.date = day;
    delivery.supplierId = supplier.id;
    delivery.supplierName = supplier.name;
    delivery.rates = rates_;
    const double inflation = 1 + 0.03 * firstDay_.daysTo(day) / 365.0;
    QList<int> lineParts; // index into parts_ of each line
    for (const int index : wanted) {
        const PartState& state = parts_[index];
        warehouse::Part part;
        part.id = state.id;
        part.outPrice = state.outPrice;
        part.salePrice = state.salePrice;
        part.opVal = state.opVal;
        warehouse::DeliveryLine line =
            warehouse::proposeLine(db_, part, supplier.id, warehouseSettings_);
        line.count = wantedQuantity(index);
        line.ipId = supplier.currency;
        const double leva = state.basePrice * inflation * rnd_.between(0.95, 1.05);
        line.inPrice = roundMoney(store::fromLeva(leva, supplier.currency, rates_));
        if (line.outPrice == 0)
            line.opId = supplier.currency;
        warehouse::applyMarkup(line, rnd_.between(30, 60), rates_);
        if (warehouse::checkLine(line, rates_, false))
            continue;
        delivery.lines.append(line);
        lineParts.append(index);
    }
    if (delivery.lines.isEmpty())
        return;
    const auto totals = warehouse::recordDelivery(
        db_, delivery, paidNow ? warehouse::Payment::PaidNow : warehouse::Payment::Debt,
        managerUser_, at(day));
    for (qsizetype i = 0; i < delivery.lines.size(); ++i) {
        const warehouse::DeliveryLine& line = delivery.lines[i];
        PartState& state = parts_[lineParts[i]];
        state.stock += line.count;
        state.outPrice = line.outPrice;
        state.salePrice = line.salePrice;
        state.opVal = line.opId;
    }
    if (!paidNow) {
        for (int currency = store::kLeva; currency <= store::kEur; ++currency)
            supplierDebt_[{supplier.id, currency}] += totals[currency - 1];
    }
    ++summary_.deliveries;
    summary_.deliveryLines += delivery.lines.size();
}

QString Generator::personName() {
    const bool female = rnd_.chance(0.3);
    QString surname = u(rnd_.pick(kSurnames));
    if (female)
        surname += u("а");
    return (female ? u(rnd_.pick(kFemaleNames)) : u(rnd_.pick(kMaleNames))) + QLatin1Char(' ') +
           surname;
}

QString Generator::addressIn(const Town& town) {
    return u(town.name) + QStringLiteral(", ") + u(rnd_.pick(kStreets)) +
           QStringLiteral(" %1").arg(rnd_.between(1, 180));
}

QString Generator::mobilePhone() {
    return QStringLiteral("08%1 %2").arg(rnd_.pick(std::array{7, 8, 9})).arg(digits(rnd_, 7));
}

QString Generator::uniquePlate(const Town& town) {
    const QString letters = u(kPlateLetters);
    for (;;) {
        const QString plate = u(town.plate) + digits(rnd_, 4) +
                              letters[rnd_.below(letters.size())] +
                              letters[rnd_.below(letters.size())];
        if (!plates_.contains(plate)) {
            plates_.insert(plate);
            return plate;
        }
    }
}

CarState Generator::newCar() {
    const Town& town = kTowns[rnd_.skewed(int(kTowns.size()), 2)];
    const CarModel& model = rnd_.pick(kCarModels);
    const Engine& engine = rnd_.pick(kEngines);
    CarState state;
    vehicles::Car& car = state.car;
    car.marka = u(model.brand);
    car.model = u(model.model);
    car.modify = u(engine.modification);
    car.period = u(rnd_.pick(kPeriods));
    car.yearMade = QString::number(rnd_.between(1998, std::max(1999, firstDay_.year() + 1)));
    car.regNo = uniquePlate(town);
    static const QString vin = QStringLiteral("ABCDEFGHJKLMNPRSTUVWXYZ0123456789");
    for (int i = 0; i < 17; ++i)
        car.couppe += vin[rnd_.below(int(vin.size()))];
    car.engine = u(engine.code) + digits(rnd_, 6);
    car.kw = u(engine.kw);
    car.ccm = u(engine.ccm);
    if (!firms_.isEmpty() && rnd_.chance(0.15)) {
        const FirmState& firm = firms_[rnd_.skewed(int(firms_.size()), 2)];
        state.firmId = firm.id;
        car.ownerName = firm.name;
        car.ownerAddress = firm.address;
        car.ownerPhone = firm.phone;
    } else {
        car.ownerName = personName();
        car.ownerAddress = addressIn(town);
        car.ownerPhone = mobilePhone();
    }
    state.km = rnd_.between(20, 250) * 1000;
    if (const auto problem = vehicles::checkCar(db_, car))
        throw std::runtime_error(problem->message.toStdString());
    car.id = vehicles::saveCar(db_, car);
    ++summary_.cars;
    return state;
}

int Generator::pickCar() {
    // Regular clients come back; a third of the orders bring a car seen for the first time.
    if (cars_.isEmpty() || rnd_.chance(0.33)) {
        cars_.append(newCar());
        return int(cars_.size()) - 1;
    }
    return int(cars_.size()) - 1 - rnd_.skewed(int(cars_.size()), 1.5);
}

void Generator::registerOrders(const QDate& day) {
    const int base =
        day.dayOfWeek() == Qt::Saturday ? options_.ordersPerDay / 2 : options_.ordersPerDay;
    const int count = std::max(0, base + rnd_.between(-base / 4, base / 4));
    for (int i = 0; i < count; ++i) {
        const int carIndex = pickCar();
        CarState& state = cars_[carIndex];
        state.km += rnd_.between(3, 25) * 1000;
        const vehicles::Car& car = state.car;
        orders::NewOrder o;
        o.clientName = car.ownerName;
        o.clientAdres = car.ownerAddress;
        o.clientPhone = car.ownerPhone;
        o.marka = car.marka;
        o.model = car.model;
        o.modify = car.modify;
        o.engine = car.engine;
        o.year = car.yearMade;
        o.regNo = car.regNo;
        o.couppe = car.couppe;
        o.km = QString::number(state.km);
        o.aks = rnd_.chance(0.3) ? u("Ключ, талон") : u("Ключ");
        o.defect = orders::symptomLine(u(rnd_.pick(kComplaints)), QVariant(), QVariant());
        if (rnd_.chance(0.2))
            o.defect = orders::appendLine(o.defect, u(rnd_.pick(kComplaints)));
        const double kind = rnd_.unit();
        o.type = kind < 0.93 ? 0 : kind < 0.97 ? 1 : 2;
        o.dueDate = orders::dueDateForType(day, o.type);
        o.place =
            rnd_.chance(0.02) ? orders::RepairPlace::HomeVisit : orders::RepairPlace::Workshop;
        if (rnd_.chance(0.1))
            o.note = u("Клиентът чака на място");
        const orders::RegisteredOrder registered =
            orders::registerOrder(db_, orders::trimmed(o), nextOrder_, day);
        nextOrder_ = registered.number + 1;
        ++summary_.orders;

        OpenOrder open;
        open.idPor = registered.number;
        open.type = o.type;
        open.carIndex = carIndex;
        const double result = rnd_.unit();
        open.resultItem = result < 0.85 ? 0 : result < 0.95 ? 1 : result < 0.98 ? 2 : 3;
        const double delay = rnd_.unit();
        const QDate workDay = nextWorkingDay(day, delay < 0.4    ? 0
                                                  : delay < 0.7  ? 1
                                                  : delay < 0.85 ? 2
                                                                 : rnd_.between(3, 7));
        const double waits = rnd_.unit();
        if (waits >= 0.995)
            open.payDay = QDate(); // never collected
        else
            open.payDay = nextWorkingDay(workDay, waits < 0.7 ? 0 : rnd_.between(1, 4));
        work_[workDay].append(open);
    }
}

int Generator::quantityFor(const PartState& part) {
    const QString name = u(kPartKinds[part.kind].name);
    if (name.startsWith(u("Свещ")))
        return 4;
    if (name.startsWith(u("Антифриз")) || name.startsWith(u("Спирачна течност")))
        return rnd_.between(1, 3);
    if (name.startsWith(u("Амортисьор")) || name.startsWith(u("Диск")))
        return rnd_.chance(0.6) ? 2 : 1;
    return 1;
}

const TechnicianState& Generator::someTechnician() {
    for (;;) {
        const TechnicianState& t = technicians_[rnd_.below(int(technicians_.size()))];
        if (t.employee.active)
            return t;
    }
}

// What the order report window does: parts first, then the report with its labour, then ready.
void Generator::workOn(const OpenOrder& order, const QDate& day) {
    const auto head = orders::loadOrderHead(db_, order.idPor);
    if (!head)
        throw std::runtime_error("order vanished");
    const orders::ClientDiscounts discounts = orders::clientDiscounts(db_, head->clientNames);
    const bool repaired = order.resultItem < 2;
    const int partLines = repaired ? rnd_.below(7) : 0;
    const int labourLines = repaired ? 1 + rnd_.below(4) : 1;

    const orders::MoneyContext partsContext{head->taksa, discounts.parts, discounts.jobs, true};
    QSet<int> taken;
    for (int line = 0; line < partLines; ++line) {
        for (int attempt = 0; attempt < 8; ++attempt) {
            const int index = rnd_.skewed(int(parts_.size()));
            PartState& part = parts_[index];
            const int quantity = quantityFor(part);
            if (taken.contains(index))
                continue;
            if (part.stock < quantity) {
                if (!wantedSet_.contains(index)) {
                    wantedSet_.insert(index);
                    wanted_.append(index);
                }
                continue;
            }
            warehouse::Part p;
            p.id = part.id;
            p.outPrice = part.outPrice;
            p.opVal = part.opVal;
            const double price = orders::newLinePrice(p, order.type, rates_);
            orders::addStockPart(db_,
                                 {order.idPor, part.id, quantity, QString(), price, clerkUser_},
                                 partsContext, at(day));
            part.stock -= quantity;
            taken.insert(index);
            ++summary_.partLines;
            if (part.stock < 2 && index < int(parts_.size()) / 5 && !wantedSet_.contains(index)) {
                wantedSet_.insert(index);
                wanted_.append(index);
            }
            break;
        }
    }

    const double fee = head->type == 0 ? settings_.serviceFee() : 0;
    orders::storeReportOpening(db_, order.idPor, settings_.serviceFee(), discounts);
    const orders::MoneyContext context{fee, discounts.parts, discounts.jobs, false};
    const orders::PayMode mode = orders::payModeOf(settings_);
    orders::OrderMoney money;
    for (int line = 0; line < labourLines; ++line) {
        const orders::CatalogueOperation& op =
            repaired ? operations_[rnd_.below(int(operations_.size()))] : operations_[23];
        const TechnicianState& technician = someTechnician();
        const orders::LabourEntry entry =
            orders::priceCatalogueOperation(mode, order.type, technician.rates, op);
        orders::LabourBooking booking;
        booking.idPor = order.idPor;
        booking.operationId = op.id;
        booking.description = entry.description;
        booking.clientPrice = entry.clientPrice;
        booking.technicianAmount = entry.technicianAmount;
        booking.technicianId = technician.employee.id;
        booking.hours = entry.hours;
        booking.coefficient = entry.coefficient;
        booking.byTime = settings_.workByTime();
        money = orders::addLabourLine(db_, booking, context, at(day));
        ++summary_.labourLines;
    }
    if (order.type != 0) {
        money.fee = 0;
        money.discount = 0;
        money.amount = 0;
    } else if (money.amount > 30 && rnd_.chance(0.08)) {
        money.amountTyped(std::floor(money.amount / 10) * 10); // rounded down for the client
    } else if (rnd_.chance(0.01)) {
        money.discountTyped(-5); // a small surcharge
    }
    if (orders::markReady(db_,
                          {order.idPor, money.fee, money.labourClient, money.parts, money.amount,
                           order.resultItem},
                          day) != orders::ReadyOutcome::Ready)
        throw std::runtime_error("order already ready");
    if (order.payDay.isValid()) {
        OpenOrder paying = order;
        payments_[order.payDay].append(paying);
    }
}

void Generator::pay(const OpenOrder& order, const QDate& day) {
    const auto head = orders::loadOrderHead(db_, order.idPor);
    const orders::ClientDiscounts client = orders::clientDiscounts(db_, head->clientNames);
    const orders::WorkTotals totals = orders::workTotals(db_, order.idPor);
    orders::PaymentInput in;
    in.idPor = order.idPor;
    in.orderNumberText = QString::number(order.idPor);
    in.clientNames = head->clientNames;
    in.clientId = client.firmId;
    in.fee = head->taksa;
    in.labourClient = totals.labourClient;
    in.labourClerk = totals.labourClerk;
    in.parts = totals.parts;
    in.amount = head->sumAll;
    in.discount = head->type == 0 ? roundMoney(in.fee + in.parts + in.labourClient - in.amount) : 0;
    in.method =
        client.firmId && rnd_.chance(0.6) ? orders::PayMethod::Account : orders::PayMethod::Cash;
    in.foreignCurrencies = settings_.foreignCurrencies();
    in.rates = rates_;
    in.userId = clerkUser_;
    const orders::PaymentResult result = orders::payOrder(db_, in, at(day));
    if (!result.paid)
        throw std::runtime_error("order not paid");
    if (in.method == orders::PayMethod::Account && in.amount > 0)
        clientDebt_[*client.firmId] += in.amount;
}

void Generator::runDay(const QDate& day) {
    minuteOfDay_ = 0;
    store::Transaction tx(db_);
    addRates(day);
    if (isWorkingDay(day)) {
        if (day.day() <= 2 && !(day.day() == 2 && isWorkingDay(day.addDays(-1))))
            settleAccounts(day);
        // Yesterday's shortages arrive in the morning, with a few parts new to the shelves.
        QList<int> wanted = wanted_;
        wanted_.clear();
        wantedSet_.clear();
        for (int i = 0; i < 5; ++i) {
            const int index = rnd_.below(int(parts_.size()));
            if (!wanted.contains(index))
                wanted.append(index);
        }
        for (qsizetype from = 0; from < wanted.size(); from += 50)
            deliver(day, wanted.mid(from, 50), rnd_.chance(0.35));

        if (!departureDone_ && firstDay_.daysTo(day) * 2 > firstDay_.daysTo(options_.lastDay) &&
            technicians_.size() > 2) {
            // A technician leaves half-way; his earnings and orders stay with his name.
            TechnicianState& leaving = technicians_.front();
            leaving.employee.active = false;
            staff::saveEmployee(db_, leaving.employee, QString());
            departureDone_ = true;
        }
        registerOrders(day);
    }
    if (const auto it = work_.find(day); it != work_.end()) {
        for (const OpenOrder& order : it->second)
            workOn(order, day);
        work_.erase(it);
    }
    if (const auto it = payments_.find(day); it != payments_.end()) {
        for (const OpenOrder& order : it->second)
            pay(order, day);
        payments_.erase(it);
    }
    tx.commit();
}

qint64 Generator::expectedOrders() const {
    qint64 total = 0;
    for (QDate d = firstDay_; d <= options_.lastDay; d = d.addDays(1)) {
        if (isWorkingDay(d))
            total +=
                d.dayOfWeek() == Qt::Saturday ? options_.ordersPerDay / 2 : options_.ordersPerDay;
    }
    return total;
}

void Generator::setUpWorkshop() {
    store::Transaction tx(db_);
    ownData();
    settings();
    employees();
    suppliers();
    firms();
    vehicleCatalogue();
    operationsCatalogue();
    symptomCodes();
    tx.commit();
    store::Transaction parts(db_);
    nomenclature();
    parts.commit();
}

GenerationSummary Generator::run(const std::function<void(const Progress&)>& progress) {
    setUpWorkshop();
    const qint64 expected = expectedOrders();
    // The first day's rates come before the opening stock is priced.
    {
        store::Transaction tx(db_);
        addRates(firstDay_.addDays(-1));
        openingStock();
        tx.commit();
    }
    for (QDate day = firstDay_; day <= options_.lastDay; day = day.addDays(1)) {
        runDay(day);
        if (progress)
            progress({day, summary_.orders, expected});
    }
    return summary_;
}

} // namespace

GenerationSummary generateDemo(store::Database& db, const DemoOptions& options,
                               const std::function<void(const Progress&)>& progress) {
    if (options.years < 1 || options.ordersPerDay < 1 || options.parts < 10)
        throw std::invalid_argument("years, orders per day and parts must be positive");
    Generator generator(db, options);
    return generator.run(progress);
}

} // namespace demo

#pragma once

#include "orders/order_payment.h"
#include "orders/order_registration.h"
#include "shell/session.h"
#include "staff/employees.h"
#include "store/currency.h"
#include "store/rights.h"
#include "vehicles/car_register.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>

namespace store {
class Database;
}

// The data every suite builds on: valid rows made, where the program has an operation for
// them, by that operation, so that a test's data looks like what the program itself writes.
// Each builder takes a small option struct whose defaults make a plain, complete record.
namespace builders {

// Clients and cars ------------------------------------------------------------------------

struct Client {
    QString name = QStringLiteral("Транс ООД");
    double partsDiscount = 0;  // percent
    double labourDiscount = 0; // percent
};
// A client firm through the clients register (also offered for new orders).
qint64 client(store::Database& db, const Client& client = {});

// A VW Golf of Иван Петров with every field the car register demands.
vehicles::Car completeCar();
qint64 car(store::Database& db, const vehicles::Car& car = completeCar());

// One row of the vehicle catalogue: a modification of a model in one production period, with
// its engine. Brand and model are added when the catalogue does not know them yet.
struct CatalogueEntry {
    QString brand = QStringLiteral("VW");
    QString model = QStringLiteral("Golf");
    QString modification = QStringLiteral("1.9 TDI");
    QString period = QStringLiteral("1997-2003");
    QString engine = QStringLiteral("AGR");
    QString kw = QStringLiteral("66");
    QString ccm = QStringLiteral("1896");
};
qint64 catalogueEntry(store::Database& db, const CatalogueEntry& entry = {});

// Warehouse -------------------------------------------------------------------------------

// A part type or maker by name, added when the register does not know it yet.
qint64 partType(store::Database& db, const QString& name);
qint64 partMaker(store::Database& db, const QString& name);

struct Part {
    QString name = QStringLiteral("Филтър масло");
    QString type = QStringLiteral("Филтри");
    QString maker = QStringLiteral("Bosch");
    QString partNo{};
    QString barcode{};
    QString catalogs{};
    int amount = 0; // units in stock
    double inPrice = 0;
    int inCurrency = store::kLeva;
    std::optional<double> outPrice{}; // the order price; none until a delivery sets one
    int outCurrency = store::kLeva;
    std::optional<double> salePrice{}; // the counter price; the order price when not given
    QStringList serials{};             // serial numbers of units among the amount
};
// A part through the nomenclature, then its stock and prices as a delivery leaves them.
qint64 part(store::Database& db, const Part& part = {});

qint64 supplier(store::Database& db, const QString& name = QStringLiteral("Авто Части ООД"));

// An earlier delivery of a part (a row of the delivery report).
struct PastDelivery {
    qint64 part = 0;
    qint64 supplier = 0;
    QDate date = QDate::currentDate();
    double price = 0;
    int currency = store::kLeva;
    int amount = 1;
};
void pastDelivery(store::Database& db, const PastDelivery& delivery);

// Staff -----------------------------------------------------------------------------------

struct Employee {
    QString name = QStringLiteral("Иван Техник");
    bool active = true;
    std::optional<int> kind = staff::kTechnician; // none: an employee of no kind
    int percent = 40;
    double normalRate = 20;   // pr_n
    double warrantyRate = 10; // pr_w
    int level = staff::kNewEmployeeLevel;
    QString nick{};
    QString password{};              // stored hashed; none when empty
    std::optional<QString> rights{}; // the level's preset when not given
};
// An employee through the employees register.
qint64 employee(store::Database& db, const Employee& employee = {});

// Orders ----------------------------------------------------------------------------------

// A new order as the new-order window hands it over, every field filled.
orders::NewOrder completeOrder();
// Registered by the program's own registration; returns the number it got.
qint64 registeredOrder(store::Database& db, const orders::NewOrder& order = completeOrder(),
                       qint64 number = 1, const QDate& today = QDate::currentDate());

// An order row written as it stands, for any stage and any dates (the register's reports
// look at what the rows hold, not at how they came to be).
struct Order {
    qint64 id = 0;
    QString client = QStringLiteral("Иван Петров");
    QString adres = QStringLiteral("София, ул. Шипка 5");
    QString phone = QStringLiteral("0888123456");
    QString marka = QStringLiteral("VW");
    QString model = QStringLiteral("Golf");
    QString regNo = QStringLiteral("CA1234AB");
    QString couppe = QStringLiteral("WVWZZZ1JZ1W000001");
    QString engine = QStringLiteral("AGR");
    QDate porDate = QDate::currentDate();
    QDate endDate = QDate::currentDate().addDays(2);
    bool ready = false;
    QDate readyDate{};
    bool payed = false;
    QDate payDate{};
    int type = 0;
    int state = 1;
    qint64 idClerk = 0;
    double taksa = 0;
    double sumTrud = 0;
    double sumParts = 0;
    double sumAll = 0;
    double pech = 0;
};
qint64 order(store::Database& db, const Order& order);

// Lines booked into an order as the report window leaves them, without moving stock.
struct PartLine {
    qint64 part = 0;
    int amount = 1;
    double price = 10;
};
void partLine(store::Database& db, qint64 idPor, const PartLine& line = {});

struct LabourLine {
    QString work = QStringLiteral("Смяна на масло");
    double clientPrice = 20;
    double technicianAmount = 10;
    qint64 technician = 1;
    std::optional<qint64> operation{};
};
void labourLine(store::Database& db, qint64 idPor, const LabourLine& line = {});

// Reported ready by the program's own logic, with the money its lines add up to: the fee
// plus parts and labour, less the discount. Its technicians are credited.
struct Ready {
    double fee = 0;
    double discount = 0;
    int resultItem = 0; // repaired
    QDate day = QDate::currentDate();
};
void makeReady(store::Database& db, qint64 idPor, const Ready& ready = {});

// Paid by the program's own payment logic with the money the ready order holds.
struct Payment {
    orders::PayMethod method = orders::PayMethod::Cash;
    std::optional<store::Rates> rates{};
    bool foreignCurrencies = false;
    int userId = 1;
    QDateTime at = QDateTime::currentDateTime();
};
orders::PaymentResult makePaid(store::Database& db, qint64 idPor, const Payment& payment = {});

// An external warehouse database file with a goods table, as another program keeps it.
struct GoodsRow {
    QString good;
    QString name;
    double q2; // quantity
    double price1;
    double price2;
};
void goodsFile(const QString& path, const QList<GoodsRow>& rows);
double goodsQuantity(const QString& path, const QString& good); // -1 when not found

// Money -----------------------------------------------------------------------------------

struct DayRates {
    double usd = 1.8;
    double eur = 1.95583;
    QDate day = QDate::currentDate();
};
store::Rates rates(store::Database& db, const DayRates& rates = {});

// Sessions --------------------------------------------------------------------------------

QString allRights();
QString rightsWith(std::initializer_list<store::Right> granted);
QString allRightsBut(std::initializer_list<store::Right> withheld);

struct User {
    int id = 1;
    QString nick = QStringLiteral("admin");
    QString name = QStringLiteral("Administrator");
    QString workstation = QStringLiteral("ws");
};
shell::Session session(const QString& rights = allRights(), const User& user = {});
// With the settings stored in the database.
shell::Session session(store::Database& db, const QString& rights = allRights(),
                       const User& user = {});

} // namespace builders

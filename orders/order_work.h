#pragma once

#include "store/currency.h"
#include "store/db_error.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace store {
class Database;
}
namespace warehouse {
struct Part;
}

// The work booked into a repair order: part lines, labour lines and the money fields the order
// report window shows. Each change of a line is one transaction together with the stock, the
// part movement and the order's totals.
namespace orders {

// The three ways the order report window is opened.
enum class OrderMode { Parts = 0, Report = 1, Payment = 2 };

struct OrderHead {
    qint64 id = 0;
    int type = 0; // typeWarr; 0 when it cannot be read
    QString clientNames;
    qint64 idClerk = 0;
    double taksa = 0;
    double sumAll = 0;
    bool ready = false;
    bool payed = false;
    int porState = 0;
};

std::optional<OrderHead> loadOrderHead(store::Database& db, qint64 idPor);

// Where an order stands for the operations on it.
enum class OrderStage {
    InWork,      // not ready, not paid: lines, fee and report may change
    ReadyUnpaid, // may be paid or go back to work
};

// The order is not at the stage an operation needs, mostly because another workstation
// reported, paid or restored it meanwhile. Nothing has been written; the text says why.
class OrderStateRefused : public store::DbError {
public:
    using store::DbError::DbError;
};

// Why an order is not at the stage ("Поръчка  №5 вече е отчетена!" and the like), or nothing
// when it is.
std::optional<QString> stageRefusal(const std::optional<OrderHead>& head, qint64 idPor,
                                    OrderStage stage);

// Inside the caller's transaction: makes sure the order is at the stage and holds its row until
// the transaction ends, so that no other workstation moves it on meanwhile. Throws
// OrderStateRefused with the reason and, on a second line, the consequence when one is given.
void claimOrder(store::Database& db, qint64 idPor, OrderStage stage,
                const QString& consequence = {});

// "Промяната не е записана." - said after a refused change of the order's lines.
QString changeNotStoredText();

// Told the status text of each step as a longer operation reaches it, for the window to show.
using StatusReport = std::function<void(const QString& status)>;

// The order has been sent to an outside service and has not come back.
bool sentToOutsideService(store::Database& db, qint64 idPor);

// The client's discounts from the clients register; both 0 for an unknown client.
struct ClientDiscounts {
    std::optional<qint64> firmId; // the client is registered
    double parts = 0;             // percent
    double jobs = 0;              // percent
};
ClientDiscounts clientDiscounts(store::Database& db, const QString& clientName);

// The window's linked money fields. gross = parts + labour at client prices + fee, and the
// amount to pay is always gross - discount.
struct OrderMoney {
    double parts = 0;
    double labourClient = 0;
    double labourClerk = 0;
    double fee = 0;
    double discParts = 0; // percent
    double discJobs = 0;  // percent
    double discount = 0;  // negative: a surcharge
    double amount = 0;
    bool discountEnabled = true;

    double gross() const { return parts + labourClient + fee; }
    // After the fee or a line changed: the client's discounts apply again.
    void feeChanged(bool partsOnly);
    void discountTyped(double value);
    void amountTyped(double value);
    // What the report stores when it opens: fee plus the discounted parts and labour.
    double discountedTotal() const;
};

// Sums of the order's lines.
struct WorkTotals {
    double parts = 0;
    double labourClient = 0;
    double labourClerk = 0;
};
WorkTotals workTotals(store::Database& db, qint64 idPor);
double partsTotal(store::Database& db, qint64 idPor);
// Labour at client prices and the technicians' amounts; parts left 0.
WorkTotals labourTotals(store::Database& db, qint64 idPor);

// What the window holds besides the lines when a line changes.
struct MoneyContext {
    double fee = 0;
    double discParts = 0;
    double discJobs = 0;
    bool partsOnly = false; // parts mode: no discount
};

// The money fields for the lines as they are now (fee change included).
OrderMoney currentMoney(store::Database& db, qint64 idPor, const MoneyContext& context);

// Opening the report: the default fee becomes the order's fee and the discounted total its
// amount. Returns the stored amount. Throws OrderStateRefused for an order no longer in work.
double storeReportOpening(store::Database& db, qint64 idPor, double defaultFee,
                          const ClientDiscounts& discounts);

// Part lines -------------------------------------------------------------------------------

// The price of the order's first line of this part, when it has one.
std::optional<double> existingLinePrice(store::Database& db, qint64 idPor, qint64 partId);
// A part sold in dollars or euros into a paying order needs today's rates for its price.
bool priceNeedsRates(const warehouse::Part& part, int orderType);
// Unpaid orders (types 1 and 2) get parts free; others pay the order price in leva.
double newLinePrice(const warehouse::Part& part, int orderType,
                    const std::optional<store::Rates>& rates);

struct PartTaking {
    qint64 idPor = 0;
    qint64 partId = 0;
    int quantity = 0;
    QString serial{}; // the unit's serial number, empty for a part without
    double unitPrice = 0;
    int userId = 0;
};

// Every change of a line below refuses an order that is no longer in work (OrderStateRefused,
// nothing written), so that a window left open on another workstation cannot change a
// reported or paid order.

// Takes the units from stock, records the movement and books the line: a part without serial
// numbers joins the order's line of that part, a serial-numbered unit gets a line of its own.
// Throws warehouse::StockError or store::DbError; nothing is written then.
OrderMoney addStockPart(store::Database& db, const PartTaking& taking, const MoneyContext& context,
                        const QDateTime& now = QDateTime::currentDateTime());

struct ExternalTaking {
    qint64 idPor = 0;
    int databaseIndex = 0;
    QString databasePath{};
    QString good{};
    int quantity = 0;
    double unitPrice = 0;
};
// Takes the goods in the external database and books the line. Throws ExternalStoreError or
// store::DbError; nothing is written then.
OrderMoney addExternalPart(store::Database& db, const ExternalTaking& taking,
                           const MoneyContext& context);

// Gives the line's units back (to stock with their serial number and a movement, or to the
// external database) and deletes the line. Throws ExternalStoreError, StockError or DbError
// (OrderStateRefused also for a line already removed); nothing is written then.
OrderMoney removePartLine(store::Database& db, qint64 lineId, int userId,
                          const QStringList& externalDatabases, const MoneyContext& context,
                          const QDateTime& now = QDateTime::currentDateTime());

// Labour lines -----------------------------------------------------------------------------

struct LabourBooking {
    qint64 idPor = 0;
    std::optional<qint64> operationId{}; // a catalogue operation
    QString description{};
    double clientPrice = 0;
    double technicianAmount = 0;
    qint64 technicianId = 0;
    double hours = 0;
    double coefficient = 1;
    bool byTime = false; // technicians paid by time get a work-time row
};

OrderMoney addLabourLine(store::Database& db, const LabourBooking& booking,
                         const MoneyContext& context,
                         const QDateTime& now = QDateTime::currentDateTime());
OrderMoney removeLabourLine(store::Database& db, qint64 lineId, const MoneyContext& context);

} // namespace orders

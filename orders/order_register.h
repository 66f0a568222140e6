#pragma once

#include "orders/order_work.h"
#include "store/database.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// Selecting orders for the order register and the commands it runs on one order.
namespace orders {

// A where-condition over porychka with its bound values, and the words that describe it to
// the user (shown above the list and printed in its header).
struct Selection {
    QString condition; // empty: every order
    store::Binds binds;
    QString text;
};

struct RegisterCriteria {
    QString porNo{};
    QString names{};
    QString adres{};
    QString phone{};
    QString marka{}; // empty: no brand chosen
    QString model{};
    QString regNo{};
    QString clerk{}; // as the technician list shows it; empty: no technician chosen
    QString couppe{};
    QString engine{};
    std::optional<QDate> from{};
    std::optional<QDate> to{};
};

// Free texts shorter than this are not used as a criterion.
inline constexpr int kMinCriterionLength = 4;

// The order number alone when one is given; otherwise every criterion that is long enough
// or chosen, joined. Nothing when no criterion is usable.
std::optional<Selection> criteriaSelection(store::Database& db, const RegisterCriteria& c);

enum class FixedReport {
    Unfinished,        // rb1
    Overdue,           // rb6
    ReadyNotCollected, // rb2
    Received,          // rb3, on the registration date
    Repaired,          // rb4, on the ready date
    Paid,              // rb5, on the payment date
};

bool usesPeriod(FixedReport report);

// The period reports without any date give an empty condition (every order).
Selection fixedReportSelection(FixedReport report, const std::optional<QDate>& from,
                               const std::optional<QDate>& to, const QDate& today);

// Columns of the register's statement, in the grid's default order.
enum RegisterColumn {
    ColIdPor,
    ColPayed,
    ColPorDate,
    ColReadyDate,
    ColPayDate,
    ColReady,
    ColKm,
    ColMarka,
    ColModel,
    ColModify,
    ColYear,
    ColRegNo,
    ColTaksa,
    ColSumTrud,
    ColSumParts,
    ColSumAll,
    ColClientName,
    ColClientAdres,
    ColClientPhone,
    ColState,
    ColWarranty,
    ColExternal,
    ColPech,
    // Shown on request (column chooser).
    ColTypePor,
    ColClerk,
    ColCouppe,
    ColEngine,
    ColEndDate,
    ColDefect,
    ColNote,
    // Never shown: what the commands need.
    ColCodeGet,
    ColTypeWarr,
    ColPorState,
    ColumnCount
};
QStringList registerHeaders();

// The list's statement: every grid column (worded codes included) of the selected orders.
QString registerQuery(const Selection& selection);
// Column sums of the selected orders: fee, labour, parts, amount, profit.
struct RegisterTotals {
    double taksa = 0;
    double sumTrud = 0;
    double sumParts = 0;
    double sumAll = 0;
    double pech = 0;
};
RegisterTotals registerTotals(store::Database& db, const Selection& selection);

// The technician pick list: "Без избор", then every technician by name, " - напуснал" after
// those who have left.
QStringList technicianChoices(store::Database& db);
// The id of a technician as the list shows him (the suffix is not part of the name).
std::optional<qint64> technicianId(store::Database& db, const QString& shown);

// Brands of the vehicle catalogue, for the brand criterion.
QStringList brandChoices(store::Database& db);

// The order has part or labour lines.
bool orderHasWork(store::Database& db, qint64 idPor);
bool orderHasLabour(store::Database& db, qint64 idPor);

// Refused (false, nothing written) while the order has parts or labour.
bool changeOrderType(store::Database& db, qint64 idPor, int type);

// Each non-empty (trimmed) value replaces its column; an empty one leaves it as it is.
void editOrderHeader(store::Database& db, qint64 idPor, const QString& clientName,
                     const QString& couppe, const QString& regNo);

void setWaitingForParts(store::Database& db, qint64 idPor);

// Some technician has already been paid the earning of this order.
bool earningsPaidOut(store::Database& db, qint64 idPor);
// Why a ready order cannot go back to work once its earnings are paid.
QString earningsPaidOutText(qint64 idPor);

// Restoring an order whose earnings are paid out: marking it ready again would credit the same
// work twice. A DbError, so that whoever shows database errors shows this one too.
class RestoreRefused : public OrderStateRefused {
public:
    using OrderStateRefused::OrderStateRefused;
};

// "Поръчката не може да бъде върната в работа." - the consequence of a refused restore.
QString notRestoredText();

// Back to work: the technicians' unpaid earnings of the order are withdrawn and the order is
// registered again, in one transaction. Only a ready, unpaid order goes back: anything else
// (another workstation paid or restored it meanwhile) throws OrderStateRefused, and an order
// whose earnings have been paid out RestoreRefused; nothing is written then.
void restoreToWork(store::Database& db, qint64 idPor);

} // namespace orders

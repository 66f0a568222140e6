#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>
#include <span>

namespace store {

class Database;

// The money records every operation writes. Each posting runs inside the caller's transaction
// (a savepoint when one is open), so an operation's postings land together or not at all, and
// throws DbError with the engine's text when the database refuses a record. Amounts of the
// cash book, debts and earnings are kept to hundredths; an amount that is not a finite number
// or an unknown currency code is refused (DbError) before anything is written.

// Cash book `kasa`: positive into the till, negative out of it.
struct CashMovement {
    double amount = 0;
    int currency = 1;
    QString notes{};
    int userId = 0; // the logged-in employee
};
void postCash(Database& db, const CashMovement& movement,
              const QDateTime& at = QDateTime::currentDateTime());

// Supplier debt `payments`: positive, the workshop owes the supplier more.
struct SupplierDebt {
    double amount = 0;
    int currency = 1;
    QString notes{};
    int supplierId = 0;
};
void postSupplierDebt(Database& db, const SupplierDebt& debt,
                      const QDateTime& at = QDateTime::currentDateTime());

// Client debt `payClient`: positive, the client owes the workshop more.
struct ClientDebt {
    double amount = 0;
    int currency = 1;
    QString notes{};
    int clientId = 0;
};
void postClientDebt(Database& db, const ClientDebt& debt,
                    const QDateTime& at = QDateTime::currentDateTime());

// Sources of profit (`idNote` of `pech`). 5 has never been used.
enum class ProfitSource {
    PartsSale = 0,
    PartsInOrders = 1,
    LabourInOrders = 2,
    OrderFees = 3,
    WarrantyOrders = 4,
    ServiceContracts = 6,
};

struct ProfitSourceText {
    int idNote;
    const char* text; // UTF-8
};
// Every source with the text the profit report shows for it.
std::span<const ProfitSourceText> profitSourceTexts();
// The report text of an `idNote`; empty for a code that is no source.
QString profitSourceText(int idNote);

// Profit `pech` holds one row per day, source and currency: the amount (negative for a loss)
// is added to that row, which is created on the day's first posting.
void postProfit(Database& db, ProfitSource source, int currency, double amount,
                const QDate& day = QDate::currentDate());

// Expense `expenses` / additional income `prihodi` under a type named by its text; the type
// row of `typeexpenses` / `typepr` is created on first use. Returns the type's id.
int postExpense(Database& db, const QString& type, double amount, const QString& notes,
                const QDate& day = QDate::currentDate());
int postIncome(Database& db, const QString& type, double amount, const QString& notes,
               const QDate& day = QDate::currentDate());
// Id of the type row with exactly this text, created when missing.
int expenseTypeId(Database& db, const QString& type);
int incomeTypeId(Database& db, const QString& type);

// Employee earning `paymClerks`, not yet paid; orderNo only when it comes from an order.
struct Earning {
    int clerkId = 0;
    double amount = 0;
    QString notes{};
    std::optional<qint64> orderNo{};
};
void postEarning(Database& db, const Earning& earning, const QDate& day = QDate::currentDate());

} // namespace store

#pragma once

#include <QString>
#include <optional>

namespace store {

// Number of positions in an employee's rights string.
inline constexpr int kRightsCount = 43;

// The rights tree in tree order: the value is the right's position in the rights string.
// Group nodes (administration, registers, ...) only let the employees register grant or
// withdraw a whole group; no command asks for them.
enum class Right : int {
    AdministrationGroup = 1,
    Settings = 2, // the settings, also at a user's first start
    Restore = 3,  // restore from an archive

    RegistersGroup = 4,
    Employees = 5,
    Suppliers = 6,
    ClientsAndCars = 7,    // clients register and car register
    OperationsEditing = 8, // editing the work-operations catalogue
    Tools = 9,             // workshop tools register
    OwnData = 10,          // the workshop's own data

    WarehouseGroup = 11,
    Nomenclature = 12,         // parts nomenclature; a new part from a delivery or a scan
    DeliveryAndDiscounts = 13, // deliveries, delivery returns, discounts
    Sales = 14,                // counter sale and sale by goods receipt
    Prices = 15,               // changing selling prices

    OrdersGroup = 16,
    NewOrder = 17, // new order, quick services, technical inspection
    VisitSchedule = 18,
    PartsIntoOrder = 19,
    OrderReport = 20,
    OrderPayment = 21,
    ServiceContracts = 22,
    Reserved23 = 23,
    Reserved24 = 24,
    NewInvoice = 25,
    UnbilledPayments = 26,
    InvoiceRegister = 27,

    ReportsGroup = 28,
    Stock = 29,                           // stock report, serial-number stock, part movements
    PartsInOrders = 30,                   // parts in unfinished orders
    DeliveryReportAndPurchasePrices = 31, // delivery report; purchase prices in the stock report
    SalesReport = 32,
    SupplierAccounts = 33,
    ClientAccounts = 34,
    ExpensesAndIncome = 35,
    CashBook = 36, // the cash-book menu command (the panel's link needs no right)
    Profit = 37,   // profit report; the order register's profit column and totals
    FinancialSummary = 38,

    SalariesGroup = 39,
    DeductionsAndBonuses = 40, // deductions, bonuses and awards
    Advances = 41,
    SalaryPayment = 42,
    SalaryReport = 43,
};

constexpr int position(Right right) {
    return static_cast<int>(right);
}
static_assert(position(Right::SalaryReport) == kRightsCount, "one right per position");

// The rights presets of the three old access levels: 0 administrator (every right),
// 1 and 2 the restricted levels. Any other level has no preset.
std::optional<QString> rightsPresetForLevel(int level);

// True exactly when position (1-based) of the rights string is "1".
bool holdsRight(const QString& rights, int position);
inline bool holdsRight(const QString& rights, Right right) {
    return holdsRight(rights, position(right));
}

} // namespace store

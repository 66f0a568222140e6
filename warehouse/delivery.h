#pragma once

#include "store/currency.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <stdexcept>

namespace store {
class Database;
}

// A delivery of parts from one supplier: its lines are assembled in memory and recorded at
// once, raising the stock, renewing the prices and posting the money.
namespace warehouse {

struct Part;
struct WarehouseSettings;

struct DeliveryLine {
    qint64 partId = 0;
    // Copies of the part's texts, for display.
    QString part{};
    QString type{};
    QString opis{};
    QString marka{};
    QString barcode{};
    QString partNo{};
    int count = 1;
    double inPrice = 0; // purchase price of one unit
    int ipId = store::kLeva;
    double outPrice = 0;     // price in repair orders
    double salePrice = 0;    // price at the counter
    int opId = store::kLeva; // currency of both selling prices
    QStringList serials{};   // one per unit when the units carry serial numbers

    double sum() const { return count * inPrice; }
    double sumSale() const { return count * outPrice; }
};

struct Delivery {
    QDate date;
    qint64 supplierId = 0;
    QString supplierName;
    std::optional<store::Rates> rates; // of the delivery date, when known
    QList<DeliveryLine> lines;

    // "Доставка от <supplier> на <date>": the window's caption and the cash book's note.
    QString caption() const;
    bool hasPart(qint64 partId) const;
    // Whether the serial number is already among the lines.
    bool hasSerial(const QString& serial) const;
};

// What a new line proposes: the supplier's last price for the part (0 leva when it never
// delivered it), the part's selling prices, one unit.
struct LastPrice {
    double price = 0;
    int currency = store::kLeva;
};
LastPrice lastPrice(store::Database& db, qint64 partId, qint64 supplierId);
DeliveryLine proposeLine(store::Database& db, const Part& part, qint64 supplierId,
                         const WarehouseSettings& settings);

// Percent of the selling price the suppliers grant on a maker's parts of a type (0 without a
// row), and the workshop's discount on goods-receipt sales.
double supplierDiscount(store::Database& db, std::optional<qint64> makerId,
                        std::optional<qint64> typeId);
double goodsDiscount(store::Database& db, std::optional<qint64> makerId,
                     std::optional<qint64> typeId);

// Selling currency changed: both selling prices converted, rounded.
void changeSellingCurrency(DeliveryLine& line, int currency, const store::Rates& rates);
// Markup on the purchase price gives both selling prices (converted into the selling currency).
void applyMarkup(DeliveryLine& line, double percent, const store::Rates& rates);
// The supplier's discount on the counter price gives the purchase price, in the selling currency.
void applySupplierDiscount(DeliveryLine& line, double percent);

enum class LineField { InPrice, Count, OutPrice, SalePrice };
struct LineProblem {
    LineField field;
    QString message;
};
// The checks of the line dialog's OK, in their order. Before checking, a line whose counter
// price is not entered separately takes the order price, and a line with serial numbers takes
// their number as its count.
std::optional<LineProblem> checkLine(DeliveryLine& line, const store::Rates& rates,
                                     bool oneSellingPrice);

// Purchase price after a delivery: the weighted average of the stock and the delivered units,
// in the delivery's currency, rounded. Without stock it is the delivered price.
double averagePurchasePrice(int stock, double stockPrice, int stockCurrency, int count,
                            double price, int currency, const std::optional<store::Rates>& rates);

// The selling prices of a part in stock, changed outside a delivery. Refused (false, nothing
// written) unless both prices are above 0 and the part has units in stock.
bool changeSellingPrices(store::Database& db, qint64 partId, double outPrice, double salePrice,
                         int currency);

enum class Payment {
    Debt,    // left as a debt to the supplier
    PaidNow, // paid from the till
};

class DeliveryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Records the whole delivery in one transaction: stock, prices, delivery records, serial
// numbers and the money. Anything refused (a serial number already in stock, a part that no
// longer exists, a posting the database rejects) leaves the database as it was and throws
// (DeliveryError, StockError, DbError, std::invalid_argument for missing rates).
// Returns the totals per currency (leva, USD, EUR).
std::array<double, 3> recordDelivery(store::Database& db, const Delivery& delivery, Payment payment,
                                     int userId,
                                     const QDateTime& now = QDateTime::currentDateTime(),
                                     const std::function<void()>& lineDone = {});

} // namespace warehouse

#pragma once

#include <QDate>
#include <QString>
#include <optional>
#include <stdexcept>

namespace store {

class Database;

// Currency codes (`idVal`) as stored with every amount.
inline constexpr int kLeva = 1;
inline constexpr int kUsd = 2;
inline constexpr int kEur = 3;

// Whether the workshop works in leva only or also in dollars and euros (setting "Currency").
enum class CurrencyMode { LevaOnly = 0, ThreeCurrencies = 1 };

bool isCurrencyCode(int code);
// "лв.", "USD", "EUR"; empty for any other code.
QString currencyText(int code);

// One row of `valcourse`: how many leva one dollar and one euro cost on a date.
struct Rates {
    QDate date;
    double usd = 0;
    double eur = 0;

    bool isValid() const { return usd > 0 && eur > 0; }
    // Leva per unit of the currency; throws std::invalid_argument for an unknown code or a rate
    // that is not positive, so that no amount is ever multiplied or divided by nonsense.
    double rate(int code) const;
};

// Proposals of the rate dialog on an empty table.
inline constexpr double kDefaultUsdRate = 1.7;
inline constexpr double kDefaultEurRate = 1.956;

double toLeva(double amount, int code, const Rates& rates);
double fromLeva(double leva, int code, const Rates& rates);
// Through leva: from one currency into another with the same day's rates.
double convert(double amount, int fromCode, int toCode, const Rates& rates);

// The rate row of a date, if there is one.
std::optional<Rates> ratesOf(Database& db, const QDate& date);
// The row with the latest date, if any.
std::optional<Rates> latestRates(Database& db);
// What the rate dialog offers for a new row of the given date: the latest row's rates, or the
// defaults on an empty table.
Rates proposedRates(Database& db, const QDate& date);

// Why addRates refused a row before the database saw it.
class RateError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Adds the rate row of rates.date. Throws RateError for a rate of 0 or below (nothing saved)
// and DbError when the engine refuses the row (for example, that date has a row already).
void addRates(Database& db, const Rates& rates);

} // namespace store

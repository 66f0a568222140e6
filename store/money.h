#pragma once

#include <QString>
#include <optional>

namespace store {

// Hundredths, exact halves to the even neighbour (12.345 stored as 12.345 exactly would give
// 12.34; binary doubles usually sit just above or below the half and round accordingly).
double roundMoney(double amount);

// "1 234,50": blank as thousands separator, decimal comma, always two decimals.
QString formatMoney(double amount);

// Reads an amount typed with "." or "," as decimal mark, blanks allowed as thousands separator.
std::optional<double> parseMoney(const QString& text);

} // namespace store

#include "store/money.h"

#include <cfenv>
#include <cmath>

namespace store {

double roundMoney(double amount) {
    // nearbyint follows the current rounding mode, whose default is to nearest, ties to even.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double hundredths = std::nearbyint(amount * 100.0);
    std::fesetround(previous);
    const double result = hundredths / 100.0;
    return result == 0.0 ? 0.0 : result; // no "-0,00"
}

QString formatMoney(double amount) {
    const double rounded = roundMoney(amount);
    const bool negative = rounded < 0;
    const QString digits = QString::number(std::fabs(rounded), 'f', 2);
    const qsizetype dot = digits.indexOf('.');
    QString whole = digits.left(dot);
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3)
        whole.insert(i, QLatin1Char(' '));
    return (negative ? QStringLiteral("-") : QString()) + whole + QLatin1Char(',') +
           digits.mid(dot + 1);
}

std::optional<double> parseMoney(const QString& text) {
    QString cleaned = text.trimmed();
    cleaned.remove(QLatin1Char(' '));
    cleaned.remove(QChar(0x00A0));
    cleaned.replace(QLatin1Char(','), QLatin1Char('.'));
    if (cleaned.isEmpty() || cleaned.count(QLatin1Char('.')) > 1)
        return std::nullopt;
    bool ok = false;
    const double value = cleaned.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace store

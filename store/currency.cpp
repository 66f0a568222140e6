#include "store/currency.h"

#include "store/database.h"
#include "store/sql_values.h"
#include "store/transaction.h"

#include <QSqlQuery>
#include <cmath>

namespace store {

namespace {

std::optional<Rates> firstRow(QSqlQuery query) {
    if (!query.next())
        return std::nullopt;
    return Rates{dateFromDb(query.value(0)), amountFromDb(query.value(1)),
                 amountFromDb(query.value(2))};
}

} // namespace

bool isCurrencyCode(int code) {
    return code == kLeva || code == kUsd || code == kEur;
}

QString currencyText(int code) {
    switch (code) {
    case kLeva:
        return QStringLiteral("лв.");
    case kUsd:
        return QStringLiteral("USD");
    case kEur:
        return QStringLiteral("EUR");
    default:
        return {};
    }
}

double Rates::rate(int code) const {
    if (code == kLeva)
        return 1.0;
    if (!isCurrencyCode(code))
        throw std::invalid_argument("unknown currency code " + std::to_string(code));
    const double value = code == kUsd ? usd : eur;
    if (!(value > 0) || !std::isfinite(value))
        throw std::invalid_argument("no usable exchange rate for " +
                                    currencyText(code).toStdString() + " on " +
                                    date.toString(Qt::ISODate).toStdString());
    return value;
}

double toLeva(double amount, int code, const Rates& rates) {
    return amount * rates.rate(code);
}

double fromLeva(double leva, int code, const Rates& rates) {
    return leva / rates.rate(code);
}

double convert(double amount, int fromCode, int toCode, const Rates& rates) {
    if (fromCode == toCode && isCurrencyCode(fromCode))
        return amount;
    return fromLeva(toLeva(amount, fromCode, rates), toCode, rates);
}

std::optional<Rates> ratesOf(Database& db, const QDate& date) {
    return firstRow(db.exec(QStringLiteral("SELECT Data, USD, EUR FROM valcourse WHERE Data = :d"),
                            {{QStringLiteral("d"), date}}));
}

std::optional<Rates> latestRates(Database& db) {
    return firstRow(db.exec(QStringLiteral("SELECT Data, USD, EUR FROM valcourse "
                                           "WHERE Data IS NOT NULL ORDER BY Data DESC LIMIT 1")));
}

Rates proposedRates(Database& db, const QDate& date) {
    if (const auto latest = latestRates(db))
        return {date, latest->usd, latest->eur};
    return {date, kDefaultUsdRate, kDefaultEurRate};
}

void addRates(Database& db, const Rates& rates) {
    if (!rates.date.isValid())
        throw RateError("an exchange rate row needs a date");
    if (!rates.isValid() || !std::isfinite(rates.usd) || !std::isfinite(rates.eur))
        throw RateError("exchange rates must be positive");
    Transaction tx(db);
    db.exec(QStringLiteral("INSERT INTO valcourse (Data, USD, EUR) VALUES (:d, :usd, :eur)"),
            {{QStringLiteral("d"), rates.date},
             {QStringLiteral("usd"), rates.usd},
             {QStringLiteral("eur"), rates.eur}});
    tx.commit();
}

} // namespace store

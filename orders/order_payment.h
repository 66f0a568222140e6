#pragma once

#include "orders/order_work.h"
#include "store/currency.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace store {
class Database;
}

// Paying a ready order settles it in every book at once: the order is marked paid, the day's
// profit grows per source and currency, the money goes to the till or onto the client's
// account, the payment waits for its invoice, a discount or surcharge is booked and the
// order's own profit is stored. All of it is one transaction.
namespace orders {

enum class PayMethod { Cash = 0, Account = 1 };

struct PaymentInput {
    qint64 idPor = 0;
    QString orderNumberText{}; // as the window shows it, for the discount's notes
    QString clientNames{};
    std::optional<qint64> clientId{}; // the client is in the clients register
    double fee = 0;
    double labourClient = 0;
    double labourClerk = 0;
    double parts = 0;
    double amount = 0;
    double discount = 0; // negative: a surcharge
    PayMethod method = PayMethod::Cash;
    bool foreignCurrencies = false; // the workshop works in dollars and euros too
    std::optional<store::Rates> rates{};
    QStringList externalDatabases{};
    int userId = 0;
};

// Today's rates are needed when the workshop works in three currencies, and also when a part
// of the order was bought in dollars or euros (its cost must be converted either way).
bool paymentNeedsRates(store::Database& db, qint64 idPor, bool foreignCurrencies);

struct PaymentResult {
    bool paid = false; // false: the order was not ready or was paid already; nothing written
    double profit = 0; // the order's profit as stored
};

// Throws store::DbError (the engine's text) or std::invalid_argument (rates missing); nothing
// is written then. The status tells each step as it starts ("Редакция поръчка", "Запис
// печалба", ... "Запис печалбата за поръчката").
PaymentResult payOrder(store::Database& db, const PaymentInput& input,
                       const QDateTime& now = QDateTime::currentDateTime(),
                       const StatusReport& status = {});

QString alreadyPaidText(qint64 idPor); // "Поръчка  №" + number + " вече е платена!"
QString notReadyText(qint64 idPor); // "Поръчка  №" + number + " не е готова!"

} // namespace orders

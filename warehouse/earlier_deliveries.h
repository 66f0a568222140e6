#pragma once

#include <QDate>
#include <QList>
#include <QString>

class QTableWidget;

namespace store {
class Database;
}

namespace warehouse {

// One delivery line of a part, newest first.
struct EarlierDelivery {
    QDate date;
    double price = 0;
    QString currency; // "лв.", "USD", "EUR"
    QString supplier;
};

QList<EarlierDelivery> earlierDeliveries(store::Database& db, qint64 partId);

} // namespace warehouse

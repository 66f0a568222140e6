#pragma once

#include "orders/order_work.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace store {
class Database;
}

// Marking an order ready: its money is frozen, its result recorded, every labour line credits
// its technician and a home visit of the order is closed.
namespace orders {

// The result list of the report window, in this order.
QStringList resultTexts();
// porState written for a result item (3, 4, 6, 7); item 0 for anything unknown.
int resultState(int item);
// The result item of a porState; 0 for a state that is no result.
int resultItem(int porState);

struct ReadyValues {
    qint64 idPor = 0;
    double fee = 0;
    double labourClient = 0;
    double parts = 0;
    double amount = 0;
    int resultItem = 0;
};

enum class ReadyOutcome { Ready, AlreadyReady };

// The order row, the technicians' earnings and the visit in one transaction. An order that
// is ready or paid already is left alone (AlreadyReady). Throws store::DbError; nothing is
// written then. The status tells each step: "Запис отчет", "Запис на заработка",
// "Проверка в ангажиментите".
ReadyOutcome markReady(store::Database& db, const ReadyValues& values,
                       const QDate& today = QDate::currentDate(), const StatusReport& status = {});

// "Поръчка  №" + number + " вече е отчетена!"
QString alreadyReportedText(qint64 idPor);

} // namespace orders

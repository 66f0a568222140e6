#include "finance/exchange_rates.h"

#include "store/database.h"
#include "store/sql_values.h"

namespace finance {

QList<store::Rates> rateHistory(store::Database& db) {
    QList<store::Rates> rows;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT Data, USD, EUR FROM valcourse ORDER BY Data DESC"));
    while (q.next())
        rows.append({store::dateFromDb(q.value(0)), store::amountFromDb(q.value(1)),
                     store::amountFromDb(q.value(2))});
    return rows;
}

} // namespace finance

#include "warehouse/earlier_deliveries.h"

#include "store/currency.h"
#include "store/database.h"
#include "store/money.h"
#include "store/sql_values.h"

#include <QSqlQuery>

namespace warehouse {

QList<EarlierDelivery> earlierDeliveries(store::Database& db, qint64 partId) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT s.Data, s.Price, s.idVal, d.Name FROM sprDost s "
                                         "LEFT JOIN delivers d ON d.id = s.idDost "
                                         "WHERE s.partID = :p ORDER BY s.Data DESC, s.id DESC"),
                          {{QStringLiteral("p"), partId}});
    QList<EarlierDelivery> rows;
    while (q.next())
        rows.append({store::dateFromDb(q.value(0)), store::amountFromDb(q.value(1)),
                     store::currencyText(q.value(2).toInt()), q.value(3).toString()});
    return rows;
}

} // namespace warehouse

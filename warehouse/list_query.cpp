#include "warehouse/list_query.h"

#include <QSqlError>

namespace warehouse {

QSqlQuery listQuery(store::Database& db, const QString& sql, const store::Binds& binds) {
    QSqlQuery q(db.connection());
    if (!q.prepare(sql))
        throw store::DbError(q.lastError().text());
    for (auto it = binds.cbegin(); it != binds.cend(); ++it)
        q.bindValue(QLatin1Char(':') + it.key(), db.dialect().toStorage(it.value()));
    if (!q.exec())
        throw store::DbError(q.lastError().text());
    return q;
}

} // namespace warehouse

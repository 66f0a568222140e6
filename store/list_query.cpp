#include "store/list_query.h"

#include <QSqlError>

namespace store {

QSqlQuery listQuery(Database& db, const QString& sql, const Binds& binds) {
    QSqlQuery q(db.connection());
    if (!q.prepare(sql))
        throw DbError(q.lastError().text());
    for (auto it = binds.cbegin(); it != binds.cend(); ++it)
        q.bindValue(QLatin1Char(':') + it.key(), db.dialect().toStorage(it.value()));
    if (!q.exec())
        throw DbError(q.lastError().text());
    return q;
}

} // namespace store

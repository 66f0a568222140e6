#include "warehouse/serial_stock.h"

#include "store/database.h"
#include "store/sql_helpers.h"

#include <QSqlQuery>

namespace warehouse {

QString serialSearchPattern(const QString& text) {
    QString typed = text.trimmed();
    if (typed.size() <= 2)
        return {};
    if (!typed.startsWith(QLatin1Char('*')))
        typed.prepend(QLatin1Char('*'));
    if (!typed.endsWith(QLatin1Char('*')))
        typed.append(QLatin1Char('*'));
    return store::asTypedPattern(typed);
}

QList<SerialUnit> serialUnitsInStock(store::Database& db, const QString& searchText) {
    const QString pattern = serialSearchPattern(searchText);
    QString sql = QStringLiteral(
        "SELECT s.id, s.idPart, t.Type, p.Part, p.Opis, s.SN FROM PartSN s"
        " LEFT JOIN parts p ON p.id = s.idPart LEFT JOIN typeParts t ON t.id = p.TypeID");
    store::Binds binds;
    if (!pattern.isEmpty()) {
        sql += QStringLiteral(" WHERE ") +
               db.dialect().caseInsensitiveLike(QStringLiteral("s.SN"), QStringLiteral(":sn"));
        binds.insert(QStringLiteral("sn"), pattern);
    }
    sql += QStringLiteral(" ORDER BY t.Type, p.Part, s.idPart, s.SN, s.id");
    QSqlQuery q = db.exec(sql, binds);
    QList<SerialUnit> units;
    while (q.next()) {
        units << SerialUnit{q.value(0).toLongLong(), q.value(1).toLongLong(),
                            q.value(2).toString(),   q.value(3).toString(),
                            q.value(4).toString(),   q.value(5).toString()};
    }
    return units;
}

} // namespace warehouse

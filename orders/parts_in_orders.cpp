#include "orders/parts_in_orders.h"

#include "store/database.h"

namespace orders {

QStringList partsInOrdersFilterTexts() {
    return {QStringLiteral("Неизпълнени поръчки"), QStringLiteral("Неплатени поръчки"),
            QStringLiteral("Поръчки, приети през периода")};
}

QList<PartInOrders> partsInOrders(store::Database& db, PartsInOrdersFilter filter,
                                  const std::optional<QDate>& from,
                                  const std::optional<QDate>& to) {
    QStringList conditions;
    store::Binds binds;
    switch (filter) {
    case PartsInOrdersFilter::NotReady:
        conditions << QStringLiteral("p.ready = false");
        break;
    case PartsInOrdersFilter::NotPaid:
        conditions << QStringLiteral("p.payed = false");
        break;
    case PartsInOrdersFilter::Period:
        if (from) {
            conditions << QStringLiteral("p.PorDate >= :from");
            binds.insert(QStringLiteral("from"), *from);
        }
        if (to) {
            conditions << QStringLiteral("p.PorDate <= :to");
            binds.insert(QStringLiteral("to"), *to);
        }
        break;
    }
    // Lines of the external warehouse have no part of their own (null or 0).
    QString inner = QStringLiteral(
        "SELECT CASE WHEN l.idPart > 0 THEN l.idPart END AS pid, "
        "CASE WHEN l.idPart > 0 THEN NULL ELSE l.microBase END AS mbase, "
        "CASE WHEN l.idPart > 0 THEN NULL ELSE l.microPart END AS mpart, "
        "sum(l.amnt) AS total FROM PartsInPor l JOIN porychka p ON p.idPor = l.idPor");
    if (!conditions.isEmpty())
        inner += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    inner += QStringLiteral(" GROUP BY CASE WHEN l.idPart > 0 THEN l.idPart END, "
                            "CASE WHEN l.idPart > 0 THEN NULL ELSE l.microBase END, "
                            "CASE WHEN l.idPart > 0 THEN NULL ELSE l.microPart END");
    QSqlQuery q = db.exec(
        QStringLiteral("SELECT t.pid, typeParts.Type, parts.Part, parts.PartNo, t.mbase, t.mpart, "
                       "t.total FROM (") +
            inner +
            QStringLiteral(") t LEFT JOIN parts ON parts.id = t.pid "
                           "LEFT JOIN typeParts ON typeParts.id = parts.TypeID "
                           "ORDER BY parts.Part, t.mpart"),
        binds);
    QList<PartInOrders> rows;
    while (q.next()) {
        PartInOrders r;
        if (!q.value(0).isNull()) {
            r.idPart = q.value(0).toLongLong();
            r.type = q.value(1).toString();
            r.part = q.value(2).toString();
            r.partNo = q.value(3).toString();
        } else {
            r.type = QStringLiteral("База данни %1").arg(q.value(4).toLongLong());
            r.part = q.value(5).toString();
        }
        r.amount = q.value(6).toLongLong();
        rows << r;
    }
    return rows;
}

} // namespace orders

#pragma once

#include "store/database.h"
#include "warehouse/part_catalogue.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantList>

// Small builders for the warehouse tests: a type, a maker and parts with a given stock and price.
namespace wtest {

inline qint64 typeId(store::Database& db, const QString& name) {
    return *warehouse::saveName(db, warehouse::kPartTypes, 0, name);
}

inline qint64 makerId(store::Database& db, const QString& name) {
    return *warehouse::saveName(db, warehouse::kPartMakers, 0, name);
}

struct NewPart {
    QString name;
    int amnt = 0;
    double inPrice = 0;
    int ipVal = 1;
    QString barcode{};
    QString partNo{};
    QString catalogs{};
};

inline qint64 addPart(store::Database& db, const NewPart& p, qint64 type = 0, qint64 maker = 0) {
    if (type == 0)
        type = typeId(db, QStringLiteral("Тип ") + p.name);
    if (maker == 0)
        maker = makerId(db, QStringLiteral("Марка ") + p.name);
    warehouse::Part part;
    part.part = p.name;
    part.barcode = p.barcode;
    part.partNo = p.partNo;
    part.catalogs = p.catalogs;
    part.typeId = type;
    part.makerId = maker;
    if (warehouse::savePart(db, part))
        qFatal("cannot add a part");
    db.exec(QStringLiteral("UPDATE parts SET amnt = :a, inPrice = :p, ipVal = :v WHERE id = :id"),
            {{QStringLiteral("a"), p.amnt},
             {QStringLiteral("p"), p.inPrice},
             {QStringLiteral("v"), p.ipVal},
             {QStringLiteral("id"), part.id}});
    return part.id;
}

inline int amnt(store::Database& db, qint64 id) {
    return db.scalar(QStringLiteral("SELECT amnt FROM parts WHERE id = :id"), {{"id", id}}).toInt();
}

inline int count(store::Database& db, const QString& table) {
    return db.scalar(QStringLiteral("SELECT count(*) FROM ") + table).toInt();
}

// Every row of a query as a list of values, to compare whole tables before and after.
inline QList<QVariantList> rows(store::Database& db, const QString& sql) {
    QSqlQuery q = db.exec(sql);
    QList<QVariantList> all;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        all << row;
    }
    return all;
}

} // namespace wtest

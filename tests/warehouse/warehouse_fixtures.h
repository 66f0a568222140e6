#pragma once

#include "support/builders.h"
#include "support/table_reading.h"
#include "warehouse/part_catalogue.h"

// The earlier names of the shared builders, for suites still written against them.
// New tests use support/builders.h and support/table_reading.h directly.
namespace wtest {

inline qint64 typeId(store::Database& db, const QString& name) {
    return builders::partType(db, name);
}

inline qint64 makerId(store::Database& db, const QString& name) {
    return builders::partMaker(db, name);
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

// Without a type or maker the part gets one of its own.
inline qint64 addPart(store::Database& db, const NewPart& p, qint64 type = 0, qint64 maker = 0) {
    return builders::part(db, {.name = p.name,
                               .type = type ? warehouse::nameOf(db, warehouse::kPartTypes, type)
                                            : QStringLiteral("Тип ") + p.name,
                               .maker = maker ? warehouse::nameOf(db, warehouse::kPartMakers, maker)
                                              : QStringLiteral("Марка ") + p.name,
                               .partNo = p.partNo,
                               .barcode = p.barcode,
                               .catalogs = p.catalogs,
                               .amount = p.amnt,
                               .inPrice = p.inPrice,
                               .inCurrency = p.ipVal});
}

inline int amnt(store::Database& db, qint64 id) {
    return testing::stockOf(db, id);
}

inline int count(store::Database& db, const QString& table) {
    return testing::rowCount(db, table);
}

using testing::rows;

} // namespace wtest

#include "orders/symptom_codes.h"

#include "vehicles/vehicle_catalogue.h"

#include <QSqlField>
#include <QSqlRecord>

namespace orders {

bool prepareSymptomRecord(QSqlRecord& record) {
    for (const char* name : {"description", "marka", "code_add"}) {
        const int at = record.indexOf(QLatin1String(name));
        if (at < 0)
            continue;
        const QVariant value = record.value(at);
        const QString text = value.isNull() ? QString() : value.toString().trimmed();
        record.setValue(at, text.isEmpty() ? QVariant() : QVariant(text));
        record.setGenerated(at, true);
    }
    return !record.value(QStringLiteral("description")).isNull();
}

QStringList symptomGroups(store::Database& db) {
    QStringList names;
    for (const vehicles::NamedRow& row : vehicles::brands(db))
        names << row.name;
    return names;
}

} // namespace orders

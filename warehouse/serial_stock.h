#pragma once

#include <QList>
#include <QString>

namespace store {
class Database;
}

// The units in stock that carry a serial number, as the serial-number list shows them.
namespace warehouse {

struct SerialUnit {
    qint64 id = 0;
    qint64 partId = 0;
    QString type{}; // looked up through the unit's part
    QString part{};
    QString opis{};
    QString serial{};
};

// The LIKE pattern a search text stands for: a serial number containing the text, where a "*"
// typed inside it matches anything. Empty (every unit) for a text of two characters or less
// after trimming, which would match nearly everything anyway.
QString serialSearchPattern(const QString& text);

// Units in stock whose serial number matches the search text (see above), by type, part and
// serial number.
QList<SerialUnit> serialUnitsInStock(store::Database& db, const QString& searchText = {});

} // namespace warehouse

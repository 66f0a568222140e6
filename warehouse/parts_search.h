#pragma once

#include "store/database.h"

#include <QString>
#include <optional>

// The search every window that lists parts offers: one text looked for in the ticked columns.
namespace warehouse {

struct PartsSearch {
    QString text{}; // as typed; a "*" in it matches anything, otherwise the whole value must match
    bool byName = false;      // Part
    bool byPartNo = false;    // PartNo
    bool byCatalogs = false;  // catalogs
    bool byBarcode = false;   // barcode
    bool inStockOnly = false; // windows that list only parts with units in stock

    bool anyColumn() const { return byName || byPartNo || byCatalogs || byBarcode; }
};

// A condition for "... FROM parts WHERE <sql>" with its values.
struct PartsCondition {
    QString sql;
    store::Binds binds;
};

// The ticked columns joined with OR, letter case ignored (Cyrillic too), then "and in stock"
// when asked. The text is trimmed. std::nullopt when no column is ticked.
std::optional<PartsCondition> partsSearchCondition(const store::Dialect& dialect,
                                                   const PartsSearch& search);

// The parts that have units in stock.
PartsCondition inStockCondition();

} // namespace warehouse

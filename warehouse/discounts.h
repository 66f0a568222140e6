#pragma once

#include <QString>
#include <optional>

namespace store {
class Database;
}

// The discounts table: per part maker and part type, the percentage the suppliers grant on the
// selling price and the one the workshop grants on goods-receipt sales. The lookups are
// supplierDiscount and goodsDiscount (delivery.h).
namespace warehouse {

struct DiscountRow {
    qint64 id = 0; // 0 while not stored
    std::optional<qint64> makerId{};
    std::optional<qint64> typeId{};
    double supplierPercent = 0; // discDlvr
    double goodsPercent = 0;    // discSale
};

enum class DiscountProblem {
    NoMaker,
    NoType,
    Duplicate, // another row has the same maker and type
};

// "Тази комбинация вече е въведена!"
QString duplicateDiscountMessage();

// Checked before a row is stored: a row without maker or type would never match a part, and a
// second row for a pair would make the lookups ambiguous. The row's own id does not count.
std::optional<DiscountProblem> checkDiscount(store::Database& db, const DiscountRow& row);

} // namespace warehouse

#include "warehouse/discounts.h"

#include "store/database.h"

namespace warehouse {

QString duplicateDiscountMessage() {
    return QStringLiteral("Тази комбинация вече е въведена!");
}

std::optional<DiscountProblem> checkDiscount(store::Database& db, const DiscountRow& row) {
    if (!row.makerId)
        return DiscountProblem::NoMaker;
    if (!row.typeId)
        return DiscountProblem::NoType;
    const QVariant other = db.scalar(
        QStringLiteral("SELECT id FROM discounts WHERE id <> :id AND idMarka = :m AND idType = :t"),
        {{QStringLiteral("id"), row.id},
         {QStringLiteral("m"), *row.makerId},
         {QStringLiteral("t"), *row.typeId}});
    if (!other.isNull())
        return DiscountProblem::Duplicate;
    return std::nullopt;
}

} // namespace warehouse

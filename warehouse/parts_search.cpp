#include "warehouse/parts_search.h"

#include "store/sql_helpers.h"

namespace warehouse {

std::optional<PartsCondition> partsSearchCondition(const store::Dialect& dialect,
                                                   const PartsSearch& search) {
    if (!search.anyColumn())
        return std::nullopt;
    const QString pattern = store::asTypedPattern(search.text.trimmed());
    const std::pair<bool, const char*> columns[] = {{search.byName, "Part"},
                                                    {search.byPartNo, "PartNo"},
                                                    {search.byCatalogs, "catalogs"},
                                                    {search.byBarcode, "barcode"}};
    PartsCondition condition;
    QStringList alternatives;
    for (const auto& [ticked, column] : columns) {
        if (!ticked)
            continue;
        // One placeholder per column: not every driver lets a name stand twice in a statement.
        const QString name = QStringLiteral("search%1").arg(alternatives.size());
        alternatives << dialect.caseInsensitiveLike(QString::fromLatin1(column),
                                                    QLatin1Char(':') + name);
        condition.binds.insert(name, pattern);
    }
    condition.sql = alternatives.join(QStringLiteral(" OR "));
    if (search.inStockOnly)
        condition.sql = QStringLiteral("(%1) AND %2").arg(condition.sql, inStockCondition().sql);
    return condition;
}

PartsCondition inStockCondition() {
    return {QStringLiteral("amnt > 0"), {}};
}

} // namespace warehouse

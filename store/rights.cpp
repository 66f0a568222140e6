#include "store/rights.h"

namespace store {

std::optional<QString> rightsPresetForLevel(int level) {
    switch (level) {
    case 0:
        return QStringLiteral("1111111111111111111111111111111111111111111");
    case 1:
        return QStringLiteral("2223211222311123111111211113111121112231122");
    case 2:
        return QStringLiteral("2222222222322123111222222223112222122222222");
    default:
        return std::nullopt;
    }
}

bool holdsRight(const QString& rights, int position) {
    return position >= 1 && position <= rights.size() &&
           rights.at(position - 1) == QLatin1Char('1');
}

} // namespace store

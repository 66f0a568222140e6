#include "store/registration_number.h"

namespace store {

QString normalRegistrationNumber(const QString& typed) {
    static const QString latin = QStringLiteral("ABEKMHOPCTYX");
    static const QString cyrillic = QStringLiteral("АВЕКМНОРСТУХ");
    QString normal;
    normal.reserve(typed.size());
    for (const QChar c : typed.toUpper()) {
        if (c.isSpace())
            continue;
        const qsizetype at = latin.indexOf(c);
        normal += at >= 0 ? cyrillic.at(at) : c;
    }
    return normal;
}

} // namespace store

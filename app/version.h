#pragma once

#include <QString>

namespace app {

// The program's version number; stored as "Version" at every start and shown with two decimals.
inline constexpr double kProgramVersion = 1.0;

// "1.00": two decimals and "." as decimal mark, whatever the regional settings.
inline QString versionText() {
    return QString::number(kProgramVersion, 'f', 2);
}

} // namespace app

#pragma once

#include <QSettings>
#include <QString>

namespace shell {

// The per-user values of the program (the "registry").
inline constexpr const char* kOrganization = "Brenvik";
inline constexpr const char* kApplication = "Motrela";

inline QSettings userSettings() {
    return QSettings(QString::fromLatin1(kOrganization), QString::fromLatin1(kApplication));
}

// Keys of the per-user values.
namespace keys {
inline const QString baseFile = QStringLiteral("BaseFile");
inline const QString version = QStringLiteral("Version");
inline const QString user = QStringLiteral("user");
// A stable key of this computer, stored with the rows that belong to one workstation.
inline const QString workstation = QStringLiteral("Workstation");
// The date of this user's first start; its absence opens the settings at the first start.
inline const QString firstStart = QStringLiteral("FirstStart");
} // namespace keys

} // namespace shell

#include "shell/session.h"

#include "shell/user_settings.h"
#include "store/rights.h"

#include <QUuid>

namespace shell {

Session::Session(LoggedInUser user, QString workstationKey, BusinessSettings settings)
    : user_(std::move(user)), workstationKey_(std::move(workstationKey)),
      settings_(std::move(settings)) {}

bool Session::holdsRight(store::Right right) const {
    return store::holdsRight(user_.rights, right);
}

QString workstationKey(QSettings& settings) {
    QString key = settings.value(keys::workstation).toString();
    if (key.isEmpty()) {
        key = QUuid::createUuid().toString(QUuid::WithoutBraces);
        settings.setValue(keys::workstation, key);
        settings.sync();
    }
    return key;
}

} // namespace shell

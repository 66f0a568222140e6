#pragma once

#include "shell/business_settings.h"
#include "store/rights.h"

#include <QSettings>
#include <QString>

namespace shell {

// The employee who logged in for this run.
struct LoggedInUser {
    int id = 0;
    QString nick;
    QString name;
    QString rights; // one character per right, "1" = granted
};

// What the windows of one run share about its user and workstation. The main window owns it
// and hands it to the windows it opens.
class Session {
public:
    Session() = default;
    Session(LoggedInUser user, QString workstationKey, BusinessSettings settings = {});

    const LoggedInUser& user() const { return user_; }
    int userId() const { return user_.id; }
    QString userName() const { return user_.name; }
    // After the employees register renamed the logged-in employee.
    void setUserName(const QString& name) { user_.name = name; }
    QString rights() const { return user_.rights; }

    // A command whose right is not held does nothing.
    bool holdsRight(store::Right right) const;

    QString workstationKey() const { return workstationKey_; }

    // The settings kept in the database, as loaded at the database start.
    const BusinessSettings& settings() const { return settings_; }
    BusinessSettings& settings() { return settings_; }

    // True while the counter-sale window is open; most commands wait for it to close.
    bool saleVisible() const { return saleVisible_; }
    void setSaleVisible(bool visible) { saleVisible_ = visible; }

    // The shared parts window is open (deliveryViewOpen) and shows a delivery rather than the
    // stock report (deliveryMode).
    bool deliveryViewOpen() const { return deliveryViewOpen_; }
    bool deliveryMode() const { return deliveryMode_; }
    void setDeliveryView(bool open, bool delivery) {
        deliveryViewOpen_ = open;
        deliveryMode_ = delivery;
    }

private:
    LoggedInUser user_;
    QString workstationKey_;
    BusinessSettings settings_;
    bool saleVisible_ = false;
    bool deliveryViewOpen_ = false;
    bool deliveryMode_ = false;
};

// The key of this computer: created once as a UUID and kept in the per-user values.
QString workstationKey(QSettings& settings);

} // namespace shell

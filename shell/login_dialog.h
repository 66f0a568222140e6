#pragma once

#include "shell/login.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace store {
class Database;
}

// The login dialog. Accepted after a successful login; rejected when cancelled or after the
// third failure, and the program then ends.
class TsrPass : public QDialog {
    Q_OBJECT
public:
    explicit TsrPass(store::Database& db, QWidget* parent = nullptr);

    // The employee who logged in; empty unless the dialog was accepted.
    const std::optional<shell::LoggedInUser>& loggedIn() const { return attempts_.user(); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void prepare();
    void tryLogin();

    store::Database& db_;
    shell::LoginAttempts attempts_;
    QLineEdit* ePotr_ = nullptr;
    QLineEdit* ePass_ = nullptr;
    QPushButton* btnOk_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

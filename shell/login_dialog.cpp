#include "shell/login_dialog.h"

#include "shell/help_pages.h"
#include "shell/help_window.h"
#include "shell/user_settings.h"
#include "ui/message_box.h"

#include <QAction>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

TsrPass::TsrPass(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TsrPass"));
    setWindowTitle(QStringLiteral("Вход в програмата"));

    ePotr_ = new QLineEdit(this);
    ePotr_->setObjectName(QStringLiteral("ePotr"));
    ePass_ = new QLineEdit(this);
    ePass_->setObjectName(QStringLiteral("ePass"));
    ePass_->setEchoMode(QLineEdit::Password);

    btnOk_ = new QPushButton(QStringLiteral("Вход"), this);
    btnOk_->setObjectName(QStringLiteral("BitBtn1"));
    btnOk_->setDefault(true);
    btnCancel_ = new QPushButton(QStringLiteral("Отказ"), this);
    btnCancel_->setObjectName(QStringLiteral("BitBtn2"));
    connect(btnOk_, &QPushButton::clicked, this, &TsrPass::tryLogin);
    connect(btnCancel_, &QPushButton::clicked, this, [this] {
        btnCancel_->setFocus();
        reject();
    });

    auto* help = new QAction(this);
    help->setObjectName(QStringLiteral("Action1"));
    help->setShortcut(QKeySequence::HelpContents);
    connect(help, &QAction::triggered, this,
            [this] { shell::HelpWindow::showTopic(this, shell::kHelpLogin); });
    addAction(help);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Потребител:"), ePotr_);
    form->addRow(QStringLiteral("Парола:"), ePass_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk_);
    buttons->addWidget(btnCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Въведете потребителско име и парола"), this));
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void TsrPass::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous())
        prepare();
}

void TsrPass::prepare() {
    QSettings settings = shell::userSettings();
    if (!settings.contains(shell::keys::user)) {
        // The first login on this computer: propose the administrator and explain the login.
        settings.setValue(shell::keys::user, shell::kFirstLoginName);
        shell::HelpWindow::showTopic(this, shell::kHelpLogin, false);
    }
    ePotr_->setText(settings.value(shell::keys::user).toString());
    ePass_->clear();
    ePass_->setFocus();
    attempts_ = shell::LoginAttempts();
}

void TsrPass::tryLogin() {
    ePotr_->setText(ePotr_->text().trimmed());
    ePass_->setText(ePass_->text().trimmed());
    using Outcome = shell::LoginAttempts::Outcome;
    const Outcome outcome = attempts_.submit(db_, ePotr_->text(), ePass_->text());
    switch (outcome) {
    case Outcome::EmptyPassword:
        ePass_->setFocus();
        return;
    case Outcome::EmptyName:
        ePotr_->setFocus();
        return;
    case Outcome::LoggedIn:
        shell::userSettings().setValue(shell::keys::user, attempts_.user()->nick);
        accept();
        return;
    case Outcome::Refused:
    case Outcome::TooManyFailures:
        break;
    }
    ePass_->clear();
    ePotr_->selectAll();
    ePotr_->setFocus();
    if (outcome == Outcome::TooManyFailures) {
        ui::error(this, shell::lastFailureText());
        reject();
    } else {
        ui::error(this, shell::wrongLoginText());
    }
}

#include "app/command_line.h"
#include "app/main_window.h"
#include "app/program_start.h"
#include "app/single_instance.h"
#include "app/splash.h"
#include "shell/first_password_dialog.h"
#include "shell/login.h"
#include "shell/login_dialog.h"
#include "shell/session.h"
#include "shell/user_settings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <optional>

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

// Splash steps: database start, login, main window.
constexpr int kStartSteps = 3;

void raiseActiveWindow() {
    if (QWidget* window = QApplication::activeModalWidget()) {
        window->raise();
        window->activateWindow();
    }
}

} // namespace

int main(int argc, char** argv) {
    const app::CommandLine commandLine = app::parseCommandLine(argumentsOf(argc, argv));
    {
        // Command-line actions need no display.
        QTextStream out(stdout);
        QTextStream err(stderr);
        if (commandLine.showHelp || commandLine.showVersion || !commandLine.error.isEmpty() ||
            !commandLine.createDatabasePath.isEmpty()) {
            QCoreApplication core(argc, argv);
            app::keepCNumericLocale();
            return *app::runCommandLineAction(commandLine, out, err);
        }
    }

    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(shell::kOrganization));
    QCoreApplication::setApplicationName(QString::fromLatin1(shell::kApplication));
    if (!app::setUpLocale())
        qWarning("Qt's Bulgarian translation (qtbase_bg.qm) is not installed");
    // Dialogs come and go before the main window shows; none of them ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    app::SingleInstance instance(app::SingleInstance::defaultName());
    if (!instance.claim())
        return 0; // the running program has been brought to the front
    QObject::connect(&instance, &app::SingleInstance::activationRequested, &raiseActiveWindow);

    TsrSplash splash(kStartSteps);
    splash.show();
    splash.advance();

    QSettings settings = shell::userSettings();
    std::optional<app::StartedDatabase> started =
        app::runDatabaseStart(nullptr, settings, commandLine.databasePath,
                              [&splash](bool visible) { splash.setVisible(visible); });
    if (!started)
        return 1;
    store::Database& db = *started->db;
    splash.advance();
    splash.hide();

    if (shell::needsFirstPassword(db) && !shell::askFirstPassword(nullptr, db))
        return 0;
    std::optional<shell::LoggedInUser> user;
    {
        // The login dialog, and the first-login help it may have opened, go once the user is
        // in; nothing of them comes back in front of the main window later.
        TsrPass login(db);
        if (login.exec() != QDialog::Accepted)
            return 0;
        user = *login.loggedIn();
    }
    shell::Session session(*user, shell::workstationKey(settings), std::move(started->settings));

    TsrMain window(db, session);
    QObject::connect(&instance, &app::SingleInstance::activationRequested, &window,
                     &TsrMain::bringToFront);
    window.show();
    window.raise();
    window.activateWindow();
    QApplication::setQuitOnLastWindowClosed(true);
    return application.exec();
}

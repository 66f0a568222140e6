#include "app/command_line.h"
#include "app/database_start.h"
#include "app/main_window.h"
#include "shell/user_settings.h"
#include "ui/message_box.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLocale>
#include <QTextStream>
#include <cstdio>

namespace {

QStringList argumentsOf(int argc, char** argv) {
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
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
            return *app::runCommandLineAction(commandLine, out, err);
        }
    }

    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QString::fromLatin1(shell::kOrganization));
    QCoreApplication::setApplicationName(QString::fromLatin1(shell::kApplication));
    QLocale::setDefault(QLocale(QLocale::Bulgarian, QLocale::Bulgaria));

    QString path = commandLine.databasePath;
    bool createIfMissing = false;
    if (path.isEmpty()) {
        QSettings settings = shell::userSettings();
        path = settings.value(shell::keys::baseFile).toString();
        if (path.isEmpty()) {
            // First start on this computer: a new database at the default place.
            path = app::defaultDatabasePath();
            createIfMissing = true;
        }
    }

    app::StartedDatabase started;
    try {
        started = app::startDatabase(path, createIfMissing);
    } catch (const store::DbError& e) {
        ui::error(nullptr, QStringLiteral("Грешка при отварянето на базата данни!\n\n") + e.message());
        return 1;
    }
    if (commandLine.databasePath.isEmpty())
        shell::userSettings().setValue(shell::keys::baseFile, started.db->filePath());
    for (const store::UpgradeNotice& notice : started.notices)
        ui::message(nullptr, notice.caption, notice.text, ui::MessageIcon::Exclamation);

    TsrMain window(*started.db);
    window.show();
    return application.exec();
}

#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace app {

struct CommandLine {
    bool showVersion = false;
    bool showHelp = false;
    QString createDatabasePath; // --create-database PATH
    QString databasePath;       // --database PATH: this run only, the stored choice is kept
    QString error;              // unknown option or missing value
};

CommandLine parseCommandLine(const QStringList& arguments);

// Runs the actions that end the program without a window (version, help, creating a database,
// bad arguments) and returns the exit code; std::nullopt when the program should start.
std::optional<int> runCommandLineAction(const CommandLine& commandLine, QTextStream& out,
                                        QTextStream& err);

} // namespace app

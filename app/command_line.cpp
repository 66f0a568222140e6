#include "app/command_line.h"

#include "app/version.h"
#include "store/database.h"

namespace app {

namespace {

QString usage() {
    return QStringLiteral("Usage: workshop [--database PATH] [--create-database PATH] [--version]\n"
                          "  --database PATH         use this database file for this run\n"
                          "  --create-database PATH  create a new empty database and exit\n"
                          "  --version               print the program version and exit\n");
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    CommandLine cl;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString arg = arguments.at(i);
        auto value = [&](QString& target) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty()) {
                cl.error = QStringLiteral("%1 needs a file path").arg(arg);
                return;
            }
            target = arguments.at(++i);
        };
        if (arg == QLatin1String("--version") || arg == QLatin1String("-v"))
            cl.showVersion = true;
        else if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            cl.showHelp = true;
        else if (arg == QLatin1String("--create-database"))
            value(cl.createDatabasePath);
        else if (arg == QLatin1String("--database"))
            value(cl.databasePath);
        else if (arg.startsWith(QLatin1String("-platform")) ||
                 arg.startsWith(QLatin1String("-style")))
            ++i; // Qt's own options with a value
        else
            cl.error = QStringLiteral("Unknown argument: %1").arg(arg);
        if (!cl.error.isEmpty())
            break;
    }
    return cl;
}

std::optional<int> runCommandLineAction(const CommandLine& cl, QTextStream& out, QTextStream& err) {
    if (!cl.error.isEmpty()) {
        err << cl.error << "\n" << usage();
        return 2;
    }
    if (cl.showHelp) {
        out << usage();
        return 0;
    }
    if (cl.showVersion) {
        out << "workshop " << versionText() << "\n";
        return 0;
    }
    if (!cl.createDatabasePath.isEmpty()) {
        try {
            store::Database::createFile(cl.createDatabasePath);
        } catch (const store::DbError& e) {
            err << "Cannot create the database: " << e.message() << "\n";
            return 1;
        }
        out << "Created " << cl.createDatabasePath << "\n";
        return 0;
    }
    return std::nullopt;
}

} // namespace app

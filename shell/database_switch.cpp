#include "shell/database_switch.h"

#include "store/database.h"

#include <QFileInfo>
#include <QSet>
#include <exception>

namespace shell {

namespace {

using NameSet = QSet<QString>;

// The engine's own bookkeeping tables (statistics, sequences) come and go with maintenance and
// say nothing about whose database it is.
bool isEngineTable(const QString& name) {
    return name.startsWith(QStringLiteral("sqlite_"), Qt::CaseInsensitive);
}

NameSet folded(const QStringList& names) {
    NameSet set;
    for (const QString& name : names)
        set.insert(name.toCaseFolded());
    return set;
}

QStringList programTables(const store::Database& db) {
    QStringList tables = db.tables();
    tables.removeIf(isEngineTable);
    return tables;
}

bool sameStructure(const store::Database& current, const store::Database& chosen) {
    const QStringList tables = programTables(current);
    if (folded(tables) != folded(programTables(chosen)))
        return false;
    for (const QString& table : tables) {
        if (folded(current.columns(table)) != folded(chosen.columns(table)))
            return false;
    }
    return true;
}

} // namespace

QString wrongDatabaseNameText() {
    return QStringLiteral("Името на файла трябва да е \"Drumvel.mdz\"!");
}

QString foreignDatabaseText() {
    return QStringLiteral("Тази база данни не е за програмата!");
}

bool hasDatabaseFileName(const QString& path) {
    return QFileInfo(path).fileName().compare(kDatabaseFileName, Qt::CaseInsensitive) == 0;
}

std::optional<QString> databaseSwitchProblem(const store::Database& current, const QString& path) {
    if (!hasDatabaseFileName(path))
        return wrongDatabaseNameText();
    try {
        // The second connection closes when this scope ends, before anyone reopens the file.
        const std::unique_ptr<store::Database> chosen = store::Database::openFile(path);
        if (!sameStructure(current, *chosen))
            return foreignDatabaseText();
    } catch (const std::exception&) {
        // Missing, locked, damaged or not a database at all.
        return foreignDatabaseText();
    }
    return std::nullopt;
}

} // namespace shell

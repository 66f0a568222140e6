#pragma once

#include <QString>
#include <optional>

namespace store {
class Database;
}

namespace shell {

// Every database file of the program carries this name.
inline const QString kDatabaseFileName = QStringLiteral("Drumvel.mdz");

QString wrongDatabaseNameText(); // "Името на файла трябва да е "Drumvel.mdz"!"
QString foreignDatabaseText(); // "Тази база данни не е за програмата!"

// True when the file part of the path is the program's database name, letter case ignored.
bool hasDatabaseFileName(const QString& path);

// Checks a file the user wants to switch to: its name, then a second connection that must see
// exactly the tables and columns of the open database. Names are compared as sets without
// regard to letter case, since engines list them in no meaningful order. Returns the refusal
// text, or nothing when the switch may go ahead. The open database is only read.
std::optional<QString> databaseSwitchProblem(const store::Database& current, const QString& path);

} // namespace shell

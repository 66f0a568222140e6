#pragma once

#include "shell/business_settings.h"
#include "store/database.h"
#include "store/schema_upgrade.h"

#include <memory>

namespace app {

// DataBase/Drumvel.mdz under the program's data folder (the program folder is not writable
// once installed).
QString defaultDatabasePath();

struct StartedDatabase {
    std::unique_ptr<store::Database> db;
    bool created = false;
    QList<store::UpgradeNotice> notices;
    shell::BusinessSettings settings;
};

// Opens the file, brings it up to the current schema and loads the settings kept in it; when
// createIfMissing is set and the file is absent, creates a new database there (with its folder).
// Throws store::DbError when the file cannot be opened, is not a database of this program, or
// cannot be upgraded; the file is then left as it was.
StartedDatabase startDatabase(const QString& path, bool createIfMissing);

} // namespace app

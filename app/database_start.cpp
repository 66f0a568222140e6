#include "app/database_start.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace app {

QString defaultDatabasePath() {
    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QDir(dataDir).filePath(QStringLiteral("DataBase/Drumvel.mdz"));
}

StartedDatabase startDatabase(const QString& path, bool createIfMissing) {
    StartedDatabase started;
    if (createIfMissing && !QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        started.db = store::Database::createFile(path);
        started.created = true;
    } else {
        started.db = store::Database::openFile(path);
        started.notices = store::upgradeSchema(*started.db).notices;
    }
    started.settings = shell::BusinessSettings::load(*started.db);
    return started;
}

} // namespace app

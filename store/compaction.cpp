#include "store/compaction.h"

#include "store/database.h"

namespace store {

FreeSpace freeSpace(Database& db) {
    if (db.dialect().engine() != Engine::SQLite)
        return {};
    return {db.scalar(QStringLiteral("PRAGMA page_count")).toLongLong(),
            db.scalar(QStringLiteral("PRAGMA freelist_count")).toLongLong(),
            db.scalar(QStringLiteral("PRAGMA page_size")).toLongLong()};
}

bool compactionWorthIt(const FreeSpace& space) {
    constexpr qint64 kWorthwhileBytes = 1024 * 1024;
    return space.pages > 0 && space.freePages * 4 >= space.pages &&
           space.freePages * space.pageSize >= kWorthwhileBytes;
}

bool compactIfWorthIt(Database& db) {
    if (db.dialect().engine() != Engine::SQLite || db.transactionDepth() > 0)
        return false;
    try {
        if (!compactionWorthIt(freeSpace(db)))
            return false;
        db.exec(QStringLiteral("VACUUM"));
        return true;
    } catch (const DbError&) {
        return false;
    }
}

} // namespace store

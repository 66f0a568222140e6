#pragma once

#include <QtGlobal>

namespace store {

class Database;

// Unused space inside the database file.
struct FreeSpace {
    qint64 pages = 0;
    qint64 freePages = 0;
    qint64 pageSize = 0;
};

FreeSpace freeSpace(Database& db);

// Rewriting the file costs time in proportion to its size, so it is done only when a large
// share of it (a quarter) is free and that share is worth having back (at least 1 MiB).
bool compactionWorthIt(const FreeSpace& space);

// Reclaims the free space when it is worth it; returns whether the file was rewritten. A
// failure leaves the file as it was and is not reported: the program runs on regardless.
// Engines that reclaim space themselves (PostgreSQL) are left alone.
bool compactIfWorthIt(Database& db);

} // namespace store

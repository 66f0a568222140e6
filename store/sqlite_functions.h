#pragma once

class QSqlDatabase;

namespace store {

// Replaces SQLite's LIKE, lower() and upper(), which fold ASCII only, with versions that fold
// every letter, so that "иван" finds "Иван" as it does under PostgreSQL's ILIKE.
void registerSqliteFunctions(QSqlDatabase& db);

// The matcher behind LIKE: % any run, _ one character, escape makes the next one literal.
bool likeMatches(const QString& pattern, const QString& text, QChar escape);

} // namespace store

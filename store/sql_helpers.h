#pragma once

#include "store/database.h"

#include <QString>
#include <functional>
#include <optional>

namespace store {

// Patterns for Dialect::caseInsensitiveLike. A "*" typed by the user is the wildcard; "%",
// "_" and "\" typed by the user are matched literally.
QString containsPattern(const QString& userText);
QString beginsWithPattern(const QString& userText);
// The text exactly as typed: only a "*" the user typed matches anything.
QString asTypedPattern(const QString& userText);
// Exactly this text, letter case aside: a typed "*" is a plain character too.
QString literalPattern(const QString& text);
// Begins with a fixed text, no wildcard at all.
QString literalPrefixPattern(const QString& text);

// Largest number in use in table.column plus one; std::nullopt on an empty table, where the
// owning window decides where numbering starts. Table and column are program constants.
std::optional<qint64> nextNumber(Database& db, const QString& table, const QString& column);

// Draws the next number (or firstWhenEmpty) and calls insert(number) inside one transaction.
// When insert hits the unique key because another workstation took the number meanwhile, it
// is tried once more with the number after that. Returns the number used.
qint64 insertWithNextNumber(Database& db, const QString& table, const QString& column,
                            qint64 firstWhenEmpty, const std::function<void(qint64)>& insert);

// Runs an INSERT into table and returns the key the new row received (key is the table's
// auto-increment column). Both happen in one transaction, so no other insert comes between.
qint64 insertAndGetId(Database& db, const QString& table, const QString& key, const QString& sql,
                      const Binds& binds);

// sum(...) style aggregate where a null result (no rows) counts as 0.
double sumOrZero(Database& db, const QString& sql, const Binds& binds = {});

} // namespace store

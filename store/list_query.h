#pragma once

#include "store/database.h"

#include <QSqlQuery>

namespace store {

// A query for a list model: scrollable (the grid moves back and forth over it) and with bound
// values. Throws DbError when the database refuses it.
QSqlQuery listQuery(Database& db, const QString& sql, const Binds& binds = {});

} // namespace store

#pragma once

#include "store/database.h"

#include <QSqlQuery>

namespace warehouse {

// A query for a list model: scrollable (the grid moves back and forth over it) and with bound
// values. Throws DbError when the database refuses it.
QSqlQuery listQuery(store::Database& db, const QString& sql, const store::Binds& binds = {});

} // namespace warehouse

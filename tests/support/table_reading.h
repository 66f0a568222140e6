#pragma once

#include "store/database.h"

#include <QList>
#include <QString>
#include <QVariantList>

// Reading back what a test wrote or what the program under test wrote.
namespace testing {

// The first value of the query as a number (a count, a stock, a flag).
int count(store::Database& db, const QString& sql, const store::Binds& binds = {});
int rowCount(store::Database& db, const QString& table);
// Every row of a query as a list of values, to compare whole tables before and after.
QList<QVariantList> rows(store::Database& db, const QString& sql);
// Units of the part in stock.
int stockOf(store::Database& db, qint64 partId);

} // namespace testing

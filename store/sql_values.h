#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <QVariant>

namespace store {

// Storage forms of dates and times in the embedded database.
QString storageDate(const QDate& date);             // yyyy-MM-dd
QString storageTime(const QTime& time);             // HH:mm:ss
QString storageDateTime(const QDateTime& dateTime); // yyyy-MM-dd HH:mm:ss

// Reading back: accepts the native types of an engine as well as the text forms above;
// an empty or unreadable value gives an invalid date/time.
QDate dateFromDb(const QVariant& value);
QTime timeFromDb(const QVariant& value);
QDateTime dateTimeFromDb(const QVariant& value);

// Null counts as 0, as in every sum and amount the program reads.
double amountFromDb(const QVariant& value);
bool boolFromDb(const QVariant& value);

} // namespace store

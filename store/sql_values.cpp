#include "store/sql_values.h"

namespace store {

QString storageDate(const QDate& date) {
    return date.isValid() ? date.toString(QStringLiteral("yyyy-MM-dd")) : QString();
}

QString storageTime(const QTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("HH:mm:ss")) : QString();
}

QString storageDateTime(const QDateTime& dateTime) {
    return dateTime.isValid() ? dateTime.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                              : QString();
}

QDate dateFromDb(const QVariant& value) {
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDate)
        return value.toDate();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().date();
    return QDate::fromString(value.toString().left(10), QStringLiteral("yyyy-MM-dd"));
}

QTime timeFromDb(const QVariant& value) {
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QTime)
        return value.toTime();
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().time();
    const QString text = value.toString();
    // A date-time text carries the time after the blank.
    const QString timeText = text.size() > 8 ? text.section(QLatin1Char(' '), -1) : text;
    return QTime::fromString(timeText.left(8), QStringLiteral("HH:mm:ss"));
}

QDateTime dateTimeFromDb(const QVariant& value) {
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.typeId() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0));
    const QString text = value.toString();
    if (text.size() <= 10)
        return QDateTime(dateFromDb(text), QTime(0, 0));
    return QDateTime::fromString(text.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

double amountFromDb(const QVariant& value) {
    return value.isNull() ? 0.0 : value.toDouble();
}

bool boolFromDb(const QVariant& value) {
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::QString) {
        const QString t = value.toString().trimmed().toLower();
        return t == QLatin1String("true") || t == QLatin1String("1") || t == QLatin1String("-1");
    }
    return value.toLongLong() != 0;
}

} // namespace store

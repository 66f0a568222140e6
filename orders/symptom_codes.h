#pragma once

#include <QString>
#include <QStringList>

class QSqlRecord;

namespace store {
class Database;
}

// The workshop's catalogue of complaint descriptions (table Sympt_Codes).
namespace orders {

inline const QString kEmptySymptomMessage =
    QStringLiteral("Полето за описание на симптома не може да бъде празно!");

// Before a row is stored: description, group and code lose their surrounding blanks, and what
// is left empty becomes null. False when the row has no description (it must not be stored).
bool prepareSymptomRecord(QSqlRecord& record);

// The groups offered for a symptom: every brand of the vehicle catalogue.
QStringList symptomGroups(store::Database& db);

} // namespace orders

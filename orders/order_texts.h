#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// The words the windows show for an order's coded columns.
namespace orders {

// typeWarr as the new-order window and the previous-repairs list word it.
QStringList newOrderTypeTexts();
// typeWarr as the order register words it; a null or unknown code gives an empty text.
QString registerTypeText(const QVariant& typeWarr);
// typeWarr as the new-order window words it; a null or unknown code gives an empty text.
QString newOrderTypeText(const QVariant& typeWarr);
// codeGet: "REP", "PRO", "MON".
QString kindText(const QVariant& codeGet);
// porState 1..7; 0, null and 8 and above give an empty text.
QString stateText(const QVariant& porState);

inline constexpr int kStateRegistered = 1;
inline constexpr int kStateWaitingForParts = 2;

// The same words as SQL CASE expressions over a column, so that the register's grid can show,
// sort and export them without fetching every row first.
QString registerTypeCase(const QString& column);
QString kindCase(const QString& column, const QString& typeColumn);
QString stateCase(const QString& column);

} // namespace orders

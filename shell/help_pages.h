#pragma once

#include <QString>

namespace shell {

// Help topics by name, each a short HTML page in Bulgarian. Links between pages use the form
// "topic:<name>".
bool hasHelpTopic(const QString& topic);
// The page of the topic; a plain "no help" page for a topic that has none.
QString helpPage(const QString& topic);

inline const QString kHelpProgram = QStringLiteral("Предназначение_и_функции_на_програмата");
inline const QString kHelpLogin = QStringLiteral("ИмеПарола");
inline const QString kHelpOwnData = QStringLiteral("Собствени_данни");
inline const QString kHelpDeliveryLine = QStringLiteral("ДанниДоставка");
inline const QString kHelpSuppliers = QStringLiteral("ВъвежданеРедакцияНаДоставчици");

} // namespace shell

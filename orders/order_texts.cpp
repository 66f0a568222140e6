#include "orders/order_texts.h"

#include <QList>
#include <utility>

namespace orders {

namespace {

using CodeText = std::pair<int, QString>;

const QList<CodeText>& registerTypes() {
    static const QList<CodeText> texts = {{0, QStringLiteral("Негаранционен ремонт")},
                                          {1, QStringLiteral("Собствена гаранция")},
                                          {2, QStringLiteral("Външна гаранция")}};
    return texts;
}

const QList<std::pair<QString, QString>>& kinds() {
    static const QList<std::pair<QString, QString>> texts = {
        {QStringLiteral("PRO"), QStringLiteral("Профилактика")},
        {QStringLiteral("MON"), QStringLiteral("Монтаж")},
        {QStringLiteral("REP"), QStringLiteral("Ремонт")}};
    return texts;
}

const QList<CodeText>& states() {
    static const QList<CodeText> texts = {
        {1, QStringLiteral("Регистрирана")},     {2, QStringLiteral("Чака за части")},
        {3, QStringLiteral("Поправена")},        {4, QStringLiteral("Поправена със замяна")},
        {5, QStringLiteral("В друг сервиз")},    {6, QStringLiteral("Отказан ремонт")},
        {7, QStringLiteral("Непоправим дефект")}};
    return texts;
}

QString textOf(const QList<CodeText>& table, const QVariant& code) {
    if (code.isNull())
        return {};
    bool ok = false;
    const int value = code.toInt(&ok);
    if (!ok)
        return {};
    for (const auto& [c, text] : table) {
        if (c == value)
            return text;
    }
    return {};
}

// Texts are program constants without quotes, so they can stand in the SQL as literals.
QString caseOf(const QString& column, const QList<CodeText>& table) {
    QString sql = QStringLiteral("CASE %1").arg(column);
    for (const auto& [code, text] : table)
        sql += QStringLiteral(" WHEN %1 THEN '%2'").arg(code).arg(text);
    return sql + QStringLiteral(" ELSE '' END");
}

} // namespace

QStringList newOrderTypeTexts() {
    return {QStringLiteral("Негаранционен ремонт"), QStringLiteral("По собствена гаранция"),
            QStringLiteral("По външна гаранция")};
}

QString registerTypeText(const QVariant& typeWarr) {
    return textOf(registerTypes(), typeWarr);
}

QString newOrderTypeText(const QVariant& typeWarr) {
    if (typeWarr.isNull())
        return {};
    bool ok = false;
    const int code = typeWarr.toInt(&ok);
    const QStringList texts = newOrderTypeTexts();
    return ok && code >= 0 && code < texts.size() ? texts[code] : QString();
}

QString kindText(const QVariant& codeGet) {
    const QString code = codeGet.toString();
    for (const auto& [c, text] : kinds()) {
        if (c == code)
            return text;
    }
    return {};
}

QString stateText(const QVariant& porState) {
    return textOf(states(), porState);
}

QString registerTypeCase(const QString& column) {
    return caseOf(column, registerTypes());
}

QString kindCase(const QString& column, const QString& typeColumn) {
    // The kind is only worded for orders whose type is known.
    QString sql = QStringLiteral("CASE WHEN %1 IS NULL THEN ''").arg(typeColumn);
    for (const auto& [code, text] : kinds())
        sql += QStringLiteral(" WHEN %1 = '%2' THEN '%3'").arg(column, code, text);
    return sql + QStringLiteral(" ELSE '' END");
}

QString stateCase(const QString& column) {
    return caseOf(column, states());
}

} // namespace orders

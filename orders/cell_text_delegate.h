#pragma once

#include <QStyledItemDelegate>

namespace orders {

// Shows a cell the way lists print and export it: dates "dd.MM.yyyy", amounts "1 234,50",
// flags "Да"/"Не".
class CellTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override;
};

} // namespace orders

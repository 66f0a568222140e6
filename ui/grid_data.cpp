#include "ui/grid_data.h"

#include "store/money.h"
#include "ui/row_list.h"

#include <QAbstractItemModel>
#include <QDate>
#include <QDateTime>
#include <QHeaderView>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTime>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

bool isNumber(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

QVariant fromStorageText(const QString& text) {
    static const QRegularExpression date(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    static const QRegularExpression dateTime(
        QStringLiteral("^\\d{4}-\\d{2}-\\d{2}[ T]\\d{2}:\\d{2}:\\d{2}(\\.\\d+)?$"));
    static const QRegularExpression time(QStringLiteral("^\\d{2}:\\d{2}:\\d{2}$"));
    if (date.match(text).hasMatch()) {
        const QDate d = QDate::fromString(text, Qt::ISODate);
        if (d.isValid())
            return d;
    } else if (dateTime.match(text).hasMatch()) {
        QString iso = text;
        iso[10] = QLatin1Char('T');
        const QDateTime dt = QDateTime::fromString(iso, Qt::ISODateWithMs);
        if (dt.isValid())
            return dt;
    } else if (time.match(text).hasMatch()) {
        const QTime t = QTime::fromString(text, Qt::ISODate);
        if (t.isValid())
            return t;
    }
    return text;
}

// Two decimals for amounts; rates and other finer values keep their digits (up to six).
QString numberText(double value) {
    if (isAmount(value))
        return store::formatMoney(value);
    QString text = QString::number(value, 'f', 6);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    text.replace(QLatin1Char('.'), QLatin1Char(','));
    return text;
}

struct Column {
    int logical;
    const QStyledItemDelegate* delegate;
};

GridData collect(const QAbstractItemModel& model, const QList<Column>& columns,
                 const QList<int>& rows) {
    GridData data;
    for (const Column& c : columns)
        data.headers << model.headerData(c.logical, Qt::Horizontal, Qt::DisplayRole).toString();
    data.numericColumns = QList<bool>(columns.size(), true);
    QList<bool> filled(columns.size(), false);
    for (int row : rows) {
        QList<GridCell> cells;
        cells.reserve(columns.size());
        for (qsizetype i = 0; i < columns.size(); ++i) {
            const QVariant raw = model.index(row, columns[i].logical).data(Qt::DisplayRole);
            GridCell cell{normalizedCellValue(raw), {}};
            cell.text = columns[i].delegate ? columns[i].delegate->displayText(raw, QLocale())
                                            : cellText(cell.value);
            if (!cell.text.isEmpty()) {
                filled[i] = true;
                if (!isNumber(cell.value))
                    data.numericColumns[i] = false;
            }
            cells << cell;
        }
        data.rows << cells;
    }
    for (qsizetype i = 0; i < columns.size(); ++i)
        data.numericColumns[i] = data.numericColumns[i] && filled[i];
    return data;
}

} // namespace

bool isAmount(double value) {
    // Sums of many amounts drift by more than one unit in the last place; the drift grows
    // with the size of the sum.
    return std::fabs(value - store::roundMoney(value)) < std::max(1e-9, std::fabs(value) * 1e-12);
}

QVariant normalizedCellValue(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return {};
    if (value.typeId() == QMetaType::QString)
        return fromStorageText(value.toString());
    if (isNumber(value) || value.typeId() == QMetaType::QDate ||
        value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QTime ||
        value.typeId() == QMetaType::Bool)
        return value;
    return value.toString();
}

QString cellText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return {};
    case QMetaType::QDate:
        return value.toDate().toString(QStringLiteral("dd.MM.yyyy"));
    case QMetaType::QDateTime:
        return value.toDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    case QMetaType::QTime:
        return value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("Да") : QStringLiteral("Не");
    case QMetaType::Double:
    case QMetaType::Float:
        return numberText(value.toDouble());
    default:
        return value.toString();
    }
}

GridData GridData::fromView(const QTableView& view) {
    QAbstractItemModel* model = view.model();
    if (!model)
        return {};
    fetchAllRows(*model);
    QList<Column> columns;
    const QHeaderView* header = view.horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (logical < 0 || view.isColumnHidden(logical))
            continue;
        columns << Column{
            logical, qobject_cast<const QStyledItemDelegate*>(view.itemDelegateForColumn(logical))};
    }
    QList<int> rows;
    for (int row = 0; row < model->rowCount(); ++row) {
        if (!view.isRowHidden(row))
            rows << row;
    }
    return collect(*model, columns, rows);
}

GridData GridData::fromModel(QAbstractItemModel& model) {
    fetchAllRows(model);
    QList<Column> columns;
    for (int c = 0; c < model.columnCount(); ++c)
        columns << Column{c, nullptr};
    QList<int> rows;
    for (int row = 0; row < model.rowCount(); ++row)
        rows << row;
    return collect(model, columns, rows);
}

} // namespace ui

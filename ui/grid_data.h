#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class QAbstractItemModel;
class QTableView;

namespace ui {

// One cell of a list as the user sees it: the value (a number, QDate, QDateTime, QTime, bool or
// text) and the text shown for it.
struct GridCell {
    QVariant value;
    QString text;
};

// A snapshot of a list window's grid that the printer and the exporter share: the visible
// columns in their on-screen order with their headers, and every visible row.
struct GridData {
    QStringList headers;
    QList<QList<GridCell>> rows;
    // Per column: true when every filled cell holds a number (printed right-aligned).
    QList<bool> numericColumns;

    bool isEmpty() const { return rows.isEmpty(); }

    // As the view shows it: hidden columns and rows left out, moved columns in their place,
    // the text of a column's own delegate used where one is set.
    static GridData fromView(const QTableView& view);
    // Every column and row of the model. Both fetch every row a SQL model still holds back.
    static GridData fromModel(QAbstractItemModel& model);
};

// A cell value in the form the printer and exporter understand. Dates and times read straight
// from the embedded database arrive as their storage text ("2024-03-05"); those become QDate,
// QDateTime or QTime so that they print as dates and export as dates.
QVariant normalizedCellValue(const QVariant& value);
// "05.03.2024", "1 234,50", "1,9558", "Да"/"Не" ...
QString cellText(const QVariant& normalizedValue);
// True for a number shown with two decimals (an amount, perhaps with binary noise such as
// 10.089999999999998); finer values such as rates are shown with their own digits.
bool isAmount(double value);

} // namespace ui

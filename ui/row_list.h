#pragma once

#include <QStringList>
#include <QStyledItemDelegate>
#include <optional>

class QAbstractItemModel;
class QAbstractItemView;
class QSqlQuery;
class QSqlQueryModel;
class QTableView;
class QWidget;

// The pieces every list window is built from: a read-only list of whole rows whose cells show
// as they print, filled from a query, and found again by the id of a row.
namespace ui {

// Shows a cell the way lists print and export it: dates "dd.MM.yyyy", amounts "1 234,50"
// right-aligned, flags "Да"/"Не".
class CellTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

// A list of whole rows, one selected at a time, read and not edited in place, its cells shown
// as printed. A list that edits in place or selects several rows says so after this.
void prepareRowList(QAbstractItemView* view);
// A new such list under the name tests and people find it by, showing model.
QTableView* rowList(QWidget* parent, const char* name, QAbstractItemModel* model);

void setHeaders(QAbstractItemModel& model, const QStringList& headers);
// The rows of an executed query under these headers; the model reads them in batches as the
// grid scrolls.
void showRows(QSqlQueryModel& model, QSqlQuery&& query, const QStringList& headers);
// SQL models hand out rows in batches; a printout, an export or a total needs them all.
void fetchAllRows(QAbstractItemModel& model);

// Selects and shows the row whose idColumn holds id, reading further batches until it is
// found; false when no row does.
bool selectRowWithId(QTableView* view, int idColumn, qint64 id);
// The id in idColumn of the current row.
std::optional<qint64> currentRowId(const QTableView* view, int idColumn);

} // namespace ui

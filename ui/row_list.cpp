#include "ui/row_list.h"

#include "ui/grid_data.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>

namespace ui {

QString CellTextDelegate::displayText(const QVariant& value, const QLocale&) const {
    return cellText(normalizedCellValue(value));
}

void CellTextDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const QVariant value = index.data(Qt::DisplayRole);
    const int type = value.typeId();
    if (type == QMetaType::Double || type == QMetaType::Float)
        option->displayAlignment = Qt::AlignRight | Qt::AlignVCenter;
}

void prepareRowList(QAbstractItemView* view) {
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    if (auto* table = qobject_cast<QTableView*>(view))
        table->verticalHeader()->hide();
    view->setItemDelegate(new CellTextDelegate(view));
}

QTableView* rowList(QWidget* parent, const char* name, QAbstractItemModel* model) {
    auto* view = new QTableView(parent);
    view->setObjectName(QString::fromLatin1(name));
    view->setModel(model);
    prepareRowList(view);
    return view;
}

void setHeaders(QAbstractItemModel& model, const QStringList& headers) {
    for (int i = 0; i < headers.size(); ++i)
        model.setHeaderData(i, Qt::Horizontal, headers[i]);
}

void showRows(QSqlQueryModel& model, QSqlQuery&& query, const QStringList& headers) {
    model.setQuery(std::move(query));
    setHeaders(model, headers);
}

void fetchAllRows(QAbstractItemModel& model) {
    while (model.canFetchMore(QModelIndex()))
        model.fetchMore(QModelIndex());
}

bool selectRowWithId(QTableView* view, int idColumn, qint64 id) {
    QAbstractItemModel* model = view->model();
    for (int row = 0;; ++row) {
        if (row >= model->rowCount()) {
            if (!model->canFetchMore(QModelIndex()))
                return false;
            model->fetchMore(QModelIndex());
            if (row >= model->rowCount())
                return false;
        }
        const QModelIndex cell = model->index(row, idColumn);
        if (!cell.data().isNull() && cell.data().toLongLong() == id) {
            view->setCurrentIndex(model->index(row, 0));
            view->selectRow(row);
            view->scrollTo(model->index(row, 0));
            return true;
        }
    }
}

std::optional<qint64> currentRowId(const QTableView* view, int idColumn) {
    const QModelIndex current = view->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    const QVariant id = view->model()->index(current.row(), idColumn).data();
    if (id.isNull())
        return std::nullopt;
    return id.toLongLong();
}

} // namespace ui

#include "ui/named_widgets.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QTableView>

namespace ui {

QPushButton* namedButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QPushButton* namedPlainButton(QWidget* parent, const char* name, const QString& text) {
    QPushButton* button = namedButton(parent, name, text);
    button->setAutoDefault(false);
    return button;
}

QLineEdit* namedEdit(QWidget* parent, const char* name, int maxLength) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    return edit;
}

void acceptOnly(QLineEdit* edit, const QString& pattern) {
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), edit));
}

void prepareRowList(QTableView* view) {
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
}

bool selectRowWithId(QTableView* view, int idColumn, qint64 id) {
    const QAbstractItemModel* model = view->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        if (model->index(row, idColumn).data().toLongLong() == id) {
            view->selectRow(row);
            view->scrollTo(model->index(row, 0));
            return true;
        }
    }
    return false;
}

std::optional<qint64> currentRowId(const QTableView* view, int idColumn) {
    const QModelIndex current = view->currentIndex();
    if (!current.isValid())
        return std::nullopt;
    return view->model()->index(current.row(), idColumn).data().toLongLong();
}

} // namespace ui

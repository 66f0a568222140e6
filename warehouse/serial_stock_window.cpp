#include "warehouse/serial_stock_window.h"

#include "store/database.h"
#include "ui/grid_export.h"
#include "ui/row_list.h"
#include "warehouse/serial_stock.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QStandardItemModel>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

enum Column { ColType, ColPart, ColOpis, ColSN, ColumnCount };

QStandardItem* groupRow(QStandardItem* parent, const QString& text) {
    auto* group = new QStandardItem(text);
    QFont font = group->font();
    font.setBold(true);
    group->setFont(font);
    QList<QStandardItem*> row{group};
    for (int c = 1; c < ColumnCount; ++c)
        row << new QStandardItem;
    parent->appendRow(row);
    return group;
}

QList<QStandardItem*> unitRow(const warehouse::SerialUnit& unit) {
    return {new QStandardItem(unit.type), new QStandardItem(unit.part),
            new QStandardItem(unit.opis), new QStandardItem(unit.serial)};
}

void collapseRecursively(QTreeView* view, const QModelIndex& index) {
    const QAbstractItemModel* model = index.model();
    for (int row = 0; row < model->rowCount(index); ++row)
        collapseRecursively(view, model->index(row, 0, index));
    view->collapse(index);
}

// A unit belongs to its part's group; a group stands for itself.
QModelIndex focusedGroup(const QTreeView& view) {
    QModelIndex index = view.currentIndex().siblingAtColumn(0);
    if (index.isValid() && !view.model()->hasChildren(index))
        index = index.parent();
    return index;
}

QAction* menuItem(QMenu* menu, const char* name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(QString::fromLatin1(name));
    return a;
}

} // namespace

TfrmNalSN::TfrmNalSN(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TfrmNalSN"));
    setWindowTitle(QStringLiteral("Наличност по серийни номера"));
    setSizeGripEnabled(true);

    auto* toolbar = new QToolBar(this);
    eSearch_ = new QLineEdit(toolbar);
    eSearch_->setObjectName(QStringLiteral("eSearch"));
    eSearch_->setPlaceholderText(QStringLiteral("Сериен номер"));
    eSearch_->setMaximumWidth(240);
    toolbar->addWidget(eSearch_);
    auto* button1 = new QPushButton(QStringLiteral("Търси"), toolbar);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->setAutoDefault(false);
    toolbar->addWidget(button1);
    toolbar->addSeparator();
    QAction* tbItem1 = toolbar->addAction(QStringLiteral("Експорт"));
    tbItem1->setObjectName(QStringLiteral("TBItem1"));
    connect(button1, &QPushButton::clicked, this, &TfrmNalSN::search);
    connect(eSearch_, &QLineEdit::returnPressed, this, &TfrmNalSN::search);
    connect(tbItem1, &QAction::triggered, this, &TfrmNalSN::exportList);

    model_ = new QStandardItemModel(0, ColumnCount, this);
    model_->setHorizontalHeaderLabels({QStringLiteral("Тип"), QStringLiteral("Част"),
                                       QStringLiteral("Описание"), QStringLiteral("Сериен номер")});
    grid_ = new QTreeView(this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setModel(model_);
    ui::prepareRowList(grid_);
    grid_->setAlternatingRowColors(true);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);

    auto* popup = new QMenu(this);
    popup->setObjectName(QStringLiteral("PopupMenu1"));
    connect(menuItem(popup, "N1", QStringLiteral("Разгъни групата")), &QAction::triggered, this,
            &TfrmNalSN::expandFocusedGroup);
    connect(menuItem(popup, "N2", QStringLiteral("Свий групата")), &QAction::triggered, this,
            &TfrmNalSN::collapseFocusedGroup);
    popup->addSeparator();
    connect(menuItem(popup, "N4", QStringLiteral("Разгъни всички")), &QAction::triggered, grid_,
            &QTreeView::expandAll);
    connect(menuItem(popup, "N5", QStringLiteral("Свий всички")), &QAction::triggered, grid_,
            &QTreeView::collapseAll);
    connect(grid_, &QWidget::customContextMenuRequested, this,
            [this, popup](const QPoint& at) { popup->popup(grid_->viewport()->mapToGlobal(at)); });

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(toolbar);
    layout->addWidget(grid_);
    resize(760, 520);
}

void TfrmNalSN::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    eSearch_->clear();
    load({});
    eSearch_->setFocus();
}

void TfrmNalSN::search() {
    eSearch_->setText(eSearch_->text().trimmed());
    load(eSearch_->text());
}

// One group per type, within it one per part, the units under their part.
void TfrmNalSN::load(const QString& searchText) {
    model_->removeRows(0, model_->rowCount());
    QStandardItem* root = model_->invisibleRootItem();
    QStandardItem* type = nullptr;
    QStandardItem* part = nullptr;
    std::optional<QString> typeName;
    std::optional<qint64> partId;
    for (const warehouse::SerialUnit& unit : warehouse::serialUnitsInStock(db_, searchText)) {
        if (unit.type != typeName) {
            typeName = unit.type;
            partId.reset();
            type = groupRow(root, unit.type);
        }
        if (unit.partId != partId) {
            partId = unit.partId;
            part = groupRow(type, unit.part);
        }
        part->appendRow(unitRow(unit));
    }
    // A group row reads across the whole grid.
    for (int t = 0; t < root->rowCount(); ++t) {
        grid_->setFirstColumnSpanned(t, QModelIndex(), true);
        const QModelIndex typeIndex = model_->index(t, 0);
        for (int p = 0; p < model_->rowCount(typeIndex); ++p)
            grid_->setFirstColumnSpanned(p, typeIndex, true);
    }
    grid_->expandAll();
    for (int c = 0; c < ColumnCount; ++c)
        grid_->resizeColumnToContents(c);
    if (root->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(0, 0));
}

ui::GridData TfrmNalSN::listedUnits() const {
    ui::GridData data;
    for (int c = 0; c < ColumnCount; ++c)
        data.headers << model_->headerData(c, Qt::Horizontal).toString();
    data.numericColumns = QList<bool>(ColumnCount, false);
    const QStandardItem* root = model_->invisibleRootItem();
    for (int t = 0; t < root->rowCount(); ++t) {
        const QStandardItem* type = root->child(t);
        for (int p = 0; p < type->rowCount(); ++p) {
            const QStandardItem* part = type->child(p);
            for (int u = 0; u < part->rowCount(); ++u) {
                QList<ui::GridCell> cells;
                for (int c = 0; c < ColumnCount; ++c) {
                    const QString text = part->child(u, c)->text();
                    cells << ui::GridCell{text, text};
                }
                data.rows << cells;
            }
        }
    }
    return data;
}

void TfrmNalSN::exportList() {
    const ui::GridData data = listedUnits();
    if (data.isEmpty())
        return;
    ui::ExportOptions options;
    options.proposedName = QStringLiteral("nal_serials");
    ui::exportGrid(this, data, options);
}

void TfrmNalSN::expandFocusedGroup() {
    const QModelIndex group = focusedGroup(*grid_);
    if (group.isValid())
        grid_->expandRecursively(group);
}

void TfrmNalSN::collapseFocusedGroup() {
    const QModelIndex group = focusedGroup(*grid_);
    if (!group.isValid())
        return;
    collapseRecursively(grid_, group);
    grid_->setCurrentIndex(group);
}

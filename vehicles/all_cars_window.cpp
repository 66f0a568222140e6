#include "vehicles/all_cars_window.h"

#include "store/database.h"
#include "ui/message_box.h"
#include "vehicles/vehicle_catalogue.h"

#include <QAction>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QSqlQuery>
#include <QStandardItemModel>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

enum Column { ColMarka, ColModel, ColModification, ColPeriod, ColEngine, ColCcm, ColKw };
constexpr int kRowIdRole = Qt::UserRole + 1;

QStandardItem* readOnly(const QString& text) {
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    return item;
}

void expandRecursively(QTreeView* tree, const QModelIndex& index, bool expand) {
    if (!index.isValid())
        return;
    expand ? tree->expandRecursively(index) : tree->collapse(index);
    if (!expand) {
        const QAbstractItemModel* m = index.model();
        for (int r = 0; r < m->rowCount(index); ++r)
            expandRecursively(tree, m->index(r, 0, index), false);
    }
}

} // namespace

TfrmAllCars::TfrmAllCars(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TfrmAllCars"));
    setWindowTitle(QStringLiteral("Всички автомобили"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    model_ = new QStandardItemModel(this);
    model_->setHorizontalHeaderLabels({QStringLiteral("Марка"), QStringLiteral("Модел"),
                                       QStringLiteral("Модификация"), QStringLiteral("Период"),
                                       QStringLiteral("Двигател"), QStringLiteral("ccm"),
                                       QStringLiteral("kW")});
    tree_ = new QTreeView(this);
    tree_->setObjectName(QStringLiteral("grid"));
    tree_->setModel(model_);
    tree_->setAlternatingRowColors(true);
    tree_->setContextMenuPolicy(Qt::ActionsContextMenu);
    tree_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);

    auto addAction = [this](const char* name, const QString& text, auto slot) {
        auto* action = new QAction(text, tree_);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        tree_->addAction(action);
    };
    addAction("N1", QStringLiteral("Разгъване на групата"), &TfrmAllCars::expandFocused);
    addAction("N2", QStringLiteral("Свиване на групата"), &TfrmAllCars::collapseFocused);
    addAction("N4", QStringLiteral("Разгъване на всички"), [this] { tree_->expandAll(); });
    addAction("N5", QStringLiteral("Свиване на всички"), [this] { tree_->collapseAll(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    load();
    connect(model_, &QStandardItemModel::itemChanged, this, &TfrmAllCars::saveEngineData);

    resize(1000, 600);
    if (const QScreen* screen = QGuiApplication::primaryScreen();
        screen && screen->size().width() <= 1024)
        setWindowState(Qt::WindowMaximized);
}

void TfrmAllCars::load() {
    loading_ = true;
    model_->removeRows(0, model_->rowCount());
    QSqlQuery q = db_.exec(QStringLiteral(
        "SELECT c.ID, b.Marka, m.Model, c.Modification, c.period, c.engine, c.ccm, c.kw "
        "FROM car_modifications c LEFT JOIN marka b ON b.id = c.idMarka "
        "LEFT JOIN models m ON m.id = c.idModel ORDER BY b.Marka, m.Model, c.ID"));
    QStandardItem* brand = nullptr;
    QStandardItem* modelItem = nullptr;
    while (q.next()) {
        const QString brandName = q.value(1).toString();
        const QString modelName = q.value(2).toString();
        if (!brand || brand->text() != brandName) {
            brand = readOnly(brandName);
            model_->appendRow(brand);
            modelItem = nullptr;
        }
        if (!modelItem || modelItem->data(Qt::UserRole).toString() != modelName) {
            // The model's name shows in the model column; its rows hang under column 0.
            modelItem = readOnly(QString());
            modelItem->setData(modelName, Qt::UserRole);
            brand->appendRow({modelItem, readOnly(modelName)});
        }
        QList<QStandardItem*> row = {readOnly(QString()),
                                     readOnly(QString()),
                                     readOnly(q.value(3).toString()),
                                     readOnly(q.value(4).toString()),
                                     new QStandardItem(q.value(5).toString()),
                                     new QStandardItem(q.value(6).toString()),
                                     new QStandardItem(q.value(7).toString())};
        for (QStandardItem* item : row)
            item->setData(q.value(0).toLongLong(), kRowIdRole);
        modelItem->appendRow(row);
    }
    tree_->collapseAll();
    for (int c = 0; c < model_->columnCount(); ++c)
        tree_->resizeColumnToContents(c);
    if (model_->rowCount() > 0)
        tree_->setCurrentIndex(model_->index(0, 0));
    loading_ = false;
}

void TfrmAllCars::saveEngineData(QStandardItem* item) {
    if (loading_ || item->column() < ColEngine)
        return;
    const QVariant rowId = item->data(kRowIdRole);
    if (!rowId.isValid())
        return;
    QStandardItem* parent = item->parent();
    const int r = item->row();
    try {
        vehicles::updateEngineData(
            db_, rowId.toLongLong(), parent->child(r, ColEngine)->text().trimmed(),
            parent->child(r, ColKw)->text().trimmed(), parent->child(r, ColCcm)->text().trimmed());
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

void TfrmAllCars::expandFocused() {
    expandRecursively(tree_, tree_->currentIndex().siblingAtColumn(0), true);
}

void TfrmAllCars::collapseFocused() {
    expandRecursively(tree_, tree_->currentIndex().siblingAtColumn(0), false);
}

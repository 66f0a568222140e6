#pragma once

#include <QDialog>

class QStandardItem;
class QStandardItemModel;
class QTreeView;

namespace store {
class Database;
}

// Overview of the whole vehicle catalogue, grouped by brand and model. Engine, power and
// displacement can be corrected here; nothing else writes them.
class TfrmAllCars : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAllCars(store::Database& db, QWidget* parent = nullptr);

    QTreeView* tree() const { return tree_; }
    QStandardItemModel* model() const { return model_; }

public Q_SLOTS:
    void expandFocused();
    void collapseFocused();

private:
    void load();
    void saveEngineData(QStandardItem* item);

    store::Database& db_;
    QStandardItemModel* model_;
    QTreeView* tree_;
    bool loading_ = false;
};

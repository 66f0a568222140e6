#pragma once

#include "warehouse/discounts.h"

#include <QDialog>

class QAction;
class QPushButton;
class QSqlTableModel;
class QTableView;

namespace store {
class Database;
}

// The discounts table, edited in the grid: per part maker and type the suppliers' discount and
// the goods discount. A row is stored only when it is complete and its pair is not taken.
class TfrmDiscounts : public QDialog {
    Q_OBJECT
public:
    explicit TfrmDiscounts(store::Database& db, QWidget* parent = nullptr);

    // A row is being typed in or changed and is not stored yet.
    bool isEditing() const;

public Q_SLOTS:
    void insertRow();
    // Stores the edited row; false (and the row stays in edit) when it is refused.
    bool storeRow();
    void cancelEdit();
    void deleteRow();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void reload();
    void reloadNames();
    void openNames(QDialog& names);
    void closeOpenEditor(bool commit);
    int editedRow() const;
    void reopen(int row, int column);
    warehouse::DiscountRow rowAt(int row) const;
    void currentRowChanged(const QModelIndex& current, const QModelIndex& previous);
    void updateState();

    store::Database& db_;
    QSqlTableModel* model_;
    QTableView* grid_;
    int makerColumn_;
    int typeColumn_;
    QAction* mnExit_;
    QAction* btnMarka_;
    QAction* btnTypes_;
    QPushButton* nbInsert_;
    QPushButton* nbDelete_;
    QPushButton* nbPost_;
    QPushButton* nbCancel_;
    bool quiet_ = false; // the window moves the cursor itself
};

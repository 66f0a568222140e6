#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace store {
class Database;
}
namespace ui {
class OptionalDateEdit;
}

// How many of each part the chosen orders hold.
class TsrPartsPor : public QDialog {
    Q_OBJECT
public:
    explicit TsrPartsPor(store::Database& db, QWidget* parent = nullptr);

    int resultRows() const;

public Q_SLOTS:
    void runReport();
    void printList();
    void exportList();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void filterChosen(int index);
    void firstDateChanged();
    void secondDateChanged();

    store::Database& db_;
    QComboBox* cmbFilt_;
    ui::OptionalDateEdit* date1_;
    ui::OptionalDateEdit* date2_;
    QPushButton* btnSpr_;
    QPushButton* btnExit_;
    QStandardItemModel* model_;
    QTableView* grid_;
};

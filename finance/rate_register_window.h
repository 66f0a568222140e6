#pragma once

#include <QDialog>

class QStandardItemModel;
class QTableView;

namespace store {
class Database;
}

// Every exchange-rate row, newest first. Rows are added only through the rate dialog.
class TsrCourse : public QDialog {
    Q_OBJECT
public:
    // Columns of the grid `grid`: the date (gridDate), USD (grid2) and EUR (grid3).
    enum Column { gridDate = 0, grid2 = 1, grid3 = 2 };

    explicit TsrCourse(store::Database& db, QWidget* parent = nullptr);

    // Reads the rows again.
    void reload();
    const QStandardItemModel& model() const { return *model_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    store::Database& db_;
    QStandardItemModel* model_;
    QTableView* grid_;
};

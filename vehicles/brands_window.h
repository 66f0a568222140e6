#pragma once

#include <QDialog>

class QSqlTableModel;
class QTableView;

namespace store {
class Database;
}

// The catalogue's car brands as a plain editable list.
class TfrmArtsMarks : public QDialog {
    Q_OBJECT
public:
    explicit TfrmArtsMarks(store::Database& db, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    QSqlTableModel* model_;
    QTableView* grid_;
};

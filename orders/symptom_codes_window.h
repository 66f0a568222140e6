#pragma once

#include <QDialog>
#include <QVariant>
#include <optional>

class QPushButton;
class QSqlTableModel;
class QTableView;

namespace store {
class Database;
}

// The symptom codes, edited in the grid; the new-order window also picks one from here.
class TfrmSymp : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Browse, Pick };

    struct Symptom {
        QString description;
        QVariant group; // null: no group
        QVariant code;  // null: no code
    };

    TfrmSymp(store::Database& db, Mode mode, QWidget* parent = nullptr);

    // The current row; empty on an empty list.
    std::optional<Symptom> chosenSymptom() const;
    // A row is being typed in and not stored yet.
    bool isEditing() const;

public Q_SLOTS:
    void addRow();
    bool storeRows();
    void cancelEdit();
    void deleteRow();
    void printList();
    void exportList();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void updateButtons();
    void currentRowChanged(const QModelIndex& current, const QModelIndex& previous);

    store::Database& db_;
    Mode mode_;
    QSqlTableModel* model_;
    QTableView* grid_;
    QPushButton* btnOk_;
    QPushButton* btnPrn_;
    QPushButton* btnExp_;
    QPushButton* btnExit_;
    QPushButton* btnPost_;
    QPushButton* btnCancelEdit_;
    bool returning_ = false;
};

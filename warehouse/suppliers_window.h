#pragma once

#include <QDialog>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;

namespace store {
class Database;
}

// The suppliers register.
class TsrDost : public QDialog {
    Q_OBJECT
public:
    explicit TsrDost(store::Database& db, QWidget* parent = nullptr);

    std::optional<qint64> currentSupplierId() const;
    bool isEditing() const { return editing_; }

public Q_SLOTS:
    void newSupplier();
    void editSupplier();
    void saveSupplier();
    void cancelEdit();

protected:
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void reload(std::optional<qint64> focusId = std::nullopt);
    void setEditing(bool editing);

    store::Database& db_;
    qint64 editedId_ = 0;
    bool editing_ = false;
    QSqlQueryModel* model_;
    QTableView* grid_;
    QPushButton* btnIns_;
    QPushButton* btnEdit_;
    QPushButton* btnExit_;
    QFrame* panel_;
    QLabel* lbName_;
    QLineEdit* dbPart_;
    QPlainTextEdit* dbOpis_;
    QPushButton* btnRec_;
    QPushButton* btnCancel_;
};

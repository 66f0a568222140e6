#pragma once

#include "invoicing/client_firms.h"

#include <QDialog>
#include <optional>

class QDoubleSpinBox;
class QFrame;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;

namespace store {
class Database;
}

// The clients register: the list of client firms and a panel to add or change one.
class TsmPeoples : public QDialog {
    Q_OBJECT
public:
    explicit TsmPeoples(store::Database& db, QWidget* parent = nullptr);

    // Opened from an invoice: that client is opened for editing at once.
    void startEditingFirm(qint64 id);
    // Opened from a new order: the firm of that name is shown, or a new firm of that name is
    // started with the cursor in the tax number.
    void openWithClientName(const QString& name);

    std::optional<qint64> currentFirmId() const;
    bool isEditing() const { return editing_; }

public Q_SLOTS:
    void newFirm();
    void editFirm();
    void deleteFirm();
    void printList();
    void exportList();
    void saveFirm();
    void cancelEdit();

protected:
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildList();
    void buildPanel();
    void reload(std::optional<qint64> focusId = std::nullopt);
    void selectFirm(qint64 id);
    void showPanel(const invoicing::ClientFirm& firm);
    void hidePanel();
    invoicing::ClientFirm panelFirm() const;
    QLineEdit* fieldFor(invoicing::FirmField field) const;

    store::Database& db_;
    QSqlQueryModel* model_;
    QTableView* grid_;
    QPushButton* btnNew_;
    QPushButton* btnEdit_;
    QPushButton* btnDel_;
    QFrame* panel_;
    QLineEdit* eName_;
    QLineEdit* eDN_;
    QLineEdit* eBStat_;
    QLineEdit* eAdres_;
    QLineEdit* eMOL_;
    QLineEdit* eContact_;
    QLineEdit* ePhone_;
    QLineEdit* eMail_;
    QLineEdit* eWeb_;
    QPlainTextEdit* eMemo_;
    QDoubleSpinBox* eOtst_;
    QDoubleSpinBox* eOtstTrud_;
    QPushButton* btnRec_;
    bool editing_ = false;
    qint64 editedId_ = 0;
    QPoint dragOffset_;
};

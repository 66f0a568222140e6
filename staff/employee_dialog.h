#pragma once

#include "staff/employees.h"

#include <QDialog>
#include <QList>
#include <optional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace store {
class Database;
}

// Entering or changing one employee: name, kind, pay, status, login, rights and the
// technician's rates. It closes only through a successful save or through cancel.
class TsrAddClerk : public QDialog {
    Q_OBJECT
public:
    // Without an id a new employee is entered.
    TsrAddClerk(store::Database& db, std::optional<qint64> id, QWidget* parent = nullptr);

    // The rights as the tree shows them, one state digit per node in tree order.
    QString treeRights() const;
    QTreeWidgetItem* rightsNode(int position) const;
    const staff::Employee& employee() const { return employee_; }

public Q_SLOTS:
    void reject() override;

private:
    void buildFields();
    void showEmployee();
    void showRights(const QString& rights);
    void nodeChanged(QTreeWidgetItem* item);
    void applyKindRule();
    void levelChosen(int level);
    void save();
    void cancel();

    store::Database& db_;
    staff::Employee employee_;
    bool showing_ = false;
    QList<QTreeWidgetItem*> nodes_; // position 1 at index 0

    QLineEdit* eName_ = nullptr;
    QComboBox* cmbWorker_ = nullptr;
    QLineEdit* ePay_ = nullptr;
    QComboBox* cmbStatus_ = nullptr;
    QLineEdit* eNick_ = nullptr;
    QLineEdit* ePass_ = nullptr;
    QComboBox* cmbPrefs_ = nullptr;
    QPlainTextEdit* memo_ = nullptr;
    QTreeWidget* chkTree_ = nullptr;
    QLineEdit* eNorm_ = nullptr;
    QLineEdit* eWarr_ = nullptr;
    QLineEdit* eProc_ = nullptr;
    QPushButton* btnRec_ = nullptr;
    QPushButton* btnCancel_ = nullptr;
};

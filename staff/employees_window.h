#pragma once

#include <QDialog>
#include <optional>

class QCheckBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QWidget;

namespace store {
class Database;
}

// The employees register: working and departed employees, with a panel that sets the labour
// rates or the personal percentage of every working technician at once.
class TsrClerks : public QDialog {
    Q_OBJECT
public:
    // Columns of grNames.
    enum Column {
        grNamesName,
        grNamesPay,
        grNamesworker,
        grNamesStatus,
        grNamesH1,
        grNamesH2,
        grNamesPercent,
        ColumnCount
    };

    explicit TsrClerks(store::Database& db, QWidget* parent = nullptr);

    std::optional<qint64> currentEmployeeId() const;
    void selectEmployee(qint64 id);

public Q_SLOTS:
    void newEmployee();
    void editEmployee();
    void bestFit();
    void reject() override;

private:
    void buildList();
    void buildRatePanel();
    void reload();
    void editInDialog(std::optional<qint64> id);
    void openRatePanel();
    void closeRatePanel();
    void setRates(int field);

    store::Database& db_;
    QWidget* listPanel_ = nullptr;
    QWidget* buttonPanel_ = nullptr;
    QTreeWidget* grNames_ = nullptr;
    QCheckBox* chkInfo_ = nullptr;
    QPushButton* brnIns_ = nullptr;
    QFrame* p1_ = nullptr;
    QLineEdit* e1_ = nullptr;
    QLineEdit* e2_ = nullptr;
    QLineEdit* e3_ = nullptr;
};

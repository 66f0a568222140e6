#pragma once

#include "orders/order_checks.h"
#include "orders/order_work.h"

#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;
class QWidget;
class TfrmWorkOp;

namespace store {
class Database;
}
namespace shell {
class Session;
}

// Where the work on a repair order is booked and the order is reported and paid: parts only,
// report (parts, labour, fee, discount, ready) or payment.
class TfrmOtchet : public QDialog {
    Q_OBJECT
public:
    TfrmOtchet(store::Database& db, shell::Session& session, QWidget* parent = nullptr);
    ~TfrmOtchet() override;

    // Runs the opening steps for the order in the mode; false when the order does not exist.
    bool openOrder(qint64 idPor, orders::OrderMode mode);
    orders::OrderMode mode() const { return mode_; }
    qint64 orderId() const { return idPor_; }
    const orders::OrderMoney& money() const { return money_; }

    // Shows the repair card of an order (the documents' window); offered after marking ready.
    void setRepairCardCommand(std::function<void(qint64)> command) {
        repairCard_ = std::move(command);
    }

    static QString titleFor(orders::OrderMode mode, int orderType);

Q_SIGNALS:
    // Each status text as the status line shows it while a step runs.
    void statusShown(const QString& text);

public Q_SLOTS:
    void addPart();
    void removePart();
    void addLabour();
    void removeLabour();
    void markReady();
    void pay();

private:
    void buildParts();
    void buildLabour();
    void buildMoney();
    void buildButtons();
    void applyMode();
    void fillTechnicians();
    void loadLines();
    void loadPartLines();
    void loadLabourLines();
    void showStatus(const QString& text);
    orders::StatusReport statusReport();
    void refused(const QString& text);
    void showCurrentState();
    void showMoney(const QLineEdit* typedInto = nullptr);
    void applyChange(const orders::OrderMoney& changed);
    orders::MoneyContext context() const;
    void addStockPart();
    void addExternalPart();
    bool runChecks(const QList<orders::OrderCheck>& checks);
    void focusFee();
    void feeEdited();
    void discountEdited();
    void amountEdited();
    std::optional<qint64> currentLine(QTableView* grid, QSqlQueryModel* model) const;

    store::Database& db_;
    shell::Session& session_;
    orders::OrderMode mode_ = orders::OrderMode::Report;
    qint64 idPor_ = 0;
    orders::OrderHead head_;
    orders::ClientDiscounts client_;
    orders::OrderMoney money_;
    double tmpSuma_ = 0;
    std::function<void(qint64)> repairCard_;
    TfrmWorkOp* workOp_ = nullptr;

    QComboBox* listMode_;
    QLineEdit* dxDBEdit1_;
    QComboBox* cmbState_;
    QComboBox* cmbClerks_;
    QComboBox* cmbPay_;
    QCheckBox* chkPrnCard_;
    QLabel* lb_;
    QWidget* panParts_;
    QTableView* gridParts_;
    QSqlQueryModel* partsModel_;
    QPushButton* btnAddPart_;
    QPushButton* btnDelPart_;
    QWidget* panTrud_;
    QTableView* grTrud_;
    QSqlQueryModel* labourModel_;
    QPushButton* addWorkOp_;
    QPushButton* delWork_;
    QLineEdit* eParts_;
    QLineEdit* eTrudClient_;
    QLineEdit* eTrudClerk_;
    QLineEdit* eTaksa_;
    QLineEdit* eDiscParts_;
    QLineEdit* eDiscJobs_;
    QLineEdit* eOtst_;
    QLineEdit* eSuma_;
    QPushButton* btnReady_;
    QPushButton* btnPay_;
    QPushButton* btnExit_;
};

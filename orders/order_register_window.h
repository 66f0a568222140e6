#pragma once

#include "orders/order_register.h"

#include <QDialog>
#include <functional>
#include <optional>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QSqlQueryModel;
class QTableView;
class QWidget;

namespace store {
class Database;
}
namespace shell {
class Session;
class BusinessSettings;
} // namespace shell
namespace ui {
class OptionalDateEdit;
}

// The register of repair orders: selection by criteria or fixed reports, the list with its
// totals, and the commands on the current order.
class TfrmSprPor : public QDialog {
    Q_OBJECT
public:
    // Works on one order; wired by the main window to the order-report and document windows.
    using OrderCommand = std::function<void(qint64 idPor)>;

    TfrmSprPor(store::Database& db, const shell::Session& session,
               const shell::BusinessSettings& settings, QWidget* parent = nullptr);

    void setReportCommand(OrderCommand command);
    void setPartsCommand(OrderCommand command);
    void setPaymentCommand(OrderCommand command);
    void setPrintServiceOrder(OrderCommand command);
    void setPrintRepairCard(OrderCommand command);

    std::optional<qint64> currentOrder() const;
    QString filterText() const;
    int listedRows() const;
    // Selects the order when it is in the list.
    bool selectOrder(qint64 idPor);
    // Opens on the orders of one car: its registration number as the criterion, searched at once.
    void searchRegistrationNumber(const QString& regNo) { pendingRegNo_ = regNo; }

public Q_SLOTS:
    void search();
    void runReport();
    void showReport();
    void showParts();
    void showPayment();
    void printServiceOrder();
    void printRepairCard();
    void editHeader();
    void changeType();
    void waitForParts();
    void restoreOrder();
    void printList();
    void exportList();
    void saveLayout();
    void toggleInfo();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildCriteria();
    void buildReports();
    void buildList();
    void buildCommands();
    void resetForShowing();
    void porNoEdited(const QString& text);
    void reportChosen();
    void keepPeriod(ui::OptionalDateEdit* edited, ui::OptionalDateEdit* from,
                    ui::OptionalDateEdit* to);
    void run(const orders::Selection& selection);
    void reload(std::optional<qint64> keep);
    void updateCommands();
    void updateInfo();
    void updateTotals();
    void runOrderCommand(const OrderCommand& command);
    void saveNote();
    QVariant currentValue(int column) const;
    void restoreLayout();
    void applyFixedColumns();
    void fillColumnMenu();

    store::Database& db_;
    const shell::Session& session_;
    const shell::BusinessSettings& settings_;
    const bool seesProfit_;
    OrderCommand report_;
    OrderCommand parts_;
    OrderCommand payment_;
    OrderCommand printServiceOrder_;
    OrderCommand printRepairCard_;
    std::optional<orders::Selection> selection_;

    QWidget* pFilt_;
    QPushButton* btnFilt_;
    QGroupBox* criteria_;
    QGroupBox* reports_;
    QLineEdit* ePorNo_;
    QLineEdit* eNames_;
    QLineEdit* eAdres_;
    QLineEdit* ePhone_;
    QComboBox* eMarka_;
    QLineEdit* eModel_;
    QLineEdit* eRegNo_;
    QComboBox* eClerk_;
    QLineEdit* eCouppe_;
    QLineEdit* eEngine_;
    ui::OptionalDateEdit* fdate1_;
    ui::OptionalDateEdit* fdate2_;
    QList<QRadioButton*> reportButtons_;
    ui::OptionalDateEdit* date1_;
    ui::OptionalDateEdit* date2_;
    QLabel* lbFilter_;
    QSqlQueryModel* model_;
    QTableView* grid_;
    QLabel* lbTotals_;
    QLabel* pMess_;
    QWidget* pInfo_;
    QSqlQueryModel* partsModel_;
    QSqlQueryModel* labourModel_;
    QTableView* dxDBGrid2_;
    QTableView* grTrud_;
    QLineEdit* memoNote_;
    QMenu* popup_;
    QMenu* columnMenu_;
    QPushButton* btnOtchet_;
    QPushButton* btnParts_;
    QPushButton* btnPay_;
    QPushButton* btnEditPor_;
    QPushButton* btnRestore_;
    QPushButton* prnGrid_;
    QPushButton* prnPor_;
    QList<QAction*> reportActions_;
    QList<QAction*> partsActions_;
    QList<QAction*> payActions_;
    QList<QAction*> prnPorActions_;
    QAction* popPrnCard_;
    QAction* mnChngType_;
    QAction* mnWaitPart_;
    QAction* mnNotReady_;
    QAction* mnInfo_;
    QList<QAction*> listActions_;
    QString pendingRegNo_;
};

#pragma once

#include "orders/labour_pricing.h"

#include <QDialog>
#include <QList>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace store {
class Database;
}
namespace shell {
class Session;
}
namespace vehicles {
class VehiclePickChain;
}
namespace orders {
class OperationsModel;
class OperationsTree;
} // namespace orders

// The catalogue of work operations under the classification tree. In order mode it returns
// one priced labour entry with the technician who did the work.
class TfrmWorkOp : public QDialog {
    Q_OBJECT
public:
    TfrmWorkOp(store::Database& db, const shell::Session& session, QWidget* parent = nullptr);
    ~TfrmWorkOp() override;

    // The confirmed labour entry of order mode.
    struct LabourChoice {
        orders::LabourEntry entry;
        std::optional<qint64> operationId; // a catalogue operation
        QString technician;
    };

    // Order mode for the next showing: one entry for an order of this type, done by one of
    // these technicians (the first is preselected). Closing the window ends order mode.
    void setOrderMode(int orderType, const QStringList& technicians);
    bool inOrderMode() const { return orderMode_; }
    std::optional<LabourChoice> choice() const { return choice_; }

    std::optional<qint64> currentNode() const;
    bool selectNode(qint64 id);
    QList<qint64> selectedOperations() const;
    bool selectOperation(qint64 id);
    int listedOperations() const;
    QString statusText() const;

    // What a drop on the tree does (the tree control calls these).
    void dropOperationsOn(const QList<qint64>& ids, qint64 nodeId);
    void dropNodeOn(qint64 nodeId, qint64 targetId);

public Q_SLOTS:
    void addNode();
    void addChild();
    void deleteNode();
    void newOperation();
    void editOperation();
    void deleteOperations();
    void saveOperation();
    void cancelOperation();
    void saveBrand();
    void cancelBrand();
    void go();
    void searchCode();
    void printAll();
    void printList();
    void exportList();
    void exportAll();
    void openEntry();
    void confirmEntry();
    void closeEntry();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTree();
    void buildList();
    void buildCommands();
    void buildBrandPanel();
    void buildOperationPanel();
    void buildEntryPanel();
    void reloadTree(std::optional<qint64> keep);
    void nodeChanged();
    void loadList();
    void loadQuery(const QString& sql, const QVariantMap& binds);
    void updateNodeCommands();
    void applyRights();
    void applyPayMode();
    void setPanel(QFrame* panel);
    bool panelOpen() const;
    void treeItemChanged(QTreeWidgetItem* item, int column);
    void treeEditorClosed();
    void refuseNode();
    void computeEntry();
    void showEntry();
    void remember(QLineEdit* field);
    void applyFactor(QLineEdit* field);
    void setPricesEditable(bool editable);
    std::optional<qint64> currentOperationId() const;
    orders::PayMode payMode() const;

    store::Database& db_;
    const shell::Session& session_;
    bool orderMode_ = false;
    int orderType_ = 0;
    std::optional<LabourChoice> choice_;
    std::optional<qint64> editingId_; // the operation the panel edits; empty for a new one
    bool draggingOrLoading_ = false;
    double remembered_ = 0;
    orders::LabourEntry entry_;

    orders::OperationsTree* tree_;
    orders::OperationsModel* model_;
    QTableView* gridOp_;
    QLabel* status_;
    QLineEdit* eSearch_;
    QPushButton* btnGo_;
    QPushButton* btnAdd_;
    QPushButton* btnAddChild_;
    QPushButton* btnDelete_;
    QPushButton* opNew_;
    QPushButton* opEdit_;
    QPushButton* opDelete_;
    QAction* mnDrag_;
    QAction* mnEditPrices_;
    QWidget* panButtons_;

    QFrame* addRoot_;
    QComboBox* eMarka_;
    vehicles::VehiclePickChain* brandChain_;

    QFrame* addOp_;
    QLineEdit* eCode_;
    QLineEdit* eOp_;
    QLineEdit* clientPrice_;
    QLineEdit* workerPrice_;
    QLineEdit* warrantyPrice_;
    QLineEdit* eTime_;

    QFrame* pInsert_;
    QComboBox* cmbClerks_;
    QRadioButton* rb1_;
    QRadioButton* rb2_;
    QLineEdit* eInsOp_;
    QLineEdit* clPrice_;
    QLineEdit* payClerk_;
    QLineEdit* wTime_;
    QLabel* wTimeLabel_;
    QLineEdit* eCoef_;
};

#pragma once

#include "invoicing/client_field_controls.h"

#include "vehicles/car_register.h"

#include <QDialog>
#include <functional>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;
class QWidget;

namespace store {
class Database;
}

namespace vehicles {
class VehiclePickChain;
}

// The car register: the clients' cars, one per registration number, with a panel to add or
// change one. Opened from an order or an inspection it also serves to pick a car.
class TsrCar : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Register, Picker };

    TsrCar(store::Database& db, Mode mode, QWidget* parent = nullptr);
    ~TsrCar() override;

    // Shows the orders of a car (the order register filtered on its registration number).
    void setOrdersOfCar(std::function<void(const QString& regNo)> show);

    // The car taken with BitBtn4, a double click or Enter; nothing when the register was left
    // any other way, so the calling window keeps what the user typed.
    std::optional<vehicles::Car> chosenCar() const { return chosen_; }
    std::optional<qint64> currentCarId() const;
    bool isEditing() const;

public Q_SLOTS:
    void addCar();
    void editCar();
    void saveCar();
    void cancelEdit();
    void takeCar();
    void printList();
    void showOrders();
    void chooseOwner();

protected:
    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    invoicing::ClientFields ownerFields() const;
    void buildList();
    void buildPanel();
    void reload(std::optional<qint64> focusId = std::nullopt);
    void selectCar(qint64 id);
    void openPanel(const QString& mode);
    void closePanel();
    void restoreStoredChoice(QComboBox* field, const QString& stored,
                             void (vehicles::VehiclePickChain::*leave)());
    void ownerNameLeft();
    vehicles::Car panelCar() const;
    QWidget* fieldFor(vehicles::CarField field) const;

    store::Database& db_;
    Mode mode_;
    std::optional<vehicles::Car> chosen_;
    std::function<void(const QString&)> ordersOfCar_;
    qint64 editedId_ = 0;

    QWidget* topPanel_;
    QSqlQueryModel* model_;
    QTableView* grid_;
    QPushButton* btnCheck_;
    QFrame* panel_;
    QLabel* lbEdit_;
    QComboBox* eMarka_;
    QComboBox* eModels_;
    QComboBox* eModification_;
    QComboBox* ePeriod_;
    QComboBox* eEngine_;
    QLineEdit* eKW_;
    QLineEdit* eCCM_;
    QLineEdit* eYear_;
    QLineEdit* eRegNo_;
    QLineEdit* eCouppe_;
    QLineEdit* eClientName_;
    QLineEdit* eClientAdres_;
    QLineEdit* eClientPhone_;
    QPushButton* btnRec_;
    vehicles::VehiclePickChain* chain_;
};

#pragma once

#include "invoicing/client_field_controls.h"

#include "orders/order_registration.h"

#include <QDate>
#include <QDialog>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace store {
class Database;
}

namespace vehicles {
class VehiclePickChain;
struct Car;
} // namespace vehicles

// Registers a new repair order: client, car, complaint, type, due date and place of repair.
class TsrPor : public QDialog {
    Q_OBJECT
public:
    // Opened from the visit schedule the order starts as a home visit.
    TsrPor(store::Database& db, orders::RepairPlace place = orders::RepairPlace::Workshop,
           QWidget* parent = nullptr);
    ~TsrPor() override;

    // Prints the service order of a saved order; while unset the print box stays hidden.
    void setPrintServiceOrder(std::function<void(qint64 idPor)> print);
    // Shows the orders of a registration number; the car picker's check command runs it.
    void setOrdersOfCar(std::function<void(const QString& regNo)> show) {
        ordersOfCar_ = std::move(show);
    }

    // The number the order was saved under (empty until it is saved).
    std::optional<qint64> savedNumber() const { return saved_; }

    void setVisible(bool visible) override;

public Q_SLOTS:
    void save();
    void chooseClient();
    void chooseCar();
    void fillFromRegisteredCar(const vehicles::Car& car);
    void addSymptom();
    void bookHomeVisit();
    void showPreviousRepairs();
    void toggleStatement();

private:
    invoicing::ClientFields clientFields() const;
    void buildForm();
    void prepareForShowing();
    void proposeNumber();
    void regNoLeft();
    void clientNameLeft();
    void typeChanged(int index);
    void placeChanged(int index);
    void putCar(const QString& marka, const QString& model, const QString& modify,
                const QString& engine);
    orders::NewOrder formOrder() const;
    void showOrder(const orders::NewOrder& order);
    QWidget* fieldFor(orders::OrderField field) const;

    store::Database& db_;
    const QDate today_;
    std::function<void(qint64)> printServiceOrder_;
    std::function<void(const QString&)> ordersOfCar_;
    std::optional<qint64> saved_;
    bool prepared_ = false;

    QLineEdit* eNomer_;
    QLineEdit* eDate_;
    QLineEdit* eClientName_;
    QLineEdit* eClientAdres_;
    QLineEdit* eClientPhone_;
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
    QLineEdit* eKM_;
    QLineEdit* eAksPop_;
    QPlainTextEdit* eDefect_;
    QLineEdit* eNote_;
    QComboBox* cmbType_;
    QComboBox* cmbPlace_;
    QLabel* lbBackDate_;
    QDateEdit* backDate_;
    QCheckBox* chkPrn_;
    QPushButton* btnRec_;
    QPushButton* btnCancel_;
    QPlainTextEdit* mSQL_;
    vehicles::VehiclePickChain* chain_;
};

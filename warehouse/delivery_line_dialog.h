#pragma once

#include "warehouse/delivery.h"
#include "warehouse/warehouse_settings.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;

namespace store {
class Database;
}

// One line of a delivery: count, purchase price, the two selling prices and their currencies,
// with markup and supplier discount helpers. OK runs the line's checks.
class TsrDostData : public QDialog {
    Q_OBJECT
public:
    // others: the delivery's other lines, so that a serial number cannot be entered twice.
    TsrDostData(store::Database& db, const warehouse::WarehouseSettings& settings,
                warehouse::DeliveryLine line, const store::Rates& rates,
                std::optional<qint64> makerId, std::optional<qint64> typeId,
                const warehouse::Delivery& others, QWidget* parent = nullptr);

    const warehouse::DeliveryLine& line() const { return line_; }

public Q_SLOTS:
    void confirm();
    void calculateMarkup();
    void calculateDiscount();
    void editDiscounts();
    void editSerialNumbers();

private:
    void readFields();
    void showLine();
    QWidget* fieldFor(warehouse::LineField field) const;

    store::Database& db_;
    warehouse::WarehouseSettings settings_;
    warehouse::DeliveryLine line_;
    store::Rates rates_;
    std::optional<qint64> makerId_;
    std::optional<qint64> typeId_;
    const warehouse::Delivery& others_;
    QSpinBox* dbCount_;
    QDoubleSpinBox* dbInpPrice_;
    QComboBox* eInpVal_;
    QDoubleSpinBox* dbOutPrice_;
    QDoubleSpinBox* dbSalePrice_;
    QComboBox* eOutVal_;
    QDoubleSpinBox* eNad_;
    QDoubleSpinBox* eOtst_;
};

#pragma once

#include "warehouse/warehouse_settings.h"

#include <QDialog>
#include <optional>

class QComboBox;

namespace shell {
class Session;
}
namespace store {
class Database;
}

// Picks the supplier of a delivery: every supplier by name, the first one preselected.
class TsrIzbDost : public QDialog {
    Q_OBJECT
public:
    explicit TsrIzbDost(store::Database& db, QWidget* parent = nullptr);
    std::optional<qint64> supplierId() const;
    QString supplierName() const;

private:
    QComboBox* cmbDost_;
};

namespace warehouse {

// The delivery command: the date (with the day's rates when the workshop works in three
// currencies), the supplier, then the delivery window. Does nothing when either is cancelled or
// there is no supplier. Returns whether the delivery window was opened.
bool startDelivery(QWidget* parent, store::Database& db, const shell::Session& session,
                   const WarehouseSettings& settings);

} // namespace warehouse

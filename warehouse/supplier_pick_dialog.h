#pragma once

#include <QDialog>
#include <optional>

class QComboBox;

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

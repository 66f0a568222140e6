#pragma once

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;
class QPushButton;
class QSpinBox;

namespace shell {
class Session;
}
namespace store {
class Database;
}

// Sends units of one part back to a supplier that delivered it; the money comes back into the
// till or off the debt to the supplier.
class TfrmBackDlvr : public QDialog {
    Q_OBJECT
public:
    TfrmBackDlvr(store::Database& db, const shell::Session& session, qint64 partId,
                 QWidget* parent = nullptr);

public Q_SLOTS:
    void loadSuppliers();
    void loadPrice();
    void recordReturn();

private:
    // The quantity follows the unit picked: one numbered unit, or up to the units without one.
    void serialPicked();

    store::Database& db_;
    const shell::Session& session_;
    qint64 partId_;
    int stock_ = 0;
    int plainUnits_ = 0;
    QComboBox* cmbDost_;
    QDoubleSpinBox* eLastPrice_;
    QComboBox* eInpVal_;
    QSpinBox* eAmnt_;
    QComboBox* cmbSN_;
    QComboBox* cmbKasa_;
    QPushButton* btnRec_;
};

#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QListWidget;

namespace store {
class Database;
}

namespace warehouse {
struct Delivery;
}

// The serial numbers of one part's units in a delivery. A number is kept only when it is not
// empty, not already in this delivery and not already in stock.
class TfrmSN : public QDialog {
    Q_OBJECT
public:
    TfrmSN(store::Database& db, QStringList serials, const warehouse::Delivery& others,
           QWidget* parent = nullptr);

    QStringList serialNumbers() const { return serials_; }

public Q_SLOTS:
    // Appends the number typed in eSN; false when it was refused.
    bool addSerial();
    void deleteSerial();
    void finish();

private:
    void showSerials();

    store::Database& db_;
    QStringList serials_;
    const warehouse::Delivery& others_;
    QListWidget* gridSN_;
    QLineEdit* eSN_;
};

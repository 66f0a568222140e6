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

class QListWidgetItem;

// The serial numbers of one part's units in a delivery. A number is kept only when it is not
// empty, not already in this delivery and not already in stock; a number typed wrong is
// corrected in its row (double click or F2), under the same checks.
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
    // Says why the number cannot be kept (nothing when it can); row is the row it replaces.
    bool refuseSerial(const QString& serial, int row = -1);
    void serialCorrected(QListWidgetItem* item);

    store::Database& db_;
    QStringList serials_;
    const warehouse::Delivery& others_;
    QListWidget* gridSN_;
    QLineEdit* eSN_;
};

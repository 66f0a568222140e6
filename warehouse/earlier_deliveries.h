#pragma once

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>

class QTableWidget;

namespace store {
class Database;
}

namespace warehouse {

// One delivery line of a part, newest first.
struct EarlierDelivery {
    QDate date;
    double price = 0;
    QString currency; // "лв.", "USD", "EUR"
    QString supplier;
};

QList<EarlierDelivery> earlierDeliveries(store::Database& db, qint64 partId);

} // namespace warehouse

// The earlier deliveries of the part focused in a delivery: a small window at the top right of
// the main window that follows the focused part while it is open.
class TfrmEarlierDeliveries : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEarlierDeliveries(store::Database& db, QWidget* parent = nullptr);
    void showPart(std::optional<qint64> partId);

private:
    store::Database& db_;
    QTableWidget* grid_;
};

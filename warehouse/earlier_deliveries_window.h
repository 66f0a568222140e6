#pragma once

#include <QDialog>
#include <optional>

class QTableWidget;

namespace store {
class Database;
}

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

#pragma once

#include "warehouse/warehouse_settings.h"

#include <QDialog>

class QAction;
class QPushButton;

namespace store {
class Database;
}

namespace ui {
class BarcodeReader;
}
namespace warehouse {
class PartEditPanel;
class PartsList;
} // namespace warehouse

// The parts nomenclature: every kind of part with its type and maker, where parts are created
// and edited. The quantity is shown but never changed here.
class TsrParts : public QDialog {
    Q_OBJECT
public:
    TsrParts(store::Database& db, const warehouse::WarehouseSettings& settings,
             QWidget* parent = nullptr);

    warehouse::PartsList* partsList() const { return list_; }
    bool isEditing() const;

public Q_SLOTS:
    void newPart();
    void editPart();
    void printList();
    void exportList();
    // A code from the scanner.
    void handleBarcode(const QString& code);

protected:
    void reject() override;

private:
    void setBrowsing(bool browsing);
    void panelClosed();

    store::Database& db_;
    warehouse::PartsList* list_;
    warehouse::PartEditPanel* panel_;
    ui::BarcodeReader* reader_;
    QPushButton* btnIns_;
    QPushButton* btnEdit_;
    QPushButton* btnExit_;
    QAction* mnSearch_;
    QAction* mnInfo_;
    QAction* mnExit_;
};

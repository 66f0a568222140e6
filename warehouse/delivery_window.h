#pragma once

#include "warehouse/delivery.h"
#include "warehouse/warehouse_settings.h"

#include <QDialog>
#include <QPointer>

class QAction;
class QComboBox;
class QDoubleSpinBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;

namespace shell {
class Session;
}
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

// The delivery of parts from one supplier (lines assembled in memory, recorded at once) and, in
// its other mode, the report of the parts in stock with the selling-price panel and the entry to
// delivery returns.
class TfrmEarlierDeliveries;

class TsrDostParts : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Delivery, Stock };

    // A delivery: date, supplier and the rates of the date come from the start of the delivery.
    TsrDostParts(store::Database& db, const shell::Session& session,
                 const warehouse::WarehouseSettings& settings, warehouse::Delivery delivery,
                 QWidget* parent = nullptr);
    // The stock report.
    TsrDostParts(store::Database& db, const shell::Session& session,
                 const warehouse::WarehouseSettings& settings, QWidget* parent = nullptr);

    Mode mode() const { return mode_; }
    const warehouse::Delivery& delivery() const { return delivery_; }
    warehouse::PartsList* partsList() const { return list_; }
    bool nomenclatureShown() const;

    // Opens the line dialog; tests replace it to answer as a user would.
    using LineEditor = std::function<std::optional<warehouse::DeliveryLine>(
        TsrDostParts*, const warehouse::DeliveryLine&)>;
    void setLineEditor(LineEditor editor) { lineEditor_ = std::move(editor); }

public Q_SLOTS:
    void showNomenclature();
    void hideNomenclature();
    void addFocusedPart();
    void deleteLine();
    void recordDelivery();
    void handleBarcode(const QString& code);
    void printParts();
    void exportParts();
    // Stock report: the selling-price panel and the delivery return of the focused part.
    void showPricePanel();
    void startPriceEdit();
    void savePrices();
    void cancelPrices();
    void returnToSupplier();

protected:
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void build();
    void buildDeliveryMode(QWidget* area);
    void buildStockMode();
    void buildEarlierDeliveries();
    void buildPricePanel();
    void addPart(qint64 partId);
    void showLines();
    void fillPricePanel();
    void setLinesEnabled(bool enabled);

    store::Database& db_;
    const shell::Session& session_;
    warehouse::WarehouseSettings settings_;
    Mode mode_;
    warehouse::Delivery delivery_;
    LineEditor lineEditor_;

    warehouse::PartsList* list_ = nullptr;
    warehouse::PartEditPanel* newPart_ = nullptr;
    ui::BarcodeReader* reader_ = nullptr;
    QFrame* pNom_ = nullptr;
    QPointer<TfrmEarlierDeliveries> earlier_;
    QStandardItemModel* lines_ = nullptr;
    QTableView* linesGrid_ = nullptr;
    QWidget* linesArea_ = nullptr;
    QPushButton* btnClose_ = nullptr;
    QAction* mnNal_ = nullptr;
    QFrame* pChPrice_ = nullptr;
    QDoubleSpinBox* dbEdit1_ = nullptr;
    QDoubleSpinBox* dbEdit2_ = nullptr;
    QComboBox* lookVal_ = nullptr;
    QLineEdit* dbEdit3_ = nullptr;
    bool editingPrices_ = false;
};

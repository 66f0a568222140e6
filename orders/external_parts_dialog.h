#pragma once

#include "orders/external_store.h"

#include <QDialog>
#include <memory>
#include <optional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// Picks goods from one of the external warehouse databases listed in the settings.
class TfrmMicro : public QDialog {
    Q_OBJECT
public:
    struct GoodsChoice {
        int databaseIndex = 0;
        QString databasePath;
        orders::Goods goods;
        int quantity = 0;
    };

    TfrmMicro(const QStringList& databases, QWidget* parent = nullptr);
    ~TfrmMicro() override;

    std::optional<GoodsChoice> choice() const { return choice_; }
    // Opens the database of the list entry and loads its goods; false when it cannot be read.
    bool chooseDatabase(int index);

public Q_SLOTS:
    void search();
    void confirm();

private:
    void load();

    QStringList databases_;
    std::unique_ptr<orders::ExternalStore> store_;
    QList<orders::Goods> goods_;
    std::optional<GoodsChoice> choice_;
    QComboBox* cmbBase_;
    QLineEdit* eSearch_;
    QPushButton* btnSearch_;
    QTableWidget* grid_;
    QLineEdit* eAmnt_;
};

#pragma once

#include <QDialog>
#include <optional>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;

namespace store {
class Database;
}
namespace warehouse {
class PartsList;
}

// Picks a part from own stock for an order: the part, how many, and the unit's serial number
// when the part's units carry them.
class TfrmPorParts : public QDialog {
    Q_OBJECT
public:
    struct PartChoice {
        qint64 partId = 0;
        int quantity = 0;
        QString serial{};
    };

    explicit TfrmPorParts(store::Database& db, QWidget* parent = nullptr);

    std::optional<PartChoice> choice() const { return choice_; }
    warehouse::PartsList* list() const { return list_; }

public Q_SLOTS:
    void choose();
    void confirm();
    void cancelAmount();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    store::Database& db_;
    std::optional<PartChoice> choice_;
    std::optional<qint64> chosenPart_;
    int listedStock_ = 0;
    warehouse::PartsList* list_;
    QFrame* pAmnt_;
    QLabel* partName_;
    QComboBox* listSN_;
    QLineEdit* eAmnt_;
};

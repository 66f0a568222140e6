#pragma once

#include <QDialog>
#include <optional>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QStandardItemModel;
class QTreeView;

namespace store {
class Database;
}
namespace warehouse {
class PartsList;
}

// Picks a part from own stock for an order: the part, how many, and the unit's serial number
// when the part's units carry them (or none, for its units that came without one). The list can
// be shown in groups by part type.
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
    // The list in groups by part type, shown in place of the plain list when grouped.
    QTreeView* groups() const { return groups_; }
    bool isGrouped() const;

public Q_SLOTS:
    void choose();
    void confirm();
    void cancelAmount();
    void reject() override;
    void setGrouped(bool grouped);
    void expandFocusedGroup();
    void collapseFocusedGroup();
    void expandAllGroups();
    void collapseAllGroups();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenu* buildPopup();
    void rebuildGroups();
    void groupRowFocused(const QModelIndex& index);
    void serialPicked();
    void setListEnabled(bool enabled);

    store::Database& db_;
    std::optional<PartChoice> choice_;
    std::optional<qint64> chosenPart_;
    int listedStock_ = 0;
    int plainUnits_ = 0;
    warehouse::PartsList* list_;
    QTreeView* groups_;
    QStandardItemModel* groupRows_;
    QAction* mnGroups_;
    QFrame* pAmnt_;
    QLabel* partName_;
    QComboBox* listSN_;
    QLineEdit* eAmnt_;
};

#pragma once

#include <QDialog>

class QLineEdit;
class QStandardItemModel;
class QTreeView;

namespace store {
class Database;
}
namespace ui {
struct GridData;
}

// The units in stock that carry a serial number, grouped by part type and part, searched by
// serial number.
class TfrmNalSN : public QDialog {
    Q_OBJECT
public:
    explicit TfrmNalSN(store::Database& db, QWidget* parent = nullptr);

    // The listed units as the grid shows them, without the group rows.
    ui::GridData listedUnits() const;

public Q_SLOTS:
    void search();
    void exportList();
    // The focused group (a unit's own group when a unit is focused) with its subgroups.
    void expandFocusedGroup();
    void collapseFocusedGroup();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void load(const QString& searchText);

    store::Database& db_;
    QLineEdit* eSearch_;
    QStandardItemModel* model_;
    QTreeView* grid_;
};

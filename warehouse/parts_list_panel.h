#pragma once

#include "warehouse/parts_search.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QSqlQueryModel;
class QTableView;

namespace store {
class Database;
}

namespace warehouse {

// The parts grid with its search panel, shared by the windows that list parts. It shows either
// the broad list (every part, or every part in stock) or a restricted list (a search result, a
// part found by its barcode). Rows are fetched as the grid scrolls, so a large nomenclature
// opens at once.
class PartsList : public QWidget {
    Q_OBJECT
public:
    struct Options {
        int shortestSearch = 1;            // a shorter text only returns the focus to it
        bool emptySearchLoadsStock = true; // an empty text lists the parts in stock
        bool searchInStockOnly = false;
        bool priceColumns = false;    // selling prices
        bool purchaseColumns = false; // purchase price and its currency
    };

    PartsList(store::Database& db, Options options, QWidget* parent = nullptr);

    // The broad list: every part, or only parts in stock.
    void loadBroad(bool inStockOnly);
    void loadRestricted(const PartsCondition& condition);
    // The same list again, keeping the focused part when it is still there.
    void reload();
    bool isBroad() const { return broad_; }
    bool broadInStockOnly() const { return broadInStock_; }
    bool isEmpty() const;
    void setPurchaseColumnsVisible(bool visible);
    void setDescriptionVisible(bool visible);
    bool descriptionVisible() const;

    std::optional<qint64> currentPartId() const;
    // Focuses the part's row when it is in the list; false when it is not.
    bool selectPart(qint64 id);
    // Whether the part with this barcode is in the list shown, and its id.
    std::optional<qint64> partInListByBarcode(const QString& barcode);

    QTableView* grid() const { return grid_; }
    bool isSearching() const;

public Q_SLOTS:
    void showSearch();
    void hideSearch();
    void search();

Q_SIGNALS:
    // The search panel was shown (true) or hidden (false).
    void searchingChanged(bool searching);
    void currentPartChanged();
    void partActivated();

private:
    void load(const PartsCondition& condition);
    void fitColumns();
    void buildSearchPanel();

    store::Database& db_;
    Options options_;
    PartsCondition condition_;
    bool broad_ = true;
    bool broadInStock_ = false;
    QSqlQueryModel* model_;
    QTableView* grid_;
    QFrame* pSearch_;
    QLineEdit* searchStr_;
    QLabel* lbNotFound_;
    QCheckBox* chk_[4];
};

} // namespace warehouse

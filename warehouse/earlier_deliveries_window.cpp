#include "warehouse/earlier_deliveries_window.h"

#include "store/money.h"
#include "ui/row_list.h"
#include "warehouse/earlier_deliveries.h"

#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

TfrmEarlierDeliveries::TfrmEarlierDeliveries(store::Database& db, QWidget* parent)
    : QDialog(parent, Qt::Tool), db_(db) {
    setObjectName(QStringLiteral("TfrmEarlierDeliveries"));
    setWindowTitle(QStringLiteral("Предишни доставки"));
    grid_ = new QTableWidget(0, 4, this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Дата"), QStringLiteral("Цена"),
                                      QStringLiteral("Валута"), QStringLiteral("Доставчик")});
    ui::prepareRowList(grid_);
    grid_->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(grid_);
    resize(420, 220);
}

void TfrmEarlierDeliveries::showPart(std::optional<qint64> partId) {
    const QList<warehouse::EarlierDelivery> rows =
        partId ? warehouse::earlierDeliveries(db_, *partId) : QList<warehouse::EarlierDelivery>{};
    grid_->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const auto& d = rows[r];
        const QStringList cells = {d.date.toString(QStringLiteral("dd.MM.yyyy")),
                                   store::formatMoney(d.price), d.currency, d.supplier};
        for (int c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c == 1)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(r, c, item);
        }
    }
    grid_->resizeColumnsToContents();
}

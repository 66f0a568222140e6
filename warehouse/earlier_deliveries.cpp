#include "warehouse/earlier_deliveries.h"

#include "store/currency.h"
#include "store/database.h"
#include "store/money.h"
#include "store/sql_values.h"

#include <QHeaderView>
#include <QSqlQuery>
#include <QTableWidget>
#include <QVBoxLayout>

namespace warehouse {

QList<EarlierDelivery> earlierDeliveries(store::Database& db, qint64 partId) {
    QSqlQuery q = db.exec(QStringLiteral("SELECT s.Data, s.Price, s.idVal, d.Name FROM sprDost s "
                                         "LEFT JOIN delivers d ON d.id = s.idDost "
                                         "WHERE s.partID = :p ORDER BY s.Data DESC, s.id DESC"),
                          {{QStringLiteral("p"), partId}});
    QList<EarlierDelivery> rows;
    while (q.next())
        rows.append({store::dateFromDb(q.value(0)), store::amountFromDb(q.value(1)),
                     store::currencyText(q.value(2).toInt()), q.value(3).toString()});
    return rows;
}

} // namespace warehouse

TfrmEarlierDeliveries::TfrmEarlierDeliveries(store::Database& db, QWidget* parent)
    : QDialog(parent, Qt::Tool), db_(db) {
    setObjectName(QStringLiteral("TfrmEarlierDeliveries"));
    setWindowTitle(QStringLiteral("Предишни доставки"));
    grid_ = new QTableWidget(0, 4, this);
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setHorizontalHeaderLabels({QStringLiteral("Дата"), QStringLiteral("Цена"),
                                      QStringLiteral("Валута"), QStringLiteral("Доставчик")});
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->verticalHeader()->hide();
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

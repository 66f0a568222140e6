#include "finance/rate_register_window.h"

#include "finance/exchange_rates.h"
#include "store/database.h"
#include "ui/message_box.h"
#include "ui/row_list.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QStandardItem* readOnly(const QVariant& value, Qt::Alignment alignment) {
    auto* item = new QStandardItem;
    item->setData(value, Qt::DisplayRole);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setEditable(false);
    return item;
}

QString rateText(double rate) {
    return QString::number(rate, 'f', 6)
        .remove(QRegularExpression(QStringLiteral("0+$")))
        .remove(QRegularExpression(QStringLiteral("\\.$")))
        .replace(QLatin1Char('.'), QLatin1Char(','));
}

} // namespace

TsrCourse::TsrCourse(store::Database& db, QWidget* parent)
    : QDialog(parent), db_(db), model_(new QStandardItemModel(0, 3, this)),
      grid_(new QTableView(this)) {
    setObjectName(QStringLiteral("TsrCourse"));
    setWindowTitle(QStringLiteral("Валутни курсове"));
    model_->setHorizontalHeaderLabels(
        {QStringLiteral("Дата"), QStringLiteral("USD (лв.)"), QStringLiteral("EUR (лв.)")});
    grid_->setObjectName(QStringLiteral("grid"));
    grid_->setModel(model_);
    ui::prepareRowList(grid_);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    auto* close = new QPushButton(QStringLiteral("Затвори"), this);
    close->setObjectName(QStringLiteral("btnExit"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    layout->addLayout(buttons);
    resize(380, 420);
}

void TsrCourse::reload() {
    model_->removeRows(0, model_->rowCount());
    try {
        for (const store::Rates& day : finance::rateHistory(db_)) {
            model_->appendRow(
                {readOnly(day.date.toString(QStringLiteral("dd.MM.yyyy")), Qt::AlignHCenter),
                 readOnly(rateText(day.usd), Qt::AlignRight),
                 readOnly(rateText(day.eur), Qt::AlignRight)});
        }
    } catch (const store::DbError& e) {
        ui::error(this, e.message());
    }
}

void TsrCourse::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    reload();
}

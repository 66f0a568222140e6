#include "orders/previous_repairs_window.h"

#include "ui/grid_printer.h"
#include "ui/row_list.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace {

QStandardItem* item(const QVariant& value) {
    auto* cell = new QStandardItem;
    cell->setData(value, Qt::DisplayRole);
    cell->setEditable(false);
    return cell;
}

QVariant dateOrNothing(const QDate& date) {
    return date.isValid() ? QVariant(date) : QVariant();
}

} // namespace

TfrmPrevious::TfrmPrevious(const QList<orders::PreviousRepair>& rows, const QString& marka,
                           const QString& model, const QString& regNo, QWidget* parent)
    : QDialog(parent), car_(QStringList{marka, model, regNo}.join(QLatin1Char(' '))) {
    setObjectName(QStringLiteral("TfrmPrevious"));
    setWindowTitle(QStringLiteral("Предишни ремонти"));

    auto* list = new QStandardItemModel(0, 8, this);
    list->setHorizontalHeaderLabels({QStringLiteral("Поръчка №"), QStringLiteral("Приета"),
                                     QStringLiteral("Готова на"), QStringLiteral("Тип"),
                                     QStringLiteral("Състояние"), QStringLiteral("Километри"),
                                     QStringLiteral("Сума"), QStringLiteral("Оплакване")});
    for (const orders::PreviousRepair& r : rows) {
        QString defect = r.defect;
        defect.replace(QLatin1Char('\n'), QLatin1Char(' '));
        list->appendRow({item(r.number), item(dateOrNothing(r.porDate)),
                         item(dateOrNothing(r.readyDate)), item(r.typeText), item(r.state),
                         item(r.km), item(r.amount), item(defect)});
    }
    grid_ = ui::rowList(this, "grid", list);
    grid_->resizeColumnsToContents();

    auto* carLabel = new QLabel(car_, this);
    carLabel->setObjectName(QStringLiteral("lbCar"));
    QFont bold = carLabel->font();
    bold.setBold(true);
    carLabel->setFont(bold);
    auto* btnPrn = new QPushButton(QStringLiteral("Печат"), this);
    btnPrn->setObjectName(QStringLiteral("btnPrn"));
    auto* btnClose = new QPushButton(QStringLiteral("Изход"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    connect(btnPrn, &QPushButton::clicked, this, &TfrmPrevious::printList);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(carLabel, 1);
    buttons->addWidget(btnPrn);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(grid_);
    resize(820, 360);
}

QString TfrmPrevious::printTitle() const {
    return QStringLiteral("Предишни ремонти на\n") + car_;
}

void TfrmPrevious::printList() {
    ui::PrintHeader header;
    header.title = printTitle();
    ui::printGrid(this, *grid_, header);
}

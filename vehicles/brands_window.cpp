#include "vehicles/brands_window.h"

#include "store/database.h"
#include "ui/message_box.h"

#include <QHeaderView>
#include <QSqlError>
#include <QSqlTableModel>
#include <QTableView>
#include <QVBoxLayout>

TfrmArtsMarks::TfrmArtsMarks(store::Database& db, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmArtsMarks"));
    setWindowTitle(QStringLiteral("Марки автомобили"));
    model_ = new QSqlTableModel(this, db.connection());
    model_->setTable(QStringLiteral("marka"));
    model_->setEditStrategy(QSqlTableModel::OnRowChange);
    model_->setSort(model_->fieldIndex(QStringLiteral("Marka")), Qt::AscendingOrder);
    model_->setHeaderData(model_->fieldIndex(QStringLiteral("Marka")), Qt::Horizontal,
                          QStringLiteral("Марка"));
    grid_ = new QTableView(this);
    grid_->setObjectName(QStringLiteral("grMarka"));
    grid_->setModel(model_);
    grid_->setColumnHidden(model_->fieldIndex(QStringLiteral("id")), true);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_);
    resize(360, 480);
}

void TfrmArtsMarks::showEvent(QShowEvent* event) {
    model_->select();
    if (model_->rowCount() > 0)
        grid_->setCurrentIndex(model_->index(0, model_->fieldIndex(QStringLiteral("Marka"))));
    QDialog::showEvent(event);
}

void TfrmArtsMarks::reject() {
    // A brand being edited when the list closes is discarded.
    model_->revertAll();
    QDialog::reject();
}

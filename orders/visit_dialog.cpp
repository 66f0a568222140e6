#include "orders/visit_dialog.h"

#include "store/database.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orders {

QStringList activeEmployeeNames(store::Database& db) {
    QStringList names;
    QSqlQuery q =
        db.exec(QStringLiteral("SELECT Name FROM clerks WHERE Active = true ORDER BY Name"));
    while (q.next())
        names << q.value(0).toString();
    return names;
}

bool reportVisitDone(store::Database& db, qint64 visitId, const QString& employee,
                     const QString& note, const QDate& today) {
    const QVariant id =
        db.scalar(QStringLiteral("SELECT id FROM clerks WHERE Name = :n"), {{"n", employee}});
    if (id.isNull())
        return false;
    db.exec(QStringLiteral("UPDATE homevisit SET visited = true, Notes = :note, idClerk = :clerk, "
                           "field2 = :done WHERE id = :id"),
            {{"note", note},
             {"clerk", id.toLongLong()},
             {"done", today.toString(QStringLiteral("dd.MM.yyyy"))},
             {"id", visitId}});
    return true;
}

} // namespace orders

TfrmVisit::TfrmVisit(store::Database& db, QWidget* parent)
    : QDialog(parent), cmbClerk_(new QComboBox(this)), eNote_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("TfrmVisit"));
    setWindowTitle(QStringLiteral("Отчет на посещение"));
    cmbClerk_->setObjectName(QStringLiteral("cmbClerk"));
    cmbClerk_->addItems(orders::activeEmployeeNames(db));
    eNote_->setObjectName(QStringLiteral("eNote"));
    auto* btnRec = new QPushButton(QStringLiteral("Запис"), this);
    btnRec->setObjectName(QStringLiteral("btnRec"));
    btnRec->setDefault(true);
    auto* btnCancel = new QPushButton(QStringLiteral("Отказ"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnRec, &QPushButton::clicked, this, [this] {
        if (cmbClerk_->currentIndex() >= 0)
            accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Служител:"), cmbClerk_);
    form->addRow(QStringLiteral("Бележка:"), eNote_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRec);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}

void TfrmVisit::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    cmbClerk_->setCurrentIndex(cmbClerk_->count() > 0 ? 0 : -1);
    cmbClerk_->setFocus();
}

QString TfrmVisit::employee() const {
    return cmbClerk_->currentText();
}

QString TfrmVisit::note() const {
    return eNote_->text();
}

#include "orders/order_header_dialog.h"

#include "invoicing/client_firms.h"
#include "invoicing/clients_window.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TfrmEditPor::TfrmEditPor(store::Database& db, const QString& clientName, const QString& regNo,
                         const QString& couppe, QWidget* parent)
    : QDialog(parent), db_(db), listFirms_(new QComboBox(this)), eSN_(new QLineEdit(this)),
      eOutPor_(new QLineEdit(this)) {
    setObjectName(QStringLiteral("TfrmEditPor"));
    setWindowTitle(QStringLiteral("Данни на поръчката"));
    listFirms_->setObjectName(QStringLiteral("listFirms"));
    // A client typed on the order but never entered in the register keeps its name.
    listFirms_->setEditable(true);
    listFirms_->setInsertPolicy(QComboBox::NoInsert);
    listFirms_->setMinimumWidth(320);
    eSN_->setObjectName(QStringLiteral("eSN"));
    eOutPor_->setObjectName(QStringLiteral("eOutPor"));
    eSN_->setText(regNo);
    eOutPor_->setText(couppe);
    fillClients(clientName);

    auto* btnClients = new QPushButton(QStringLiteral("Клиенти..."), this);
    btnClients->setObjectName(QStringLiteral("btnClients"));
    btnClients->setAutoDefault(false);
    connect(btnClients, &QPushButton::clicked, this, &TfrmEditPor::openClients);
    auto* btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    auto* btnCancel = new QPushButton(QStringLiteral("Отказ"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* client = new QHBoxLayout;
    client->addWidget(listFirms_, 1);
    client->addWidget(btnClients);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Клиент:"), client);
    form->addRow(QStringLiteral("Рег. номер:"), eSN_);
    form->addRow(QStringLiteral("No на шаси:"), eOutPor_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    listFirms_->setFocus();
}

void TfrmEditPor::fillClients(const QString& select) {
    listFirms_->clear();
    for (const invoicing::FirmName& firm : invoicing::firmNames(db_))
        listFirms_->addItem(firm.name, firm.id);
    const int at = listFirms_->findText(select, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at >= 0)
        listFirms_->setCurrentIndex(at);
    else
        listFirms_->setEditText(select);
}

void TfrmEditPor::openClients() {
    QString current = listFirms_->currentText();
    TsmPeoples clients(db_, this);
    clients.exec();
    if (const auto id = clients.currentFirmId()) {
        if (const auto firm = invoicing::loadFirm(db_, *id))
            current = firm->name;
    }
    fillClients(current);
}

QString TfrmEditPor::clientName() const {
    return listFirms_->currentText().trimmed();
}

QString TfrmEditPor::regNo() const {
    return eSN_->text().trimmed();
}

QString TfrmEditPor::couppe() const {
    return eOutPor_->text().trimmed();
}

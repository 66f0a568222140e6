#include "invoicing/firm_chooser_dialog.h"

#include "invoicing/clients_window.h"
#include "store/database.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmIzbFirm::TfrmIzbFirm(store::Database& db, QWidget* parent) : QDialog(parent), db_(db) {
    setObjectName(QStringLiteral("TfrmIzbFirm"));
    setWindowTitle(QStringLiteral("Избор на клиент"));
    listFirms_ = new QComboBox(this);
    listFirms_->setObjectName(QStringLiteral("listFirms"));
    listFirms_->setMinimumWidth(320);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отказ"), this);
    cancel->setObjectName(QStringLiteral("BitBtn2"));
    auto* reg = new QPushButton(QStringLiteral("Клиенти..."), this);
    reg->setObjectName(QStringLiteral("BitBtn5"));
    connect(ok, &QPushButton::clicked, this, [this] {
        if (listFirms_->currentIndex() >= 0)
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(reg, &QPushButton::clicked, this, &TfrmIzbFirm::openRegister);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(reg);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Клиент:"), this));
    layout->addWidget(listFirms_);
    layout->addLayout(buttons);
    fillList();
    listFirms_->setFocus();
}

void TfrmIzbFirm::fillList() {
    listFirms_->clear();
    for (const invoicing::FirmName& firm : invoicing::firmNames(db_))
        listFirms_->addItem(firm.name, firm.id);
}

void TfrmIzbFirm::selectId(qint64 id) {
    const int at = listFirms_->findData(id);
    if (at >= 0)
        listFirms_->setCurrentIndex(at);
}

void TfrmIzbFirm::preselect(const QString& name) {
    if (const auto firm = invoicing::findFirmByName(db_, name))
        selectId(firm->id);
}

std::optional<invoicing::ClientFirm> TfrmIzbFirm::chosenFirm() const {
    if (listFirms_->currentIndex() < 0)
        return std::nullopt;
    return invoicing::loadFirm(db_, listFirms_->currentData().toLongLong());
}

void TfrmIzbFirm::openRegister() {
    TsmPeoples reg(db_, this);
    reg.exec();
    const auto leftOn = reg.currentFirmId();
    fillList();
    if (leftOn)
        selectId(*leftOn);
    listFirms_->setFocus();
}

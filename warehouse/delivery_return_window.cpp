#include "warehouse/delivery_return_window.h"

#include "shell/session.h"
#include "store/currency.h"
#include "store/database.h"
#include "ui/message_box.h"
#include "warehouse/delivery.h"
#include "warehouse/part_catalogue.h"
#include "warehouse/stock.h"
#include "warehouse/suppliers.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TfrmBackDlvr::TfrmBackDlvr(store::Database& db, const shell::Session& session, qint64 partId,
                           QWidget* parent)
    : QDialog(parent), db_(db), session_(session), partId_(partId) {
    setObjectName(QStringLiteral("TfrmBackDlvr"));
    setWindowTitle(QStringLiteral("Връщане на доставка"));
    const auto part = warehouse::loadPart(db_, partId_);
    stock_ = part ? std::max(0, part->amnt) : 0;

    cmbDost_ = new QComboBox(this);
    cmbDost_->setObjectName(QStringLiteral("cmbDost"));
    auto* findDelivers = new QPushButton(QStringLiteral("Обнови"), this);
    findDelivers->setObjectName(QStringLiteral("findDelivers"));
    eLastPrice_ = new QDoubleSpinBox(this);
    eLastPrice_->setObjectName(QStringLiteral("eLastPrice"));
    eLastPrice_->setRange(0, 1e9);
    eLastPrice_->setDecimals(2);
    eInpVal_ = new QComboBox(this);
    eInpVal_->setObjectName(QStringLiteral("eInpVal"));
    for (int code = store::kLeva; code <= store::kEur; ++code)
        eInpVal_->addItem(store::currencyText(code), code);
    auto* getPrices = new QPushButton(QStringLiteral("Цена"), this);
    getPrices->setObjectName(QStringLiteral("getPrices"));
    eAmnt_ = new QSpinBox(this);
    eAmnt_->setObjectName(QStringLiteral("eAmnt"));
    cmbSN_ = new QComboBox(this);
    cmbSN_->setObjectName(QStringLiteral("cmbSN"));
    cmbKasa_ = new QComboBox(this);
    cmbKasa_->setObjectName(QStringLiteral("cmbKasa"));
    cmbKasa_->addItems({QStringLiteral("Намаляване на задължението към доставчика"),
                        QStringLiteral("Връщане на сумата в касата")});
    btnRec_ = new QPushButton(QStringLiteral("Запис"), this);
    btnRec_->setObjectName(QStringLiteral("btnRec"));
    auto* btnCancel = new QPushButton(QStringLiteral("Отказ"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto pair = [this](QWidget* a, QWidget* b) {
        auto* row = new QHBoxLayout;
        row->addWidget(a, 1);
        row->addWidget(b);
        return row;
    };
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Част:"), new QLabel(part ? part->part : QString(), this));
    form->addRow(QStringLiteral("Доставчик:"), pair(cmbDost_, findDelivers));
    form->addRow(QStringLiteral("Единична цена:"), pair(eLastPrice_, eInpVal_));
    form->addRow(QString(), getPrices);
    form->addRow(QStringLiteral("Количество:"), eAmnt_);
    form->addRow(QStringLiteral("Сериен номер:"), cmbSN_);
    form->addRow(QStringLiteral("Уреждане:"), cmbKasa_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnRec_);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(findDelivers, &QPushButton::clicked, this, &TfrmBackDlvr::loadSuppliers);
    connect(getPrices, &QPushButton::clicked, this, &TfrmBackDlvr::loadPrice);
    connect(cmbDost_, &QComboBox::activated, this, &TfrmBackDlvr::loadPrice);
    connect(btnRec_, &QPushButton::clicked, this, &TfrmBackDlvr::recordReturn);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmBackDlvr::reject);

    // Quantity: one serial-numbered unit at a time, otherwise up to the stock.
    const QStringList serials = warehouse::serialNumbersOf(db_, partId_);
    for (const QString& serial : serials)
        cmbSN_->addItem(serial, serial);
    plainUnits_ = serials.isEmpty() ? stock_ : warehouse::plainUnitsInStock(db_, partId_);
    // Units that came without a number go back by count.
    if (!serials.isEmpty() && plainUnits_ > 0)
        cmbSN_->addItem(QStringLiteral("(без сериен номер)"));
    cmbSN_->setVisible(!serials.isEmpty());
    form->labelForField(cmbSN_)->setVisible(!serials.isEmpty());
    connect(cmbSN_, &QComboBox::currentIndexChanged, this, &TfrmBackDlvr::serialPicked);
    serialPicked();
    loadSuppliers();
}

void TfrmBackDlvr::serialPicked() {
    const bool numbered = !cmbSN_->currentData().isNull();
    const int most = numbered ? 1 : plainUnits_;
    eAmnt_->setRange(std::min(1, most), std::max(1, most));
    eAmnt_->setValue(std::min(1, most));
    eAmnt_->setEnabled(most > 1);
}

void TfrmBackDlvr::loadSuppliers() {
    cmbDost_->clear();
    for (const warehouse::Supplier& s : warehouse::suppliersOfPart(db_, partId_))
        cmbDost_->addItem(s.name, s.id);
    cmbDost_->setEnabled(cmbDost_->count() > 0);
    // Nothing to send back without stock or without a supplier that delivered it.
    btnRec_->setEnabled(cmbDost_->count() > 0 && stock_ > 0);
    loadPrice();
}

void TfrmBackDlvr::loadPrice() {
    if (cmbDost_->count() == 0)
        return;
    const auto last = warehouse::lastPrice(db_, partId_, cmbDost_->currentData().toLongLong());
    eLastPrice_->setValue(last.price);
    eInpVal_->setCurrentIndex(std::max(0, eInpVal_->findData(last.currency)));
}

void TfrmBackDlvr::recordReturn() {
    if (!btnRec_->isEnabled())
        return;
    warehouse::DeliveryReturn back;
    back.partId = partId_;
    back.supplierId = cmbDost_->currentData().toLongLong();
    back.supplierName = cmbDost_->currentText();
    back.count = eAmnt_->value();
    back.price = eLastPrice_->value();
    back.currency = eInpVal_->currentData().toInt();
    back.serial = cmbSN_->currentData().toString();
    back.refundInCash = cmbKasa_->currentIndex() != 0;
    try {
        warehouse::recordReturn(db_, back, session_.userId());
    } catch (const std::exception& e) {
        ui::error(this, QString::fromStdString(e.what()));
        return;
    }
    accept();
}

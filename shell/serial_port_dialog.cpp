#include "shell/serial_port_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

namespace shell {

namespace {

void addChoice(QComboBox* box, const QString& text, int value) {
    box->addItem(text, value);
}

void selectValue(QComboBox* box, int value) {
    const int index = box->findData(value);
    if (index >= 0)
        box->setCurrentIndex(index);
}

template <typename Enum> Enum chosen(const QComboBox* box) {
    return Enum(box->currentData().toInt());
}

} // namespace

SerialPortDialog::SerialPortDialog(const ui::ScannerSettings& current, QWidget* parent)
    : QDialog(parent), initial_(current) {
    setObjectName(QStringLiteral("SerialPortDialog"));
    setWindowTitle(QStringLiteral("Параметри на COM-порта"));

    cmbPort_ = combo("cmbPort");
    cmbPort_->setEditable(true);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        cmbPort_->addItem(info.portName());
    cmbPort_->setCurrentText(current.portName);

    cmbBaud_ = combo("cmbBaud");
    cmbBaud_->setEditable(true);
    for (qint32 rate : QSerialPortInfo::standardBaudRates())
        cmbBaud_->addItem(QString::number(rate));
    cmbBaud_->lineEdit()->setValidator(new QIntValidator(1, 4000000, cmbBaud_));
    cmbBaud_->setCurrentText(QString::number(current.baudRate));

    cmbDataBits_ = combo("cmbDataBits");
    for (int bits = 5; bits <= 8; ++bits)
        addChoice(cmbDataBits_, QString::number(bits), bits);
    selectValue(cmbDataBits_, current.dataBits);

    cmbParity_ = combo("cmbParity");
    addChoice(cmbParity_, QStringLiteral("Без"), QSerialPort::NoParity);
    addChoice(cmbParity_, QStringLiteral("Четност"), QSerialPort::EvenParity);
    addChoice(cmbParity_, QStringLiteral("Нечетност"), QSerialPort::OddParity);
    addChoice(cmbParity_, QStringLiteral("Интервал"), QSerialPort::SpaceParity);
    addChoice(cmbParity_, QStringLiteral("Маркер"), QSerialPort::MarkParity);
    selectValue(cmbParity_, current.parity);

    cmbStopBits_ = combo("cmbStopBits");
    addChoice(cmbStopBits_, QStringLiteral("1"), QSerialPort::OneStop);
    addChoice(cmbStopBits_, QStringLiteral("1,5"), QSerialPort::OneAndHalfStop);
    addChoice(cmbStopBits_, QStringLiteral("2"), QSerialPort::TwoStop);
    selectValue(cmbStopBits_, current.stopBits);

    cmbFlow_ = combo("cmbFlow");
    addChoice(cmbFlow_, QStringLiteral("Без"), QSerialPort::NoFlowControl);
    addChoice(cmbFlow_, QStringLiteral("Хардуерно (RTS/CTS)"), QSerialPort::HardwareControl);
    addChoice(cmbFlow_, QStringLiteral("Софтуерно (XON/XOFF)"), QSerialPort::SoftwareControl);
    selectValue(cmbFlow_, current.flowControl);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Порт:"), cmbPort_);
    form->addRow(QStringLiteral("Скорост (бода):"), cmbBaud_);
    form->addRow(QStringLiteral("Битове данни:"), cmbDataBits_);
    form->addRow(QStringLiteral("Проверка по четност:"), cmbParity_);
    form->addRow(QStringLiteral("Стоп битове:"), cmbStopBits_);
    form->addRow(QStringLiteral("Управление на потока:"), cmbFlow_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOk"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Запис"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отказ"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(340);
}

QComboBox* SerialPortDialog::combo(const char* name) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

ui::ScannerSettings SerialPortDialog::settings() const {
    ui::ScannerSettings s = initial_;
    s.portName = cmbPort_->currentText().trimmed();
    bool ok = false;
    const qint32 baud = cmbBaud_->currentText().toInt(&ok);
    if (ok && baud > 0)
        s.baudRate = baud;
    s.dataBits = chosen<QSerialPort::DataBits>(cmbDataBits_);
    s.parity = chosen<QSerialPort::Parity>(cmbParity_);
    s.stopBits = chosen<QSerialPort::StopBits>(cmbStopBits_);
    s.flowControl = chosen<QSerialPort::FlowControl>(cmbFlow_);
    return s;
}

} // namespace shell

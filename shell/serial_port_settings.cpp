#include "shell/serial_port_settings.h"

#include <algorithm>
#include <initializer_list>

namespace shell {

namespace {

const QString kPort = QStringLiteral("Port");
const QString kBaudRate = QStringLiteral("BaudRate");
const QString kDataBits = QStringLiteral("DataBits");
const QString kParity = QStringLiteral("Parity");
const QString kStopBits = QStringLiteral("StopBits");
const QString kFlowControl = QStringLiteral("FlowControl");

// A stored number outside the allowed values (edited by hand, written by an older version)
// falls back to the default instead of reaching the port.
template <typename Enum>
Enum readEnum(QSettings& settings, const QString& key, Enum fallback,
              std::initializer_list<Enum> allowed) {
    bool ok = false;
    const int stored = settings.value(key).toInt(&ok);
    if (!ok)
        return fallback;
    const auto it = std::find_if(allowed.begin(), allowed.end(),
                                 [stored](Enum value) { return int(value) == stored; });
    return it != allowed.end() ? *it : fallback;
}

} // namespace

ui::ScannerSettings loadScannerSettings(QSettings& settings) {
    ui::ScannerSettings s;
    s.enabled = settings.value(keys::useBarcodeScanner, false).toBool();
    settings.beginGroup(keys::barcodePort);
    s.portName = settings.value(kPort).toString();
    bool ok = false;
    const qint32 baud = settings.value(kBaudRate).toInt(&ok);
    if (ok && baud > 0)
        s.baudRate = baud;
    s.dataBits =
        readEnum(settings, kDataBits, s.dataBits,
                 {QSerialPort::Data5, QSerialPort::Data6, QSerialPort::Data7, QSerialPort::Data8});
    s.parity = readEnum(settings, kParity, s.parity,
                        {QSerialPort::NoParity, QSerialPort::EvenParity, QSerialPort::OddParity,
                         QSerialPort::SpaceParity, QSerialPort::MarkParity});
    s.stopBits =
        readEnum(settings, kStopBits, s.stopBits,
                 {QSerialPort::OneStop, QSerialPort::OneAndHalfStop, QSerialPort::TwoStop});
    s.flowControl = readEnum(
        settings, kFlowControl, s.flowControl,
        {QSerialPort::NoFlowControl, QSerialPort::HardwareControl, QSerialPort::SoftwareControl});
    settings.endGroup();
    return s;
}

void saveScannerPort(QSettings& settings, const ui::ScannerSettings& port) {
    settings.beginGroup(keys::barcodePort);
    settings.setValue(kPort, port.portName);
    settings.setValue(kBaudRate, port.baudRate);
    settings.setValue(kDataBits, int(port.dataBits));
    settings.setValue(kParity, int(port.parity));
    settings.setValue(kStopBits, int(port.stopBits));
    settings.setValue(kFlowControl, int(port.flowControl));
    settings.endGroup();
}

void setScannerEnabled(QSettings& settings, bool enabled) {
    settings.setValue(keys::useBarcodeScanner, enabled);
}

} // namespace shell

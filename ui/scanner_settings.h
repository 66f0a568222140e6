#pragma once

#include <QSerialPort>
#include <QString>

namespace ui {

// How the barcode scanner is attached, as the settings store it. Off unless switched on. A
// plain value, so that the settings need not know the reader.
struct ScannerSettings {
    bool enabled = false;
    QString portName{};
    qint32 baudRate = 9600;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;
};

} // namespace ui

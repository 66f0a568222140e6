#include "ui/barcode_reader.h"

#include <QEvent>
#include <QWidget>

namespace ui {

QStringList BarcodeAssembler::feed(const QByteArray& piece) {
    pending_ += piece;
    if (!piece.endsWith('\n'))
        return {};
    QStringList codes;
    // Normally one code; two quick scans may arrive in one piece and are kept apart.
    for (QByteArray line : pending_.split('\n')) {
        while (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            codes << QString::fromLatin1(line.left(kMaxBarcodeLength));
    }
    pending_.clear();
    return codes;
}

BarcodeReader::BarcodeReader(ScannerSettings settings, QObject* parent)
    : QObject(parent), settings_(std::move(settings)), port_(this) {
    connect(&port_, &QSerialPort::readyRead, this, &BarcodeReader::readArrived);
}

void BarcodeReader::setSettings(const ScannerSettings& settings) {
    const bool wasOpen = isOpen();
    close();
    settings_ = settings;
    if (wasOpen)
        open();
}

bool BarcodeReader::open() {
    if (!settings_.enabled || settings_.portName.isEmpty())
        return false;
    if (port_.isOpen())
        return true;
    port_.setPortName(settings_.portName);
    port_.setBaudRate(settings_.baudRate);
    port_.setDataBits(settings_.dataBits);
    port_.setParity(settings_.parity);
    port_.setStopBits(settings_.stopBits);
    port_.setFlowControl(settings_.flowControl);
    return port_.open(QIODevice::ReadOnly);
}

void BarcodeReader::close() {
    if (port_.isOpen())
        port_.close();
    assembler_.clear();
}

void BarcodeReader::followWindow(QWidget* window) {
    if (window_)
        window_->removeEventFilter(this);
    window_ = window;
    if (window_) {
        window_->installEventFilter(this);
        if (window_->isActiveWindow()) {
            assembler_.clear();
            open();
        }
    }
}

bool BarcodeReader::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_) {
        if (event->type() == QEvent::WindowActivate) {
            assembler_.clear();
            open();
        } else if (event->type() == QEvent::WindowDeactivate || event->type() == QEvent::Hide) {
            close();
        }
    }
    return QObject::eventFilter(watched, event);
}

void BarcodeReader::readArrived() {
    for (const QString& code : assembler_.feed(port_.readAll()))
        Q_EMIT codeRead(code);
}

} // namespace ui

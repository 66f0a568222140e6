#pragma once

#include "ui/scanner_settings.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSerialPort>
#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

// Longest barcode kept from the scanner; anything after it is cut off.
inline constexpr int kMaxBarcodeLength = 13;

// Puts together the codes a scanner sends in pieces. A code ends with carriage return and line
// feed; a piece that ends with the line feed completes what came before it.
class BarcodeAssembler {
public:
    // The codes completed by this piece (usually none or one), each cut to 13 characters.
    QStringList feed(const QByteArray& piece);
    void clear() { pending_.clear(); }
    const QByteArray& pending() const { return pending_; }

private:
    QByteArray pending_;
};

// The barcode scanner on a serial port. Follows one window: the port is open while that window
// is the active window and closed otherwise. A port that is missing or busy is ignored and the
// window works without the scanner.
class BarcodeReader : public QObject {
    Q_OBJECT
public:
    explicit BarcodeReader(ScannerSettings settings, QObject* parent = nullptr);

    const ScannerSettings& settings() const { return settings_; }
    void setSettings(const ScannerSettings& settings);

    // Opens the port when the scanner is switched on; false when it is off or cannot be opened.
    bool open();
    void close();
    bool isOpen() const { return port_.isOpen(); }

    // Opens when the window becomes active (with an empty accumulator), closes when it stops
    // being active.
    void followWindow(QWidget* window);

Q_SIGNALS:
    void codeRead(const QString& code);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void readArrived();

    ScannerSettings settings_;
    QSerialPort port_;
    BarcodeAssembler assembler_;
    QPointer<QWidget> window_;
};

} // namespace ui

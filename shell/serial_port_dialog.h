#pragma once

#include "ui/scanner_settings.h"

#include <QDialog>

class QComboBox;

namespace shell {

// The port parameters of the barcode scanner: port, speed, data bits, parity, stop bits and
// flow control. The port list offers the ports the system knows; any other name may be typed.
class SerialPortDialog : public QDialog {
    Q_OBJECT
public:
    explicit SerialPortDialog(const ui::ScannerSettings& current, QWidget* parent = nullptr);

    // The chosen parameters; the on/off switch is kept from the settings given.
    ui::ScannerSettings settings() const;

private:
    QComboBox* combo(const char* name);

    ui::ScannerSettings initial_;
    QComboBox* cmbPort_ = nullptr;
    QComboBox* cmbBaud_ = nullptr;
    QComboBox* cmbDataBits_ = nullptr;
    QComboBox* cmbParity_ = nullptr;
    QComboBox* cmbStopBits_ = nullptr;
    QComboBox* cmbFlow_ = nullptr;
};

} // namespace shell

#pragma once

#include "ui/scanner_settings.h"

#include <QSettings>
#include <QString>

namespace shell {

namespace keys {
inline const QString useBarcodeScanner = QStringLiteral("Use barcode scanner");
// Group of the scanner's port parameters.
inline const QString barcodePort = QStringLiteral("BarcodePort");
} // namespace keys

// The scanner as this user set it up: switched on or off, and its port parameters. Values
// that are missing or unreadable read as the defaults of ScannerSettings.
ui::ScannerSettings loadScannerSettings(QSettings& settings);

// Stores the port parameters (not the on/off switch, which has its own check box).
void saveScannerPort(QSettings& settings, const ui::ScannerSettings& port);

void setScannerEnabled(QSettings& settings, bool enabled);

} // namespace shell

#pragma once

#include "app/database_start.h"

#include <QSettings>
#include <QString>
#include <QVariant>
#include <functional>
#include <optional>

class QWidget;

namespace app {

// The C library keeps formatting numbers with a decimal point on a Bulgarian desktop, so that
// the C libraries behind the program's files (the spreadsheet writer, printf) write what every
// reader understands. The QApplication constructor takes the C locale from the environment:
// call this after it exists.
void keepCNumericLocale();

// The program's own display in Bulgarian through QLocale (dates day.month.year, decimal
// comma), Qt's own buttons and standard dialogs in Bulgarian, and the C numeric locale as
// above. Call once, right after the QApplication exists. False when Qt's Bulgarian
// translation is not installed (the standard dialogs then stay in English).
bool setUpLocale();

// True when the running version is older than the one that last started here; the user is
// then asked whether to go on. An unreadable stored value counts as absent.
bool isOlderThanLastStart(double running, const QVariant& stored);

// Which file this run opens.
struct DatabaseChoice {
    QString path;
    bool createIfMissing = false; // the first start on this computer: create it without asking
    bool remember = false;        // store the path as "BaseFile" once it has opened
};

// The file named on the command line (for this run only), else the stored "BaseFile", else
// the default place (the first start).
DatabaseChoice chooseDatabase(const QSettings& settings, const QString& commandLinePath);

// Shows or hides the splash while a dialog of the start is open.
using SplashVisibility = std::function<void(bool visible)>;

// The database start: version check, finding the file (with a search by hand when it has gone
// missing), opening, upgrading and reclaiming free space. Every message is shown here; an
// empty result means the program ends. A file that cannot be opened or upgraded is left
// as it was.
std::optional<StartedDatabase> runDatabaseStart(QWidget* parent, QSettings& settings,
                                                const QString& commandLinePath,
                                                const SplashVisibility& splashVisible = {});

} // namespace app

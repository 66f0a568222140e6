#include "app/main_window.h"

#include "app/version.h"
#include "store/database.h"

#include <QLabel>
#include <QStatusBar>

TsrMain::TsrMain(store::Database& db, QWidget* parent) : QMainWindow(parent), db_(db) {
    setObjectName(QStringLiteral("TsrMain"));
    setWindowTitle(captionText());
    auto* fileLabel = new QLabel(db_.filePath(), this);
    statusBar()->addPermanentWidget(fileLabel);
    resize(1024, 700);
}

QString TsrMain::captionText() {
    return QStringLiteral("Управление на автосервиз - версия ") + app::versionText();
}

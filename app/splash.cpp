#include "app/splash.h"

#include "app/version.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

TsrSplash::TsrSplash(int steps, QWidget* parent)
    : QFrame(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("TsrSplash"));
    auto* title = new QLabel(QStringLiteral("<h2>Управление на автосервиз</h2>"), this);
    title->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(QStringLiteral("версия ") + app::versionText(), this);
    version->setAlignment(Qt::AlignCenter);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("bar"));
    bar_->setRange(0, steps);
    bar_->setValue(0);
    bar_->setTextVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addSpacing(12);
    layout->addWidget(bar_);
    setFixedSize(420, 180);
    setFrameShape(QFrame::Box);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TsrSplash::advance() {
    bar_->setValue(qMin(bar_->value() + 1, bar_->maximum()));
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int TsrSplash::position() const {
    return bar_->value();
}

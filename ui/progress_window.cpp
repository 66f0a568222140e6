#include "ui/progress_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

TfrmBar::TfrmBar(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), label_(new QLabel(this)),
      bar_(new QProgressBar(this)) {
    setObjectName(QStringLiteral("TfrmBar"));
    label_->setObjectName(QStringLiteral("Label1"));
    bar_->setObjectName(QStringLiteral("Bar"));
    label_->setAlignment(Qt::AlignCenter);
    label_->setWordWrap(true);
    bar_->setTextVisible(false);
    bar_->setMinimum(0);
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(2);
    auto* inner = new QVBoxLayout(frame);
    inner->setContentsMargins(16, 12, 16, 12);
    inner->addWidget(label_);
    inner->addWidget(bar_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    setMinimumWidth(380);
    setModal(false);
}

void TfrmBar::start(const QString& text, int maximum) {
    label_->setText(text);
    bar_->setMaximum(std::max(0, maximum));
    bar_->setValue(0);
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmBar::setText(const QString& text) {
    label_->setText(text);
    label_->repaint();
}

void TfrmBar::advance(int steps) {
    bar_->setValue(std::min(bar_->maximum(), bar_->value() + steps));
    bar_->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int TfrmBar::position() const {
    return bar_->value();
}

int TfrmBar::maximum() const {
    return bar_->maximum();
}

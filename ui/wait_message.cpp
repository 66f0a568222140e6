#include "ui/wait_message.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

TfmMess::TfmMess(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), panel_(new QLabel(this)) {
    setObjectName(QStringLiteral("TfmMess"));
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel_->setLineWidth(2);
    panel_->setAlignment(Qt::AlignCenter);
    panel_->setWordWrap(true);
    panel_->setMargin(16);
    QFont font = panel_->font();
    font.setBold(true);
    panel_->setFont(font);
    panel_->setMinimumSize(460, 80);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(panel_);
    setModal(false);
}

QString TfmMess::text() const {
    return panel_->text();
}

void TfmMess::showMessage(const QString& text) {
    panel_->setText(text);
    adjustSize();
    show();
    raise();
    // The caller blocks the event loop next; let the window paint before that.
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

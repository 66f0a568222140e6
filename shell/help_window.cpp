#include "shell/help_window.h"

#include "shell/help_pages.h"

#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

namespace shell {

HelpWindow::HelpWindow(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("helpText"));
    text_->setOpenLinks(false);
    connect(text_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        const QString link = url.toString();
        if (link.startsWith(QLatin1String("topic:")))
            setTopic(link.mid(6));
    });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
    resize(520, 420);
}

HelpWindow* HelpWindow::showTopic(QWidget* owner, const QString& topic, bool activate) {
    auto* window =
        owner ? owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!window)
        window = new HelpWindow(owner);
    window->setTopic(topic);
    if (!activate)
        window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
    window->raise();
    if (activate)
        window->activateWindow();
    return window;
}

void HelpWindow::setTopic(const QString& topic) {
    topic_ = topic;
    text_->setHtml(helpPage(topic));
    // The page's own heading names the topic in words; a topic without a page has none.
    QString title;
    for (QTextBlock block = text_->document()->begin(); block.isValid() && title.isEmpty();
         block = block.next()) {
        if (block.blockFormat().headingLevel() > 0)
            title = block.text().trimmed();
    }
    setWindowTitle(title.isEmpty() ? QStringLiteral("Помощ") : QStringLiteral("Помощ - ") + title);
}

} // namespace shell

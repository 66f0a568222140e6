#pragma once

#include <QWidget>

class QTextBrowser;

namespace shell {

// Shows help topics by name. One window per owner: asking again shows the new topic in it.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    // Opens (or raises) the help window of the owner at the topic. The window closes with its
    // owner, so a modal dialog can open one that stays usable. A page opened unasked leaves the
    // keyboard with the owner (activate = false).
    static HelpWindow* showTopic(QWidget* owner, const QString& topic, bool activate = true);

    QString topic() const { return topic_; }
    void setTopic(const QString& topic);

private:
    explicit HelpWindow(QWidget* owner);

    QTextBrowser* text_ = nullptr;
    QString topic_;
};

} // namespace shell

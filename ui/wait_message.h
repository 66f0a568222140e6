#pragma once

#include <QDialog>

class QLabel;

// "Please wait" window without a caption, shown while a long load runs on the UI thread.
class TfmMess : public QDialog {
    Q_OBJECT
public:
    explicit TfmMess(QWidget* parent = nullptr);

    QString text() const;
    // Sets the text, shows the window and paints it at once: the caller is about to block.
    void showMessage(const QString& text);

private:
    QLabel* panel_;
};

namespace ui {

// Shows the wait message for as long as it lives.
class WaitMessage {
public:
    WaitMessage(TfmMess& window, const QString& text) : window_(window) {
        window_.showMessage(text);
    }
    ~WaitMessage() { window_.close(); }
    WaitMessage(const WaitMessage&) = delete;
    WaitMessage& operator=(const WaitMessage&) = delete;

private:
    TfmMess& window_;
};

} // namespace ui

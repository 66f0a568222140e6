#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

// Progress window without a caption: a text and a bar that the caller advances.
class TfrmBar : public QDialog {
    Q_OBJECT
public:
    explicit TfrmBar(QWidget* parent = nullptr);

    // Shows the window with the bar at 0 of maximum.
    void start(const QString& text, int maximum);
    void setText(const QString& text);
    // One step further, painted at once.
    void advance(int steps = 1);
    int position() const;
    int maximum() const;

private:
    QLabel* label_;
    QProgressBar* bar_;
};

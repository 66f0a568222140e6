#pragma once

#include <QFrame>

class QProgressBar;

// The window shown while the program starts, with a bar that moves as the start proceeds.
class TsrSplash : public QFrame {
    Q_OBJECT
public:
    explicit TsrSplash(int steps, QWidget* parent = nullptr);

    // One step done; repaints at once, since the start does not return to the event loop.
    void advance();
    int position() const;

private:
    QProgressBar* bar_ = nullptr;
};

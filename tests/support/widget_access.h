#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

// Finding and working the controls of a window the way a user would.
namespace testing {

template <typename T> T* child(QWidget& w, const char* name) {
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no child %s", name);
    return found;
}

inline void click(QWidget& w, const char* button) {
    child<QAbstractButton>(w, button)->click();
}

// Answers the modal dialog of type T that a window opens with exec(), as a user would.
template <class T> class ModalAnswer {
public:
    explicit ModalAnswer(std::function<void(T*)> answer) : answer_(std::move(answer)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
                ++seen;
                answer_(dialog);
            }
        });
        timer_.start(20);
    }
    int seen = 0;

private:
    std::function<void(T*)> answer_;
    QTimer timer_;
};

} // namespace testing

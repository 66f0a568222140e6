#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace app {

// One running program per user: the first start listens on a local socket; a later start
// finds it there, asks it to come to the front and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // A name of the current user's own (two users of one computer each run their program).
    static QString defaultName();

    // True when this is the only running program (it now listens); false after the running
    // one has been asked to come to the front.
    bool claim();

Q_SIGNALS:
    // A later start asked this program to come to the front.
    void activationRequested();

private:
    bool signalRunning() const;
    void receive();

    QString name_;
    QLocalServer* server_ = nullptr;
};

} // namespace app

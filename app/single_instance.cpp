#include "app/single_instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace app {

namespace {

const QByteArray kActivate = QByteArrayLiteral("activate\n");
constexpr int kTimeoutMs = 2000;

} // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    const QByteArray key = (user + QLatin1Char('|') + QDir::homePath()).toUtf8();
    return QStringLiteral("Motrela-") +
           QString::fromLatin1(
               QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

bool SingleInstance::claim() {
    if (server_)
        return true;
    if (signalRunning())
        return false;
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // Nobody answered, so the socket was left behind by a program that crashed.
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_)) {
            qWarning("Cannot watch for a second start: %s", qPrintable(server_->errorString()));
            return true;
        }
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::receive);
    return true;
}

bool SingleInstance::signalRunning() const {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(kTimeoutMs))
        return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(kTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kTimeoutMs);
    return true;
}

void SingleInstance::receive() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        auto readMessages = [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == kActivate)
                    emit activationRequested();
            }
        };
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, readMessages);
        // The message may have arrived together with the connection.
        readMessages();
    }
}

} // namespace app

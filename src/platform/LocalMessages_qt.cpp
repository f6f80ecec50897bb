#include "platform/LocalMessages.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

struct LocalListener::Private
{
    QLocalServer server;
};

LocalListener::LocalListener(QObject* parent) : QObject(parent), d(std::make_unique<Private>()) {}

LocalListener::~LocalListener() = default;

bool LocalListener::listen(const QString& path)
{
    QLocalServer::removeServer(path);
    d->server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!d->server.listen(path)) {
        m_error = d->server.errorString();
        return false;
    }
    connect(&d->server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = d->server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains('\n'))
                    emit lineReceived();
            });
        }
    });
    return true;
}

bool LocalMessages::send(const QString& path, const QByteArray& line, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(path);
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) {
            socket.write(line);
            const bool sent = socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())));
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(20);
    }
    return false;
}

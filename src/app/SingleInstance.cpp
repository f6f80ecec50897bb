#include "app/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace {
const QByteArray kRaise = QByteArrayLiteral("raise\n");

QString defaultFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}
} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder.isEmpty() ? defaultFolder() : folder),
      m_lock(m_folder + QStringLiteral("/quorvel.lock"))
{
    // A running copy may hold the lock for weeks; only a dead owner makes it stale.
    m_lock.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::socketPath() const
{
    return m_folder + QStringLiteral("/quorvel.socket");
}

bool SingleInstance::becomePrimary()
{
    QDir().mkpath(m_folder);
    if (!m_lock.tryLock(0))
        return false;
    // Holding the lock, any socket left behind belongs to a copy that crashed.
    QLocalServer::removeServer(socketPath());
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(socketPath()))
        qWarning("Quorvel: cannot listen on %s: %s", qPrintable(socketPath()),
                 qPrintable(m_server->errorString()));
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
    return true;
}

bool SingleInstance::askPrimaryToRaise(int timeoutMs)
{
    // The running copy may have taken the lock an instant ago and not be listening yet.
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime())))) {
            socket.write(kRaise);
            const bool sent = socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())));
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(20);
    }
    return false;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->readAll().contains('\n'))
                emit raiseRequested();
        });
    }
}

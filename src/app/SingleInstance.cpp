#include "app/SingleInstance.h"

#include "platform/LocalMessages.h"

#include <QDir>
#include <QStandardPaths>

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
    m_listener = std::make_unique<LocalListener>();
    if (!m_listener->listen(socketPath()))
        qWarning("Quorvel: cannot listen on %s: %s", qPrintable(socketPath()),
                 qPrintable(m_listener->errorString()));
    connect(m_listener.get(), &LocalListener::lineReceived, this, &SingleInstance::raiseRequested);
    return true;
}

bool SingleInstance::askPrimaryToRaise(int timeoutMs)
{
    return LocalMessages::send(socketPath(), kRaise, timeoutMs);
}

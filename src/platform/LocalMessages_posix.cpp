#include "platform/LocalMessages.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

// Plain Unix sockets: Qt's local sockets would load Qt Network, and with it Kerberos and a proxy
// library, for the one line a later copy sends.
namespace {

bool addressOf(const QString& path, sockaddr_un& address)
{
    const QByteArray name = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    return true;
}

} // namespace

struct LocalListener::Private
{
    int fd = -1;
    std::unique_ptr<QSocketNotifier> incoming;
};

LocalListener::LocalListener(QObject* parent) : QObject(parent), d(std::make_unique<Private>()) {}

LocalListener::~LocalListener()
{
    d->incoming.reset();
    if (d->fd >= 0)
        ::close(d->fd);
}

bool LocalListener::listen(const QString& path)
{
    sockaddr_un address;
    if (!addressOf(path, address)) {
        m_error = QStringLiteral("path too long");
        return false;
    }
    d->fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    ::unlink(address.sun_path);
    if (d->fd < 0 || ::bind(d->fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(address.sun_path, S_IRWXU) != 0 || ::listen(d->fd, 8) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    d->incoming = std::make_unique<QSocketNotifier>(d->fd, QSocketNotifier::Read);
    connect(d->incoming.get(), &QSocketNotifier::activated, this, [this] {
        const int client = ::accept4(d->fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (client < 0)
            return;
        auto* reader = new QSocketNotifier(client, QSocketNotifier::Read, this);
        connect(reader, &QSocketNotifier::activated, this, [this, reader, client] {
            char buffer[256];
            const ssize_t got = ::read(client, buffer, sizeof buffer);
            if (got > 0 && std::memchr(buffer, '\n', size_t(got)))
                emit lineReceived();
            if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) {
                reader->setEnabled(false);
                reader->deleteLater();
                ::close(client);
            }
        });
    });
    return true;
}

bool LocalMessages::send(const QString& path, const QByteArray& line, int timeoutMs)
{
    sockaddr_un address;
    if (!addressOf(path, address))
        return false;
    // The running copy may have taken the lock an instant ago and not be listening yet.
    QDeadlineTimer deadline(timeoutMs);
    while (true) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd >= 0 && ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            qsizetype sent = 0;
            while (sent < line.size()) {
                const ssize_t wrote = ::write(fd, line.constData() + sent, size_t(line.size() - sent));
                if (wrote < 0 && errno == EINTR)
                    continue;
                if (wrote <= 0)
                    break;
                sent += wrote;
            }
            ::close(fd);
            return sent == line.size();
        }
        if (fd >= 0)
            ::close(fd);
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
}

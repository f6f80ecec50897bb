#include "SessionBus.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>

namespace {

// A session bus whose only service folder is the test's own: a name is there only when a test put
// it there.
const char* const kConfig =
    R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <servicedir>%1/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

bool readLine(QProcess& process, QByteArray& line)
{
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(10000))
            return false;
    }
    line = process.readLine().trimmed();
    return true;
}

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

} // namespace

SessionBus::~SessionBus()
{
    stop(m_listener);
    stop(m_daemon);
}

bool SessionBus::addService(const QString& name, const QString& exec)
{
    if (!QDir(m_dir.path()).mkpath(QStringLiteral("services")))
        return false;
    QFile file(m_dir.filePath(QStringLiteral("services/%1.service").arg(name)));
    return file.open(QIODevice::WriteOnly) &&
           file.write(QStringLiteral("[D-BUS Service]\nName=%1\nExec=%2\n").arg(name, exec).toUtf8()) > 0;
}

bool SessionBus::start()
{
    const QString config = m_dir.filePath(QStringLiteral("session.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(QString::fromLatin1(kConfig).arg(m_dir.path()).toUtf8());
    file.close();
    // Only its complaint that root may not raise its file limit would show.
    m_daemon.setStandardErrorFile(QProcess::nullDevice());
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                    QStringLiteral("--print-address=1")});
    QByteArray line;
    if (!m_daemon.waitForStarted(5000) || !readLine(m_daemon, line))
        return false;
    m_address = QString::fromUtf8(line);
    return !m_address.isEmpty();
}

bool SessionBus::startNotificationService(bool silent)
{
    QStringList arguments{QStringLiteral(QUORVEL_E2E_DIR "/notification-listener.py"), m_address,
                          m_dir.filePath(QStringLiteral("notifications.log"))};
    if (silent)
        arguments.append(QStringLiteral("silent"));
    m_listener.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The system's Python, which has the Debian packages python3-dbus and python3-gi.
    m_listener.start(QStringLiteral("/usr/bin/python3"), arguments);
    QByteArray line;
    return m_listener.waitForStarted(5000) && readLine(m_listener, line) && line == "ready";
}

QList<QJsonObject> SessionBus::notifications() const
{
    QList<QJsonObject> calls;
    QFile log(m_dir.filePath(QStringLiteral("notifications.log")));
    if (!log.open(QIODevice::ReadOnly))
        return calls;
    while (!log.atEnd()) {
        const QJsonDocument call = QJsonDocument::fromJson(log.readLine());
        if (call.isObject())
            calls.append(call.object());
    }
    return calls;
}

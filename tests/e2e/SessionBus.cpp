#include "SessionBus.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QThread>

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

QList<QJsonObject> jsonLines(const QByteArray& text)
{
    QList<QJsonObject> lines;
    for (const QByteArray& line : text.split('\n')) {
        const QJsonDocument document = QJsonDocument::fromJson(line);
        if (document.isObject())
            lines.append(document.object());
    }
    return lines;
}

const QString kScreenReader = QStringLiteral(QUORVEL_E2E_DIR "/screen-reader.py");

} // namespace

SessionBus::~SessionBus()
{
    stop(m_reader);
    stop(m_busLauncher);
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
    QFile log(m_dir.filePath(QStringLiteral("notifications.log")));
    return log.open(QIODevice::ReadOnly) ? jsonLines(log.readAll()) : QList<QJsonObject>();
}

QProcessEnvironment SessionBus::screenReaderEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    env.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
    return env;
}

bool SessionBus::startScreenReader()
{
    // Without a display it publishes the bus on the session bus alone, not on the X root window.
    // It keeps the screen reader's switch in GSettings: in memory, so that no installed settings
    // service decides whether the switch holds.
    QProcessEnvironment launcherEnv = screenReaderEnvironment();
    launcherEnv.remove(QStringLiteral("DISPLAY"));
    launcherEnv.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
    m_busLauncher.setProcessEnvironment(launcherEnv);
    m_busLauncher.setStandardErrorFile(QProcess::nullDevice());
    m_busLauncher.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"),
                        {QStringLiteral("--launch-immediately")});
    if (!m_busLauncher.waitForStarted(5000))
        return false;

    // The bus is up once it gives its address, as a desktop session asks at login.
    const QStringList getAddress{QStringLiteral("call"),          QStringLiteral("--session"),
                                 QStringLiteral("--dest"),        QStringLiteral("org.a11y.Bus"),
                                 QStringLiteral("--object-path"), QStringLiteral("/org/a11y/bus"),
                                 QStringLiteral("--method"),      QStringLiteral("org.a11y.Bus.GetAddress")};
    QDeadlineTimer deadline(20000);
    for (;;) {
        QProcess call;
        call.setProcessEnvironment(screenReaderEnvironment());
        call.start(QStringLiteral("gdbus"), getAddress);
        call.waitForFinished(10000);
        if (call.exitCode() == 0 && call.readAllStandardOutput().contains("unix:"))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }

    m_reader.setProcessEnvironment(screenReaderEnvironment());
    m_reader.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_reader.start(QStringLiteral("/usr/bin/python3"),
                   {kScreenReader, QStringLiteral("listen"), m_dir.filePath(QStringLiteral("events.log"))});
    if (!m_reader.waitForStarted(5000))
        return false;
    while (!m_reader.canReadLine()) {
        if (!m_reader.waitForReadyRead(20000))
            return false;
    }
    return m_reader.readLine().trimmed() == "ready";
}

QList<QJsonObject> SessionBus::screenReaderEvents() const
{
    QFile log(m_dir.filePath(QStringLiteral("events.log")));
    return log.open(QIODevice::ReadOnly) ? jsonLines(log.readAll()) : QList<QJsonObject>();
}

QList<QJsonObject> SessionBus::accessibleTree(qint64 pid) const
{
    QProcess dump;
    dump.setProcessEnvironment(screenReaderEnvironment());
    dump.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    dump.start(QStringLiteral("/usr/bin/python3"),
               {kScreenReader, QStringLiteral("tree"), QString::number(pid)});
    dump.waitForFinished(30000);
    return jsonLines(dump.readAllStandardOutput());
}

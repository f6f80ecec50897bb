#include "ScreenReader.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QThread>

namespace {

const QString kScript = QStringLiteral(QUORVEL_E2E_DIR "/screen-reader.py");

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

} // namespace

ScreenReader::~ScreenReader()
{
    stop(m_listener);
    stop(m_busLauncher);
}

QProcessEnvironment ScreenReader::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    env.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
    return env;
}

bool ScreenReader::start(const QString& sessionBusAddress)
{
    m_address = sessionBusAddress;
    // Without a display it publishes the bus on the session bus alone, not on the X root window.
    // It keeps the screen reader's switch in GSettings: in memory, so that no installed settings
    // service decides whether the switch holds.
    QProcessEnvironment launcherEnv = environment();
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
        call.setProcessEnvironment(environment());
        call.start(QStringLiteral("gdbus"), getAddress);
        call.waitForFinished(10000);
        if (call.exitCode() == 0 && call.readAllStandardOutput().contains("unix:"))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }

    m_listener.setProcessEnvironment(environment());
    m_listener.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_listener.start(QStringLiteral("/usr/bin/python3"),
                     {kScript, QStringLiteral("listen"), m_dir.filePath(QStringLiteral("events.log"))});
    if (!m_listener.waitForStarted(5000))
        return false;
    while (!m_listener.canReadLine()) {
        if (!m_listener.waitForReadyRead(20000))
            return false;
    }
    return m_listener.readLine().trimmed() == "ready";
}

QList<QJsonObject> ScreenReader::events() const
{
    QFile log(m_dir.filePath(QStringLiteral("events.log")));
    return log.open(QIODevice::ReadOnly) ? jsonLines(log.readAll()) : QList<QJsonObject>();
}

QList<QJsonObject> ScreenReader::tree(qint64 pid) const
{
    QProcess dump;
    dump.setProcessEnvironment(environment());
    dump.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    dump.start(QStringLiteral("/usr/bin/python3"), {kScript, QStringLiteral("tree"), QString::number(pid)});
    dump.waitForFinished(30000);
    return jsonLines(dump.readAllStandardOutput());
}

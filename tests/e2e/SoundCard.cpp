#include "SoundCard.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <cmath>

PrivateSoundServer::PrivateSoundServer() = default;

PrivateSoundServer::~PrivateSoundServer()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(5000)) {
        m_server.kill();
        m_server.waitForFinished(5000);
    }
}

QString PrivateSoundServer::start()
{
    const QString script = m_dir.filePath(QStringLiteral("server.pa"));
    QFile file(script);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write ") + script;
    file.write(QStringLiteral("load-module module-null-sink sink_name=capture rate=44100\n"
                              "load-module module-native-protocol-unix auth-anonymous=1 socket=%1\n"
                              "set-default-sink capture\n")
                   .arg(m_dir.filePath(QStringLiteral("native")))
                   .toUtf8());
    file.close();

    // Its own home and runtime folders, so it neither finds nor disturbs another server.
    QDir dir(m_dir.path());
    for (const char* sub : {"home", "runtime", "client"})
        dir.mkpath(QLatin1String(sub));
    QFile::setPermissions(m_dir.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.filePath(QStringLiteral("runtime")));
    env.remove(QStringLiteral("PULSE_SERVER"));
    m_server.setProcessEnvironment(env);
    m_log.clear();
    m_server.setProcessChannelMode(QProcess::MergedChannels);
    m_server.start(QStringLiteral("pulseaudio"),
                   {QStringLiteral("--daemonize=no"), QStringLiteral("-n"), QStringLiteral("-F"), script,
                    QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                    QStringLiteral("--log-target=stderr")});
    if (!m_server.waitForStarted(5000))
        return QStringLiteral("pulseaudio does not start: ") + m_server.errorString();

    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (m_server.state() == QProcess::NotRunning)
            return QStringLiteral("pulseaudio ended: ") + QString::fromLocal8Bit(m_server.readAll());
        QProcess probe;
        probe.setProcessChannelMode(QProcess::MergedChannels);
        probe.setStandardOutputFile(QProcess::nullDevice());
        probe.start(QStringLiteral("pactl"), {QStringLiteral("-s"), address(), QStringLiteral("info")});
        if (probe.waitForFinished(5000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return QString();
        QThread::msleep(50);
    }
    return QStringLiteral("pulseaudio does not answer: ") + QString::fromLocal8Bit(m_server.readAll());
}

void PrivateSoundServer::kill()
{
    m_server.kill();
    m_server.waitForFinished(5000);
}

QString PrivateSoundServer::log()
{
    m_log += m_server.readAll();
    return QString::fromLocal8Bit(m_log);
}

QString PrivateSoundServer::whyNothingIsHeard()
{
    if (!isRunning())
        return QStringLiteral("the sound server ended (exit code %1): %2")
            .arg(m_server.exitCode())
            .arg(log());
    return QStringLiteral("nothing is heard");
}

SinkRecorder::SinkRecorder(const PrivateSoundServer& server) : m_server(server) {}

SinkRecorder::~SinkRecorder()
{
    if (m_recorder.state() != QProcess::NotRunning) {
        m_recorder.kill();
        m_recorder.waitForFinished(5000);
    }
}

bool SinkRecorder::start()
{
    m_recorder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_recorder.start(QStringLiteral("parec"),
                     {QStringLiteral("-s"), m_server.address(), QStringLiteral("-d"), m_server.monitor(),
                      QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(kRate),
                      QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20")});
    return m_recorder.waitForStarted(5000);
}

QByteArray SinkRecorder::record(int ms)
{
    // Only what comes from now on: drop what waits in QProcess and in the pipe.
    do
        m_recorder.readAll();
    while (m_recorder.waitForReadyRead(0));
    const qsizetype wanted = qsizetype(kRate) * 2 * ms / 1000;
    QByteArray samples;
    QDeadlineTimer deadline(ms + 3000);
    while (samples.size() < wanted && !deadline.hasExpired()) {
        m_recorder.waitForReadyRead(50);
        samples += m_recorder.readAll();
    }
    samples.truncate(wanted & ~qsizetype(1));
    return samples;
}

namespace {
double rms(const QByteArray& samples)
{
    const auto* data = reinterpret_cast<const qint16*>(samples.constData());
    const qsizetype count = samples.size() / 2;
    double sum = 0;
    for (qsizetype i = 0; i < count; ++i)
        sum += double(data[i]) * data[i];
    if (count == 0 || sum == 0)
        return -200;
    return 20 * std::log10(std::sqrt(sum / double(count)) / 32768.0);
}
} // namespace

double SinkRecorder::level(int ms)
{
    return rms(record(ms));
}

QList<double> SinkRecorder::levels(int ms, int blockMs)
{
    const QByteArray samples = record(ms);
    const qsizetype blockBytes = qsizetype(kRate) * 2 * blockMs / 1000;
    QList<double> result;
    for (qsizetype at = 0; at + blockBytes <= samples.size(); at += blockBytes)
        result.append(rms(samples.mid(at, blockBytes)));
    return result;
}

SinkRecorder::Plays SinkRecorder::countPlays(const QList<double>& levels, double loud, double quiet)
{
    Plays plays;
    bool sounding = false;
    int quietRun = 0;
    for (double level : levels) {
        quietRun = level < quiet ? quietRun + 1 : 0;
        plays.longestQuiet = std::max(plays.longestQuiet, quietRun);
        if (!sounding && level >= loud) {
            sounding = true;
            ++plays.count;
        } else if (sounding && level < quiet) {
            sounding = false;
        }
    }
    return plays;
}

bool SinkRecorder::waitForLevel(double dB, int timeoutMs, bool quieter)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const double block = level(100);
        if (quieter ? block < dB : block >= dB)
            return true;
    }
    return false;
}

// Memory of the real program at rest: PSS and RSS 5 s after start, when the main window has gone
// into the tray. Each start runs in a desktop session of its own, with its own session bus, so
// that no earlier start shares its pages or its services.
#include "BenchReport.h"
#include "IsolatedRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>
#include <vector>

namespace {

constexpr int kStarts = 5;
constexpr int kRestAfterSeconds = 5;
// The lightest tray alarm clock in Debian, measured the same way.
constexpr double kPeerPssMiB = 20;

qint64 rollupKiB(const QByteArray& rollup, const QByteArray& key)
{
    for (const QByteArray& line : rollup.split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Other processes that map Qt's core library: PSS shares each page among all that map it, so with
// other Qt programs running it reads lower than on a machine of its own.
int otherQtProcesses(qint64 self)
{
    int count = 0;
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        if (pid.toLongLong() <= 0 || pid.toLongLong() == self)
            continue;
        QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
        if (maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Core.so"))
            ++count;
    }
    return count;
}

// Inside a fresh session: one start, its figures on one line ("pss rss anonymous others", KiB).
int measureOneStart()
{
    QTemporaryDir root;
    QProcess program;
    program.setProgram(QStringLiteral(QUORVEL_PROGRAM));
    program.setProcessEnvironment(isolatedEnvironment(root));
    program.setStandardErrorFile(QProcess::nullDevice());
    program.start();
    if (!program.waitForStarted())
        return 1;
    QThread::sleep(kRestAfterSeconds);
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(program.processId()));
    const QByteArray figures = rollup.open(QIODevice::ReadOnly) ? rollup.readAll() : QByteArray();
    const bool alive = program.state() == QProcess::Running;
    std::printf("%lld %lld %lld %d\n", rollupKiB(figures, "Pss:"), rollupKiB(figures, "Rss:"),
                rollupKiB(figures, "Anonymous:"), otherQtProcesses(program.processId()));
    program.terminate();
    if (!program.waitForFinished(3000)) {
        program.kill();
        program.waitForFinished(3000);
    }
    return alive && rollupKiB(figures, "Pss:") > 0 ? 0 : 1;
}

QString range(const std::vector<double>& values)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("%1–%2").arg(*low, 0, 'f', 1).arg(*high, 0, 'f', 1);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (app.arguments().contains(QStringLiteral("--one-start")))
        return measureOneStart();

    std::vector<double> pss;
    std::vector<double> rss;
    std::vector<double> anonymous;
    int others = 0;
    for (int start = 0; start < kStarts; ++start) {
        QProcess session;
        session.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        session.start(QStringLiteral(QUORVEL_WITH_DESKTOP),
                      {QCoreApplication::applicationFilePath(), QStringLiteral("--one-start")});
        if (!session.waitForFinished(60000) || session.exitCode() != 0) {
            std::fprintf(stderr, "bench_memory: start %d failed\n", start + 1);
            continue;
        }
        const QList<QByteArray> fields = session.readAllStandardOutput().trimmed().split(' ');
        if (fields.size() < 4)
            continue;
        pss.push_back(fields[0].toDouble() / 1024);
        rss.push_back(fields[1].toDouble() / 1024);
        anonymous.push_back(fields[2].toDouble() / 1024);
        others = qMax(others, fields[3].toInt());
    }
    if (pss.empty())
        return 1;
    std::printf(
        "at rest %d s after start, %d of %d starts, each in its own desktop: PSS %s MiB, RSS %s MiB\n",
        kRestAfterSeconds, int(pss.size()), kStarts, qPrintable(range(pss)), qPrintable(range(rss)));
    if (others > 0)
        std::printf("(%d other processes map Qt's libraries and share their pages: PSS reads low)\n", others);
    BenchReport::figure("PSS at rest, 5 s after start", BenchReport::median(pss), 1, "MiB", kPeerPssMiB);
    BenchReport::figure("RSS at rest, 5 s after start", BenchReport::median(rss), 1, "MiB");
    // The pages the program wrote itself: heap, stacks, relocated data. The code and font pages
    // given back at rest stay in the system's file cache; these are memory no one else has.
    BenchReport::figure("anonymous memory at rest, 5 s after start", BenchReport::median(anonymous), 1,
                        "MiB");
    return int(pss.size()) == kStarts ? 0 : 1;
}

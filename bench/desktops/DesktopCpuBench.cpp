// The whole system's CPU while the strip runs one whole cycle, on each test desktop: this program
// (the strip), the X server, and the window manager, compositor and panel, from /proc. Started
// outside a desktop of its own, it runs itself once in each desktop through scripts/with-desktop.
// QUORVEL_BENCH_DESKTOPS="openbox picom" picks the desktops; all of them by default.
#include "BenchReport.h"
#include "StripCycle.h"
#include "appearance/AppearanceModel.h"
#include "overlay/CaptionQueue.h"
#include "overlay/Form2.h"
#include "platform/PlatformSession.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kCycles = 2;
constexpr char kInner[] = "QUORVEL_BENCH_INNER";

struct Process
{
    qint64 parent = 0;
    QByteArray name;
    double cpuMs = 0;
};
using ProcessTable = QHash<qint64, Process>;

// Every process's parent, name and CPU time so far.
ProcessTable processTable()
{
    ProcessTable table;
    const double msPerTick = 1000.0 / double(sysconf(_SC_CLK_TCK));
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isPid = false;
        const qint64 pid = entry.toLongLong(&isPid);
        QFile stat(QStringLiteral("/proc/%1/stat").arg(entry));
        if (!isPid || !stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const int open = line.indexOf('('), close = line.lastIndexOf(')');
        // The fields after the name, which may hold spaces: state, parent, ..., utime, stime.
        const QList<QByteArray> fields = line.mid(close + 2).split(' ');
        if (open < 0 || fields.size() < 13)
            continue;
        table.insert(pid, {fields[1].toLongLong(), line.mid(open + 1, close - open - 1),
                           (fields[11].toDouble() + fields[12].toDouble()) * msPerTick});
    }
    return table;
}

// The processes and all their descendants, leaving out the excluded ones and theirs.
QList<qint64> withDescendants(const ProcessTable& table, QList<qint64> roots, const QList<qint64>& excluded)
{
    QList<qint64> all;
    while (!roots.isEmpty()) {
        const qint64 pid = roots.takeLast();
        if (excluded.contains(pid) || all.contains(pid) || !table.contains(pid))
            continue;
        all.append(pid);
        for (auto it = table.begin(); it != table.end(); ++it)
            if (it->parent == pid)
                roots.append(it.key());
    }
    return all;
}

double cpuMsBetween(const ProcessTable& before, const ProcessTable& after, const QList<qint64>& pids)
{
    double sum = 0;
    // A process started meanwhile counts from zero.
    for (qint64 pid : pids)
        sum += after.value(pid).cpuMs - (before.contains(pid) ? before.value(pid).cpuMs : 0);
    return sum;
}

QList<qint64> pidsFromEnvironment(const char* name)
{
    QList<qint64> pids;
    for (const QString& word : qEnvironmentVariable(name).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        pids.append(word.toLongLong());
    return pids;
}

void runCycle(Form2& strip, CaptionQueue& queue, const QString& text)
{
    // As when an alarm fires: queued, rendered, shown, started, put on top.
    queue.append(0, text);
    strip.SetCap(text);
    strip.showOverlay();
    strip.startSlideIn();
    strip.PosTop();
    queue.remove(0); // the cycle runs to its end and the strip then idles
    waitForCycleEnd(strip);
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

int measureInThisDesktop(int argc, char* argv[])
{
    PlatformSession::choosePlatform(); // under Wayland, XWayland as the program itself chooses
    QApplication app(argc, argv);
    const QString desktop = qEnvironmentVariable("QUORVEL_DESKTOP", QStringLiteral("?"));
    const qint64 self = QCoreApplication::applicationPid();
    const QList<qint64> server = {qEnvironmentVariableIntValue("QUORVEL_X_SERVER_PID")};
    const QList<qint64> desktopRoots = pidsFromEnvironment("QUORVEL_DESKTOP_PIDS");

    CaptionQueue queue;
    const AppearanceModel appearance;
    Form2 strip(queue, appearance);
    const QString text = QStringLiteral("明天上午九点在三楼会议室开项目例会请准时");
    strip.SetCap(text);
    settle(1000); // the window manager places the new window, the panel redraws once

    std::vector<double> program, xServer, desktopShare, together;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        const ProcessTable before = processTable();
        QElapsedTimer wall;
        wall.start();
        runCycle(strip, queue, text);
        const double wallMs = double(wall.elapsed());
        const ProcessTable after = processTable();
        const QList<qint64> shell = withDescendants(after, desktopRoots, server + QList<qint64>{self});
        const double share[3] = {cpuMsBetween(before, after, {self}),
                                 cpuMsBetween(before, after, withDescendants(after, server, {self})),
                                 cpuMsBetween(before, after, shell)};
        program.push_back(100.0 * share[0] / wallMs);
        xServer.push_back(100.0 * share[1] / wallMs);
        desktopShare.push_back(100.0 * share[2] / wallMs);
        together.push_back(100.0 * (share[0] + share[1] + share[2]) / wallMs);
        std::printf("%s, cycle %d: %.0f ms long; CPU ms: program %.0f, X server %.0f, desktop %.0f (",
                    qPrintable(desktop), cycle + 1, wallMs, share[0], share[1], share[2]);
        for (qint64 pid : shell)
            std::printf(" %s %.0f", after.value(pid).name.constData(), cpuMsBetween(before, after, {pid}));
        std::printf(" )\n");
    }
    const auto name = [&desktop](const char* what) {
        return (desktop + QLatin1String(": ") + what).toUtf8();
    };
    BenchReport::figure(name("program's CPU share of one whole cycle (one core)").constData(),
                        BenchReport::median(program), 1, "%");
    BenchReport::figure(name("X server's CPU share").constData(), BenchReport::median(xServer), 1, "%");
    BenchReport::figure(name("window manager, compositor and panel's CPU share").constData(),
                        BenchReport::median(desktopShare), 1, "%");
    BenchReport::figure(name("all together").constData(), BenchReport::median(together), 1, "%", 5);
    return 0;
}

// Runs this program in each desktop; its lines pass straight through.
int measureInEachDesktop(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList desktops =
        qEnvironmentVariable("QUORVEL_BENCH_DESKTOPS").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (desktops.isEmpty()) {
        QProcess list;
        list.start(QStringLiteral(QUORVEL_WITH_DESKTOP), {QStringLiteral("--list")});
        list.waitForFinished();
        desktops =
            QString::fromLocal8Bit(list.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QStringList failed;
    for (const QString& desktop : desktops) {
        QProcess run;
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QString::fromLatin1(kInner), QStringLiteral("1"));
        run.setProcessEnvironment(env);
        std::fflush(stdout);
        run.start(QStringLiteral(QUORVEL_WITH_DESKTOP),
                  {QStringLiteral("--desktop"), desktop, QCoreApplication::applicationFilePath()});
        if (!run.waitForFinished(300000) || run.exitStatus() != QProcess::NormalExit || run.exitCode() != 0)
            failed.append(desktop);
    }
    if (!failed.isEmpty())
        std::fprintf(stderr, "bench_desktop_cpu: FAILED on %s\n", qPrintable(failed.join(QLatin1Char(' '))));
    return failed.isEmpty() ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    return qEnvironmentVariableIsSet(kInner) ? measureInThisDesktop(argc, argv)
                                             : measureInEachDesktop(argc, argv);
}

// The whole system's CPU while the strip runs one whole cycle, on each test desktop: this program
// (the strip), the X server, and the window manager, compositor and panel, from /proc. Started
// outside a desktop of its own, it runs itself once in each desktop through scripts/with-desktop.
// QUORVEL_BENCH_DESKTOPS="openbox picom" picks the desktops; all of them by default. The cycles run
// twice: over the bare desktop, and over an application window under the band that counts the
// repaints the strip costs it. Each cycle over the bare desktop is followed by two runs of a bare X
// client (bare_strip_window.c) that moves a window like the strip's by the same steps, once in the
// letters' shape and once in their box: what the desktop spends on those is not the strip's doing.
// QUORVEL_BENCH_CYCLES sets how many cycles each median takes (2).
#include "BenchReport.h"
#include "StripCycle.h"
#include "WindowBelow.h"
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
#include <QPoint>
#include <QProcess>
#include <QRegion>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kDefaultCycles = 2;
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

// One whole cycle: its length, this program's CPU and everyone's CPU from /proc before and after.
struct Cycle
{
    double wallMs = 0;
    double programMs = 0;
    ProcessTable before, after;
    double cpuMs(const QList<qint64>& pids) const { return cpuMsBetween(before, after, pids); }
};

double ownCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

Cycle measureCycle(Form2& strip, CaptionQueue& queue, const QString& text)
{
    Cycle c;
    c.before = processTable();
    // Our own share leaves out the reading of /proc around the cycle.
    const double ownStart = ownCpuMs();
    QElapsedTimer wall;
    wall.start();
    runCycle(strip, queue, text);
    c.wallMs = double(wall.elapsed());
    c.programMs = ownCpuMs() - ownStart;
    c.after = processTable();
    return c;
}

// The strip's ticks as the bare client replays them: the window's place and shape after each one.
class TickRecorder
{
public:
    explicit TickRecorder(Form2& strip) : m_strip(strip)
    {
        // The window sits at the letters inside the panel; the strip is idle, so Qt knows its place.
        m_boxOffset = strip.pos() - strip.stripGeometry().topLeft() - QPoint(strip.panelLeft(), 0);
        for (const char* name : {"Timer1", "Timer2", "Timer3"}) {
            auto* timer = strip.findChild<QTimer*>(QString::fromLatin1(name));
            // Connected after the strip's own handler, so the tick has placed the window.
            m_connections.append(QObject::connect(timer, &QTimer::timeout, [this, timer] { record(timer); }));
        }
    }
    void stop()
    {
        for (const auto& connection : m_connections)
            QObject::disconnect(connection);
    }
    // The bare client's input. The bench desktops run at a device pixel ratio of 1, where the
    // strip's logical shape is the one the server gets.
    QByteArray script() const
    {
        QByteArray text;
        for (const QRegion& shape : m_shapes) {
            text += "shape " + QByteArray::number(shape.rectCount());
            for (const QRect& r : shape)
                text += ' ' + QByteArray::number(r.x()) + ' ' + QByteArray::number(r.y()) + ' ' +
                        QByteArray::number(r.width()) + ' ' + QByteArray::number(r.height());
            text += '\n';
        }
        for (const Tick& tick : m_ticks)
            text += "tick " + QByteArray::number(tick.ms) + ' ' + QByteArray::number(tick.at.x()) + ' ' +
                    QByteArray::number(tick.at.y()) + ' ' + QByteArray::number(tick.shape) + '\n';
        return text;
    }

private:
    struct Tick
    {
        int ms;
        QPoint at;
        int shape;
    };
    void record(const QTimer* timer)
    {
        int shape = int(m_shapes.indexOf(m_strip.shape()));
        if (shape < 0) {
            shape = int(m_shapes.size());
            m_shapes.append(m_strip.shape());
        }
        const QPoint panel = m_strip.stripGeometry().topLeft() + QPoint(m_strip.panelLeft(), 0);
        m_ticks.append({timer->interval(), panel + m_boxOffset, shape});
    }

    Form2& m_strip;
    QPoint m_boxOffset;
    QList<QMetaObject::Connection> m_connections;
    QList<QRegion> m_shapes;
    QList<Tick> m_ticks;
};

// One run of the bare client: its own CPU, and everyone's from /proc before and after.
struct BareRun
{
    double wallMs = 0;
    double clientMs = 0;
    ProcessTable before, after;
    double cpuMs(const QList<qint64>& pids) const { return cpuMsBetween(before, after, pids); }
};

bool runBareWindow(WId strip, const QByteArray& script, bool box, BareRun& run)
{
    QProcess client;
    QStringList arguments = {QString::number(strip)};
    if (box)
        arguments.append(QStringLiteral("box"));
    run.before = processTable();
    QElapsedTimer wall;
    wall.start();
    client.start(QStringLiteral(QUORVEL_BARE_STRIP_WINDOW), arguments);
    client.write(script);
    client.closeWriteChannel();
    const bool done = client.waitForFinished(60000) && client.exitStatus() == QProcess::NormalExit &&
                      client.exitCode() == 0;
    run.wallMs = double(wall.elapsed());
    run.after = processTable();
    double clientWallMs = 0;
    return done && std::sscanf(client.readAllStandardOutput().constData(), "%lf %lf", &run.clientMs,
                               &clientWallMs) == 2;
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
    const int cycles = qEnvironmentVariableIsSet("QUORVEL_BENCH_CYCLES")
                           ? qMax(1, qEnvironmentVariableIntValue("QUORVEL_BENCH_CYCLES"))
                           : kDefaultCycles;

    CaptionQueue queue;
    const AppearanceModel appearance;
    Form2 strip(queue, appearance);
    const QString text = QStringLiteral("明天上午九点在三楼会议室开项目例会请准时");
    strip.SetCap(text);
    settle(1000); // the window manager places the new window, the panel redraws once

    const auto name = [&desktop](const QByteArray& what) {
        return (desktop + QLatin1String(": ") + QString::fromUtf8(what)).toUtf8();
    };
    // The bare window in the letters' shape, then in their box; the strip's first cycle gives its ticks.
    struct BareFigures
    {
        const char* name;
        bool box;
        std::vector<double> client, xServer, desktopShare, together;
    };
    BareFigures bare[2] = {{"bare window in the letters' shape", false, {}, {}, {}, {}},
                           {"bare window in the letters' box", true, {}, {}, {}, {}}};
    std::vector<double> program, xServer, desktopShare, together, beyondBare;
    TickRecorder ticks(strip);
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const Cycle c = measureCycle(strip, queue, text);
        ticks.stop();
        const QList<qint64> shell = withDescendants(c.after, desktopRoots, server + QList<qint64>{self});
        const double share[3] = {c.programMs, c.cpuMs(withDescendants(c.after, server, {self})),
                                 c.cpuMs(shell)};
        program.push_back(100.0 * share[0] / c.wallMs);
        xServer.push_back(100.0 * share[1] / c.wallMs);
        desktopShare.push_back(100.0 * share[2] / c.wallMs);
        together.push_back(100.0 * (share[0] + share[1] + share[2]) / c.wallMs);
        std::printf("%s, cycle %d: %.0f ms long; CPU ms: program %.0f, X server %.0f, desktop %.0f (",
                    qPrintable(desktop), cycle + 1, c.wallMs, share[0], share[1], share[2]);
        for (qint64 pid : shell)
            std::printf(" %s %.0f", c.after.value(pid).name.constData(), c.cpuMs({pid}));
        std::printf(" )\n");

        for (BareFigures& figures : bare) {
            BareRun run;
            if (!runBareWindow(strip.winId(), ticks.script(), figures.box, run)) {
                std::fprintf(stderr, "bench_desktop_cpu: the bare window failed on %s\n",
                             qPrintable(desktop));
                return 1;
            }
            const double serverMs = run.cpuMs(withDescendants(run.after, server, {self}));
            const double shellMs =
                run.cpuMs(withDescendants(run.after, desktopRoots, server + QList<qint64>{self}));
            figures.client.push_back(100.0 * run.clientMs / run.wallMs);
            figures.xServer.push_back(100.0 * serverMs / run.wallMs);
            figures.desktopShare.push_back(100.0 * shellMs / run.wallMs);
            figures.together.push_back(100.0 * (run.clientMs + serverMs + shellMs) / run.wallMs);
            std::printf("%s, cycle %d, %s: %.0f ms long; CPU ms: client %.0f, X server %.0f, desktop %.0f\n",
                        qPrintable(desktop), cycle + 1, figures.name, run.wallMs, run.clientMs, serverMs,
                        shellMs);
        }
        beyondBare.push_back(together.back() - bare[0].together.back());
    }
    BenchReport::figure(name("program's CPU share of one whole cycle (one core)").constData(),
                        BenchReport::median(program), 1, "%", 1);
    BenchReport::figure(name("X server's CPU share").constData(), BenchReport::median(xServer), 1, "%");
    BenchReport::figure(name("window manager, compositor and panel's CPU share").constData(),
                        BenchReport::median(desktopShare), 1, "%");
    BenchReport::figure(name("all together").constData(), BenchReport::median(together), 1, "%", 5);
    for (const BareFigures& figures : bare) {
        const QByteArray prefix = QByteArray(figures.name) + ": ";
        if (!figures.box)
            BenchReport::figure(name(prefix + "client's CPU share").constData(),
                                BenchReport::median(figures.client), 1, "%");
        BenchReport::figure(name(prefix + "X server's CPU share").constData(),
                            BenchReport::median(figures.xServer), 1, "%");
        BenchReport::figure(name(prefix + "window manager, compositor and panel's CPU share").constData(),
                            BenchReport::median(figures.desktopShare), 1, "%");
        BenchReport::figure(name(prefix + "all together").constData(), BenchReport::median(figures.together),
                            1, "%");
    }
    // What the strip costs everyone beyond what its bare window costs: the part that is ours.
    BenchReport::figure(name("all together, beyond the bare window in the letters' shape").constData(),
                        BenchReport::median(beyondBare), 1, "%");

    // The same cycles over an application window: what lies under the band pays for each move.
    WindowBelow below;
    if (!below.start()) {
        std::fprintf(stderr, "bench_desktop_cpu: no window below the band on %s\n", qPrintable(desktop));
        return 1;
    }
    settle(500);
    std::vector<double> exposures, belowShare, xServerOverIt;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        const WindowBelow::Counts first = below.counts();
        const Cycle c = measureCycle(strip, queue, text);
        const WindowBelow::Counts last = below.counts();
        exposures.push_back(double(last.exposures - first.exposures));
        belowShare.push_back(100.0 * c.cpuMs({below.pid()}) / c.wallMs);
        const double serverMs = c.cpuMs(withDescendants(c.after, server, {self}));
        xServerOverIt.push_back(100.0 * serverMs / c.wallMs);
        std::printf("%s, cycle %d over a window below: it got %ld exposures and painted %ld times; CPU ms: "
                    "program %.0f, X server %.0f, window below %.0f\n",
                    qPrintable(desktop), cycle + 1, last.exposures - first.exposures,
                    last.repaints - first.repaints, c.programMs, serverMs, c.cpuMs({below.pid()}));
    }
    BenchReport::figure(name("exposures (repaints) of a window below the band, per cycle").constData(),
                        BenchReport::median(exposures), 0, "events");
    BenchReport::figure(name("window below's CPU share").constData(), BenchReport::median(belowShare), 1,
                        "%");
    BenchReport::figure(name("X server's CPU share over the window below").constData(),
                        BenchReport::median(xServerOverIt), 1, "%");
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
    if (WindowBelow::isWindowBelow())
        return WindowBelow::run(argc, argv);
    return qEnvironmentVariableIsSet(kInner) ? measureInThisDesktop(argc, argv)
                                             : measureInEachDesktop(argc, argv);
}

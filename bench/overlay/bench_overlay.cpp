// Rendering and animation costs of the strip. Run under QT_QPA_PLATFORM=offscreen or on a real
// X display (xcb). When QUORVEL_X_SERVER_PID names the X server (scripts/with-desktop sets it),
// the server's share of a cycle is measured too: moving letters cost it more than they cost us.
#include "BenchReport.h"
#include "StripCycle.h"
#include "appearance/AppearanceModel.h"
#include "overlay/CaptionQueue.h"
#include "overlay/Form2.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kCycles = 3;

// Counts paint events of the letters, to show that the measured ticks repainted.
class PaintCounter : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// CPU time of another process in ms, from /proc; -1 when it cannot be read.
double processCpuMs(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The fields after the command name, which is in parentheses and may hold spaces.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    const double ticks = fields[11].toDouble() + fields[12].toDouble(); // utime, stime
    return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

double medianSetCapMs(Form2& strip, const QString& text, int runs)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        strip.SetCap(text);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return BenchReport::median(times);
}

// The share of one core that an event loop spends waking for a 10 ms timer whose slot does
// nothing, over as many ticks as one cycle has.
double emptyTimerShare()
{
    constexpr int kTicks = 440;
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(10);
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (++ticks == kTicks)
            loop.quit();
    });
    QElapsedTimer wall;
    wall.start();
    const double start = cpuMs();
    timer.start();
    loop.exec();
    return 100.0 * (cpuMs() - start) / double(wall.elapsed());
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CaptionQueue queue;
    const AppearanceModel appearance;
    Form2 strip(queue, appearance);

    const QString short20 = QStringLiteral("明天上午九点在三楼会议室开项目例会请准时");
    QString long200;
    while (long200.size() < 200)
        long200 += short20;
    strip.SetCap(short20); // warm the glyph cache
    const double setCap20 = medianSetCapMs(strip, short20, 31);
    const double setCap200 = medianSetCapMs(strip, long200, 11);

    // Whole cycles with a 20-character caption on the real timers, counting ticks and repaints.
    PaintCounter paintCounter;
    strip.findChild<QWidget*>(QStringLiteral("Picture2(0)"))->installEventFilter(&paintCounter);
    int ticks = 0;
    for (QTimer* timer : strip.findChildren<QTimer*>())
        QObject::connect(timer, &QTimer::timeout, [&ticks] { ++ticks; });
    std::vector<double> perTick;
    std::vector<double> cpuShare;
    std::vector<double> serverShare;
    const qint64 serverPid = qEnvironmentVariableIntValue("QUORVEL_X_SERVER_PID");
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        ticks = 0;
        paintCounter.paints = 0;
        queue.append(0, short20);
        strip.SetCap(short20);
        QCoreApplication::processEvents();
        strip.startSlideIn();
        queue.remove(0); // the cycle runs to its end and then idles
        QElapsedTimer wall;
        wall.start();
        const double cycleStart = cpuMs();
        const double serverStart = processCpuMs(serverPid);
        waitForCycleEnd(strip);
        const double cycleCpu = cpuMs() - cycleStart;
        const double cycleWall = double(wall.elapsed());
        if (serverStart >= 0)
            serverShare.push_back(100.0 * (processCpuMs(serverPid) - serverStart) / cycleWall);
        perTick.push_back(cycleCpu / qMax(ticks, 1));
        cpuShare.push_back(100.0 * cycleCpu / cycleWall);
        std::printf(
            "cycle %d on \"%s\": strip %d px wide, %d ticks, %d letter repaints, %.0f ms CPU over %.0f ms\n",
            cycle + 1, qPrintable(QGuiApplication::platformName()), strip.width(), ticks, paintCounter.paints,
            cycleCpu, cycleWall);
    }
    std::printf(
        "(per tick = cycle CPU / ticks: the move, the repaint, the shape update and the event loop)\n");

    BenchReport::figure("SetCap, 20-character caption", setCap20, 2, "ms", 5);
    // No caption may hold up the event loop longer than any other stall.
    BenchReport::figure("SetCap, 200-character caption", setCap200, 2, "ms", 20);
    BenchReport::figure("CPU per animation tick", BenchReport::median(perTick), 3, "ms", 1);
    BenchReport::figure("CPU share of one whole cycle (one core)", BenchReport::median(cpuShare), 1, "%", 10);
    // What any tick costs on this machine before the strip does anything: waking the event loop.
    BenchReport::figure("CPU share of an empty 10 ms timer in the same event loop", emptyTimerShare(), 1,
                        "%");
    if (!serverShare.empty()) {
        std::vector<double> together;
        for (std::size_t i = 0; i < serverShare.size(); ++i)
            together.push_back(cpuShare[i] + serverShare[i]);
        BenchReport::figure("X server's CPU share of one whole cycle", BenchReport::median(serverShare), 1,
                            "%");
        BenchReport::figure("program and X server together, one whole cycle", BenchReport::median(together),
                            1, "%", 5);
    }
    return 0;
}

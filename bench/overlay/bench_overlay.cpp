// Rendering and animation costs of the strip. Run under QT_QPA_PLATFORM=offscreen or on a real
// X display (xcb); on xcb the X server's own work is not counted.
#include "appearance/Appearance.h"
#include "engine/CaptionQueue.h"
#include "overlay/Form2.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

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

class StoredAppearance : public AppearanceSource
{
public:
    Appearance appearance() const override { return Appearance(); }
};

double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
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
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void row(const char* name, const QString& measured, const char* budget)
{
    std::printf("%-40s %14s   %s\n", name, qPrintable(measured), budget);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    CaptionQueue queue;
    StoredAppearance appearance;
    Form2 strip(queue, appearance);

    const QString short20 = QStringLiteral("明天上午九点在三楼会议室开项目例会请准时");
    QString long200;
    while (long200.size() < 200)
        long200 += short20;
    strip.SetCap(short20); // warm the glyph cache
    const double setCap20 = medianSetCapMs(strip, short20, 31);
    const double setCap200 = medianSetCapMs(strip, long200, 11);

    // One whole cycle with a 20-character caption on the real timers, counting ticks and repaints.
    PaintCounter paintCounter;
    strip.findChild<QWidget*>(QStringLiteral("Picture2(0)"))->installEventFilter(&paintCounter);
    int ticks = 0;
    for (QTimer* timer : strip.findChildren<QTimer*>())
        QObject::connect(timer, &QTimer::timeout, [&ticks] { ++ticks; });
    queue.append(short20);
    strip.SetCap(short20);
    QCoreApplication::processEvents();
    strip.startSlideIn();
    queue.remove(short20); // the cycle runs to its end and then idles
    QElapsedTimer wall;
    wall.start();
    const double cycleStart = cpuMs();
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!strip.cycleRunning())
            loop.quit();
    });
    poll.start(50);
    loop.exec();
    const double cycleCpu = cpuMs() - cycleStart;
    const double cycleWall = double(wall.elapsed());
    const double perTick = cycleCpu / qMax(ticks, 1);
    const int tickPaints = paintCounter.paints;

    std::printf(
        "Strip benchmark on platform \"%s\", strip %d px wide, %d ticks per cycle (%d letter repaints)\n\n",
        qPrintable(QGuiApplication::platformName()), strip.width(), ticks, tickPaints);
    std::printf("%-40s %14s   %s\n", "figure", "measured", "budget");
    row("SetCap, 20-character caption (median)", QString::asprintf("%.2f ms", setCap20), "5 ms");
    row("SetCap, 200-character caption (median)", QString::asprintf("%.2f ms", setCap200), "-");
    row("CPU per animation tick (average)", QString::asprintf("%.3f ms", perTick), "1 ms");
    row("CPU share of one whole cycle", QString::asprintf("%.1f %%", 100.0 * cycleCpu / cycleWall),
        "10 % of one core");
    std::printf(
        "\n(whole cycle: %.0f ms CPU over %.0f ms; per tick = cycle CPU / ticks, so it includes the\n"
        " move, the repaint, the shape update and the event loop; the X server's work is not counted)\n",
        cycleCpu, cycleWall);
    return 0;
}

#include "FixedAppearance.h"
#include "support/DesktopShot.h"

#include "overlay/CaptionPainter.h"
#include "overlay/CaptionQueue.h"
#include "overlay/Form2.h"
#include "overlay/GradientTable.h"
#include "platform/PlatformSession.h"
#include "platform/UnmanagedWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <functional>
#include <memory>

namespace {

// A plain window under the strip that counts the presses it receives.
class PressCounter : public QWidget
{
public:
    PressCounter()
    {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, QColor(10, 120, 200));
        setPalette(palette);
        setAutoFillBackground(true);
        setWindowFlags(Qt::FramelessWindowHint);
    }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        ++presses;
        event->accept();
    }
};

bool isLetterPixel(const QImage& layer, QPoint p)
{
    return layer.valid(p) && layer.pixel(p) != CaptionPainter::kKeyColour;
}

// A letter pixel well inside a stroke, so the click cannot miss it by a pixel.
QPoint innerLetterPixel(const QImage& layer)
{
    for (int y = 2; y < layer.height() - 2; ++y) {
        for (int x = 2; x < layer.width() - 2; ++x) {
            bool inner = true;
            for (int dy = -2; dy <= 2 && inner; ++dy)
                for (int dx = -2; dx <= 2 && inner; ++dx)
                    inner = isLetterPixel(layer, QPoint(x + dx, y + dy));
            if (inner)
                return QPoint(x, y);
        }
    }
    return QPoint(-1, -1);
}

int gradientPixels(const QImage& shot)
{
    int count = 0;
    for (int y = 0; y < shot.height(); ++y) {
        const GradientTable::RowColour c = GradientTable::rowColour(0, y);
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) == qRgb(c.red, c.green, c.blue))
                ++count;
    }
    return count;
}

bool xdotool(const QStringList& arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

// A window under the band, and the picture of the desktop the strip's surroundings are compared with.
struct WindowBelowBand
{
    PressCounter window;
    QRect band;
    QImage reference;
};

void showWindowBelowBand(WindowBelowBand& scene)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    scene.window.setGeometry(0, 300, screen.width(), 300);
    scene.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&scene.window));
    scene.band = QRect(0, 400, screen.width(), 80);
    QTRY_VERIFY((scene.reference = shootDesktop()).pixel(2, 440) == qRgb(10, 120, 200));
}

// Pixels of the band that differ from the reference but lie outside the strip's shape.
int changedOutsideShape(const QImage& reference, const QImage& shot, const QRect& band, const QRegion& shape)
{
    int changed = 0;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            if (!shape.contains(QPoint(x, y)) && shot.pixel(x, y) != reference.pixel(x, y))
                ++changed;
    return changed;
}

// Pictures of the screen until one shows what `repainted` looks for, for at most 10 s, without
// running the event loop. A compositor repaints in its own time, slowest on its first start.
QImage shotOnceRepainted(const std::function<bool(const QImage&)>& repainted)
{
    QElapsedTimer clock;
    clock.start();
    QImage shot = shootDesktop();
    while (!repainted(shot) && clock.elapsed() < 10000)
        shot = shootDesktop();
    return shot;
}

void xrandr(const QStringList& arguments)
{
    QProcess::execute(QStringLiteral("xrandr"), arguments);
}

} // namespace

class Form2DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void stripShowsLettersAndLetsClicksThroughElsewhere();
    void stripFollowsThePrimaryMonitor();
    void stripStaysSeeThroughAndClickableAsACompositorComesAndGoes();
};

void Form2DesktopTest::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X display");
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs the xcb platform");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("needs xdotool");
}

void Form2DesktopTest::stripShowsLettersAndLetsClicksThroughElsewhere()
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    WindowBelowBand scene;
    showWindowBelowBand(scene);
    if (QTest::currentTestFailed())
        return;
    PressCounter& below = scene.window;
    const QRect& band = scene.band;
    const QImage& reference = scene.reference;

    CaptionQueue queue;
    FixedAppearance appearance;
    Form2 strip(queue, appearance);
    QSignalSpy dialog(&strip, &Form2::appearanceDialogRequested);
    queue.append(0, QStringLiteral("提醒 Click"));
    strip.SetCap(QStringLiteral("提醒 Click"));
    strip.startSlideIn();
    // Slide in by hand and hold the letters still.
    strip.holdStill(true);
    while (strip.phase() == OverlayCycle::Phase::SlidingIn)
        strip.Timer1_Timer();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QCOMPARE(strip.stripGeometry(), band);
    // The window is the letters' box in the panel that rests at -5.
    const int box = strip.CapWidth();
    QTRY_COMPARE(strip.geometry(), QRect(-5 + (screen.width() - box) / 2, 400, box, 80));

    // Out of the window manager's hands, so never in a taskbar, pager or window list.
    if (!QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty()) {
        QProcess xwininfo;
        xwininfo.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), QString::number(strip.winId())});
        QVERIFY(xwininfo.waitForFinished());
        QVERIFY(xwininfo.readAllStandardOutput().contains("Override Redirect State: yes"));
    }
    below.raise();
    below.activateWindow();
    QTRY_VERIFY(below.isActiveWindow());

    // On screen: gradient-filled letters, and the window below wherever the strip is see-through.
    QTRY_VERIFY(gradientPixels(shootDesktop().copy(band)) > 200);
    // Every band pixel outside the letters is the desktop as it was, never black or key-coloured.
    const QRegion shape = strip.shape().translated(strip.pos());
    QVERIFY(!shape.isEmpty());
    QTRY_COMPARE(changedOutsideShape(reference, shootDesktop(), band, shape), 0);
    // A move made outside the event loop reaches the screen without it, once the compositor has
    // repainted: where the letters arrive, the desktop no longer shows.
    strip.Timer3_Timer();
    const QRegion moved = strip.shape().translated(strip.pos());
    const auto stillDesktop = [&](const QImage& shot) {
        int count = 0;
        for (const QRect& rect : moved - shape)
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = qMax(rect.left(), 0); x <= rect.right(); ++x)
                    count += shot.pixel(x, y) == reference.pixel(x, y) ? 1 : 0;
        return count;
    };
    QCOMPARE(stillDesktop(shotOnceRepainted([&](const QImage& shot) { return stillDesktop(shot) == 0; })), 0);
    // What the letters left shows the window below again once it has repainted.
    QTRY_COMPARE(changedOutsideShape(reference, shootDesktop(), band, moved), 0);
    const QPoint seeThrough(2, 440);

    // A click on a see-through pixel reaches the window below.
    QVERIFY(xdotool({QStringLiteral("mousemove"), QString::number(seeThrough.x()),
                     QString::number(seeThrough.y()), QStringLiteral("click"), QStringLiteral("1")}));
    QTRY_COMPARE(below.presses, 1);

    // A right-click on a letter reaches the strip.
    const QWidget* layer = strip.findChild<QWidget*>(QStringLiteral("Picture2(0)"));
    const QPoint inLayer = innerLetterPixel(strip.layerImage(0));
    QVERIFY(inLayer.x() >= 0);
    const QPoint onScreen = layer->mapToGlobal(inLayer);
    QVERIFY(xdotool({QStringLiteral("mousemove"), QString::number(onScreen.x()),
                     QString::number(onScreen.y()), QStringLiteral("click"), QStringLiteral("3")}));
    QTRY_COMPARE(dialog.count(), 1);
    QCOMPARE(below.presses, 1);
    QVERIFY(!strip.isActiveWindow());

    // Idle after its last cycle, the strip shows nothing at all.
    queue.remove(0);
    for (int tick = 0; tick < 1000 && strip.phase() != OverlayCycle::Phase::Idle; ++tick) {
        if (strip.phase() == OverlayCycle::Phase::Blinking)
            strip.Timer2_Timer();
        else
            strip.Timer3_Timer();
    }
    QCOMPARE(strip.phase(), OverlayCycle::Phase::Idle);
    QTRY_COMPARE(changedOutsideShape(reference, shootDesktop(), band, QRegion()), 0);
}

void Form2DesktopTest::stripFollowsThePrimaryMonitor()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xrandr")).isEmpty())
        QSKIP("needs xrandr");
    if (qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        QSKIP("the Wayland compositor owns the monitors");
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    CaptionQueue queue;
    FixedAppearance appearance;
    Form2 strip(queue, appearance);
    QVERIFY(QTest::qWaitForWindowExposed(&strip));

    // Two monitors side by side, the primary on the right.
    const int half = screen.width() / 2;
    const auto monitor = [](const QString& name, int width, int height, int left, const QString& output) {
        xrandr({QStringLiteral("--setmonitor"), name,
                QStringLiteral("%1/100x%2/100+%3+0").arg(width).arg(height).arg(left), output});
    };
    monitor(QStringLiteral("right"), half, screen.height(), half, QStringLiteral("screen"));
    monitor(QStringLiteral("left"), half, screen.height(), 0, QStringLiteral("none"));
    const auto restore = qScopeGuard([] {
        xrandr({QStringLiteral("--delmonitor"), QStringLiteral("left")});
        xrandr({QStringLiteral("--delmonitor"), QStringLiteral("right")});
    });
    QTRY_COMPARE(strip.stripGeometry(), QRect(half, 400, half, 80));

    // Sliding out, the letters never reach the left monitor.
    queue.append(0, QStringLiteral("左右两屏"));
    strip.SetCap(QStringLiteral("左右两屏"));
    strip.startSlideIn();
    while (strip.phase() == OverlayCycle::Phase::SlidingIn)
        strip.Timer1_Timer();
    QCOMPARE(strip.panelLeft(), -5);
    while (strip.phase() == OverlayCycle::Phase::Blinking)
        strip.Timer2_Timer();
    bool crossed = false;
    for (int tick = 0; tick < 200 && strip.phase() == OverlayCycle::Phase::SlidingOut; ++tick) {
        strip.Timer3_Timer();
        const QRegion shown = strip.shape().translated(strip.pos());
        QVERIFY(shown.boundingRect().left() >= half || shown.isEmpty());
        // The letters' middle, the panel's, has passed onto the left monitor.
        crossed = crossed || strip.panelLeft() + half / 2 < 0;
    }
    QVERIFY(crossed);
}

void Form2DesktopTest::stripStaysSeeThroughAndClickableAsACompositorComesAndGoes()
{
    // xfwm4 lets users switch its compositor off and on; where a plain window manager runs, a user
    // may start picom and stop it again. picom can shadow windows by their outline, so the strip
    // keeps it there.
    const QString desktop = qEnvironmentVariable("QUORVEL_DESKTOP");
    const bool xfwm4 = desktop == QLatin1String("xfwm4");
    if (!xfwm4 && desktop != QLatin1String("openbox"))
        QSKIP("needs xfwm4, or openbox and picom");
    if (!xfwm4 && QStandardPaths::findExecutable(QStringLiteral("picom")).isEmpty())
        QSKIP("needs picom");
    WindowBelowBand scene;
    showWindowBelowBand(scene);
    if (QTest::currentTestFailed())
        return;
    PressCounter& below = scene.window;
    const QRect& band = scene.band;
    const QImage& reference = scene.reference;

    CaptionQueue queue;
    FixedAppearance appearance;
    Form2 strip(queue, appearance);
    QSignalSpy dialog(&strip, &Form2::appearanceDialogRequested);
    auto* window = strip.findChild<UnmanagedWindow*>();
    QSignalSpy compositing(window, &UnmanagedWindow::compositingChanged);
    queue.append(0, QStringLiteral("合成开关"));
    strip.SetCap(QStringLiteral("合成开关"));
    strip.startSlideIn();
    while (strip.phase() == OverlayCycle::Phase::SlidingIn)
        strip.Timer1_Timer();
    strip.holdStill(true);
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    const QRegion shape = strip.shape().translated(strip.pos());
    const QPoint onLetter = strip.findChild<QWidget*>(QStringLiteral("Picture2(0)"))
                                ->mapToGlobal(innerLetterPixel(strip.layerImage(0)));
    // Letters on screen, the window below everywhere else in the band, a click beside the letters
    // for the window below and one on them for the strip.
    const auto seeThroughAndClickable = [&] {
        // The strip repaints what a compositor starting newly shows of it from the event loop.
        QImage shot;
        QTRY_COMPARE_WITH_TIMEOUT(changedOutsideShape(reference, shot = shootDesktop(), band, shape), 0,
                                  10000);
        QVERIFY(gradientPixels(shot.copy(band)) > 200);
        const int presses = below.presses;
        const int dialogs = int(dialog.count());
        for (const QPoint& at : {QPoint(2, 440), onLetter})
            QVERIFY(xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()),
                             QStringLiteral("click"), QStringLiteral("3")}));
        QTRY_COMPARE(dialog.count(), dialogs + 1);
        QCOMPARE(below.presses, presses + 1);
    };
    QCOMPARE(window->seeThroughByAlpha(), xfwm4);
    seeThroughAndClickable();
    if (QTest::currentTestFailed())
        return;

    if (xfwm4) {
        const auto compositor = [](bool on) {
            return QProcess::execute(QStringLiteral("xfconf-query"),
                                     {QStringLiteral("-c"), QStringLiteral("xfwm4"), QStringLiteral("-p"),
                                      QStringLiteral("/general/use_compositing"), QStringLiteral("-s"),
                                      on ? QStringLiteral("true") : QStringLiteral("false")}) == 0;
        };
        const auto restore = qScopeGuard([&compositor] { compositor(true); });
        QVERIFY(compositor(false));
        QVERIFY(compositing.wait(10000));
        QVERIFY(!window->seeThroughByAlpha());
        seeThroughAndClickable();
        if (QTest::currentTestFailed())
            return;
        QVERIFY(compositor(true));
        QTRY_COMPARE_WITH_TIMEOUT(compositing.count(), 2, 10000);
        QVERIFY(window->seeThroughByAlpha());
        seeThroughAndClickable();
        return;
    }

    QProcess compositor;
    compositor.start(QStringLiteral("picom"), {QStringLiteral("--backend"), QStringLiteral("xrender")});
    const auto stop = qScopeGuard([&compositor] {
        compositor.terminate();
        compositor.waitForFinished(5000);
    });
    // picom names its window before it takes over the screen. xdotool fails when a window goes
    // while it searches, so one success is kept.
    bool picomRuns = false;
    QTRY_VERIFY_WITH_TIMEOUT(picomRuns = picomRuns ||
                                         xdotool({QStringLiteral("search"), QStringLiteral("--classname"),
                                                  QStringLiteral("^picom$")}),
                             10000);
    seeThroughAndClickable();
    if (QTest::currentTestFailed())
        return;
    compositor.terminate();
    QVERIFY(compositor.waitForFinished(5000));
    seeThroughAndClickable();
    QCOMPARE(compositing.count(), 0);
}

int main(int argc, char* argv[])
{
    // Without a display the test is skipped rather than failing to start.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Under Wayland, XWayland as the program itself chooses.
    PlatformSession::choosePlatform();
    QApplication app(argc, argv);
    Form2DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form2_desktop.moc"

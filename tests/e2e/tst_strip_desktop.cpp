#include "ProgramSession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QTime>
#include <QWidget>
#include <functional>
#include <optional>

using namespace XDesktop;

namespace {

constexpr int kBandTop = 400;
constexpr int kBandHeight = 80;
const QRgb kBelowColour = qRgb(10, 120, 200);

// A fullscreen window of the test's own, raised after the strip, that counts the presses it gets.
class FullscreenBelow : public QWidget
{
public:
    FullscreenBelow()
    {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, QColor(kBelowColour));
        setPalette(palette);
        setAutoFillBackground(true);
    }
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        ++presses;
        event->accept();
    }
};

// The gradient fill of either look: red to yellow (P1) or black to green (P2), never blue.
bool isLetterFill(QRgb c)
{
    return qBlue(c) == 0 && qGreen(c) >= 64 && (qRed(c) == 255 || qRed(c) * 4 <= qGreen(c) + 4);
}

// Where the letters lie in the band of one screenshot.
struct Sample
{
    QImage shot;
    QRect letters; // empty when no letter shows
};

Sample sample()
{
    // Without a compositor the window below must repaint what the letters leave behind.
    QCoreApplication::processEvents();
    Sample s{screenshot(), QRect()};
    for (int y = kBandTop; y < kBandTop + kBandHeight && y < s.shot.height(); ++y)
        for (int x = 0; x < s.shot.width(); ++x)
            if (isLetterFill(s.shot.pixel(x, y)))
                s.letters |= QRect(x, y, 1, 1);
    return s;
}

// A point inside the letters' box whose 5 x 5 neighbourhood all passes `test`.
std::optional<QPoint> innerPoint(const Sample& s, const std::function<bool(QRgb)>& test)
{
    for (int y = s.letters.top() + 2; y <= s.letters.bottom() - 2; ++y)
        for (int x = s.letters.left() + 2; x <= s.letters.right() - 2; ++x) {
            bool inner = true;
            for (int dy = -2; dy <= 2 && inner; ++dy)
                for (int dx = -2; dx <= 2 && inner; ++dx)
                    inner = test(s.shot.pixel(x + dx, y + dy));
            if (inner)
                return QPoint(x, y);
        }
    return std::nullopt;
}

// The letters at rest: two samples in a row show them at the same place.
Sample waitForRest()
{
    Sample last = sample();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 30000) {
        Sample next = sample();
        if (!next.letters.isEmpty() && next.letters == last.letters)
            return next;
        last = next;
    }
    return Sample{};
}

// The main window shows above the test's fullscreen window.
bool mainAboveBelow()
{
    const auto main = mainWindow();
    return main && screenshot().pixel(main->geometry.center()) != kBelowColour;
}

// Headless Wayland compositors give XWayland no pointer and activate no X11 window on request:
// there only the letters' slide above the fullscreen window can be watched.
bool headlessWayland()
{
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") &&
           qEnvironmentVariableIsEmpty("QUORVEL_POINTER_DISPLAY");
}

bool sway()
{
    return qEnvironmentVariable("QUORVEL_DESKTOP") == QLatin1String("sway");
}

// A program whose alarm fires at start, with its strip below the test's fullscreen window, which
// is then made active: window managers stack an active fullscreen window above all others.
struct Scene
{
    ProgramSession session;
    FullscreenBelow below;
};

void start(Scene& scene)
{
    ProgramSession& session = scene.session;
    session.seed(QStringLiteral("elect"), QStringLiteral("0"), QStringLiteral("1"));
    session.seed(QStringLiteral("time"), QStringLiteral("0"),
                 QTime::currentTime().toString(QStringLiteral("HH:mm")));
    session.seed(QStringLiteral("slogan"), QStringLiteral("0"), QStringLiteral("起来了"));
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(strip() && strip()->viewable, 10000);
    scene.below.showFullScreen();
    if (headlessWayland())
        return;
    QTRY_VERIFY_WITH_TIMEOUT(scene.below.isActiveWindow(), 10000);
    // Hidden into the tray or, without one, minimised (weston ignores an X11 window's minimising).
    QTRY_VERIFY_WITH_TIMEOUT(!mainShown(), 10000);
}

} // namespace

// The alarm's strip in the real program, on whatever desktop runs the test.
class TestStripDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void slidesAboveAFullscreenWindowAndLetsClicksThrough();
    void leftClickOnLettersRestoresTheMainWindow();
    void secondStartRestoresTheMainWindow();
};

void TestStripDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
}

void TestStripDesktop::init()
{
    // Keep clear of a minute's end, so the alarm seeded for "now" is still due when the program starts.
    QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().second() < 50, 15000);
    const bool watchesOnly =
        QTest::currentTestFunction() == QLatin1String("slidesAboveAFullscreenWindowAndLetsClicksThrough");
    if (headlessWayland() && !watchesOnly)
        QSKIP("no pointer and no activation for X11 windows in a headless Wayland session");
}

void TestStripDesktop::slidesAboveAFullscreenWindowAndLetsClicksThrough()
{
    Scene scene;
    start(scene);
    if (QTest::currentTestFailed())
        return;
    const int restCentre = QGuiApplication::primaryScreen()->geometry().width() / 2;

    // Sampled on screen: the letters come in from the right, rest in the middle and leave to the
    // left, every time above the fullscreen window.
    enum Seen
    {
        Nothing,
        Coming,
        Resting,
        Leaving
    } seen = Nothing;
    QRect previous;
    QElapsedTimer clock;
    clock.start();
    while (seen != Leaving && clock.elapsed() < 40000) {
        const QRect letters = sample().letters;
        if (letters.isEmpty())
            continue;
        const int offset = letters.center().x() - restCentre;
        if (offset > 100)
            seen = Coming;
        else if (seen == Coming && letters == previous && qAbs(offset) < 30)
            seen = Resting;
        else if (seen == Resting && offset < -100)
            seen = Leaving;
        previous = letters;
    }
    QCOMPARE(seen, Leaving);
    if (headlessWayland())
        return;
    // The strip never took the keyboard from the window below.
    QCoreApplication::processEvents();
    QVERIFY(scene.below.isActiveWindow());

    // A see-through pixel amid the letters passes the click to the window below.
    const Sample rest = waitForRest();
    const auto gap = innerPoint(rest, [](QRgb c) { return c == kBelowColour; });
    QVERIFY(gap);
    click(*gap);
    QTRY_COMPARE_WITH_TIMEOUT(scene.below.presses, 1, 5000);
    QVERIFY(!mainShown());
}

void TestStripDesktop::leftClickOnLettersRestoresTheMainWindow()
{
    Scene scene;
    start(scene);
    if (QTest::currentTestFailed())
        return;
    if (sway()) {
        // sway turns the restore's activation request into an urgency hint, so the click is
        // watched through the right button: the appearance dialog it opens is shown anyway.
        for (int attempt = 0; attempt < 3 && !otherWindow(); ++attempt) {
            const auto letter = innerPoint(waitForRest(), [](QRgb c) { return c != kBelowColour; });
            QVERIFY(letter);
            click(*letter, 3);
            (void)QTest::qWaitFor([] { return otherWindow().has_value(); }, 2000);
        }
        if (!otherWindow())
            QSKIP(qPrintable(QStringLiteral("XWayland 22.1 under sway puts a press on the strip's letters "
                                            "at a stale pointer position, though sway sends it to the "
                                            "strip's surface; %1 of them reached the window below "
                                            "(README, Limits)")
                                 .arg(scene.below.presses)));
        QCOMPARE(scene.below.presses, 0);
        return;
    }
    // A click that misses the moving letters is tried again at their next rest.
    for (int attempt = 0; attempt < 3; ++attempt) {
        // Any pixel of the letters' layers: everything in the band but the window below.
        const auto letter = innerPoint(waitForRest(), [](QRgb c) { return c != kBelowColour; });
        QVERIFY(letter);
        click(*letter);
        if (QTest::qWaitFor([] { return mainShown(); }, 2000))
            break;
    }
    QTRY_VERIFY_WITH_TIMEOUT(mainRestored() && mainAboveBelow(), 5000);
    QCOMPARE(scene.below.presses, 0);
}

void TestStripDesktop::secondStartRestoresTheMainWindow()
{
    Scene scene;
    start(scene);
    if (QTest::currentTestFailed())
        return;
    if (sway())
        QSKIP("sway turns a program's activation request into an urgency hint and leaves its "
              "minimised window minimised (focus_on_window_activation urgent)");
    QCOMPARE(scene.session.runSecondCopy(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(mainRestored() && mainAboveBelow(), 5000);
}

int main(int argc, char** argv)
{
    // The window below is an X11 window, under Wayland too: XWayland, as the program chooses.
    if (!qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestStripDesktop test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_strip_desktop.moc"

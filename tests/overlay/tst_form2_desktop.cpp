#include "FixedAppearance.h"

#include "engine/CaptionQueue.h"
#include "overlay/CaptionPainter.h"
#include "overlay/Form2.h"
#include "overlay/GradientTable.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
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

} // namespace

class Form2DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void stripShowsLettersAndLetsClicksThroughElsewhere();
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
    PressCounter below;
    below.setGeometry(0, 300, screen.width(), 300);
    below.show();
    QVERIFY(QTest::qWaitForWindowExposed(&below));

    CaptionQueue queue;
    FixedAppearance appearance;
    Form2 strip(queue, appearance);
    QSignalSpy dialog(&strip, &Form2::appearanceDialogRequested);
    queue.append(QStringLiteral("提醒 Click"));
    strip.SetCap(QStringLiteral("提醒 Click"));
    strip.startSlideIn();
    // Slide in by hand and hold the letters still.
    while (strip.phase() == OverlayCycle::Phase::SlidingIn)
        strip.Timer1_Timer();
    strip.findChild<QTimer*>(QStringLiteral("Timer2"))->stop();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QTRY_COMPARE(strip.geometry(), QRect(0, 400, screen.width(), 80));

    // Kept above other windows and off the taskbar.
    if (!QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty()) {
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"),
                    {QStringLiteral("-id"), QString::number(strip.winId()), QStringLiteral("_NET_WM_STATE")});
        QVERIFY(xprop.waitForFinished());
        const QByteArray states = xprop.readAllStandardOutput();
        QVERIFY2(states.contains("_NET_WM_STATE_ABOVE") && states.contains("_NET_WM_STATE_SKIP_TASKBAR"),
                 states.constData());
    }
    below.raise();
    below.activateWindow();
    QTRY_VERIFY(below.isActiveWindow());

    // On screen: gradient-filled letters, and the window below wherever the strip is see-through.
    QTRY_VERIFY(gradientPixels(QGuiApplication::primaryScreen()
                                   ->grabWindow(0, 0, 400, screen.width(), 80)
                                   .toImage()
                                   .convertToFormat(QImage::Format_RGB32)) > 200);
    const QPoint seeThrough(2, 440);
    const QImage corner = QGuiApplication::primaryScreen()
                              ->grabWindow(0, seeThrough.x(), seeThrough.y(), 1, 1)
                              .toImage()
                              .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(corner.pixel(0, 0), qRgb(10, 120, 200));

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
}

int main(int argc, char* argv[])
{
    // Without a display the test is skipped rather than failing to start.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Form2DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form2_desktop.moc"

#include "WindowBelow.h"

#include "platform/PlatformSession.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QSocketNotifier>
#include <QWidget>
#include <cstdio>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

constexpr char kBelow[] = "QUORVEL_BENCH_BELOW";

// Paints itself as an application would, and counts the Expose events the server sends it.
class CountingWindow : public QWidget, public QAbstractNativeEventFilter
{
public:
    CountingWindow()
    {
        setWindowTitle(QStringLiteral("window below the strip"));
        qApp->installNativeEventFilter(this);
    }
    WindowBelow::Counts counts;

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if (type == "xcb_generic_event_t" && (event->response_type & 0x7f) == XCB_EXPOSE &&
            reinterpret_cast<const xcb_expose_event_t*>(event)->window == xcb_window_t(winId()))
            ++counts.exposures;
        return false;
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        // Shown and painted once: the strip may start.
        if (counts.repaints++ == 0) {
            std::printf("ready\n");
            std::fflush(stdout);
        }
        QPainter painter(this);
        painter.fillRect(event->rect(), QColor(10, 120, 200));
        painter.setPen(Qt::white);
        painter.drawText(
            rect(), Qt::AlignCenter | Qt::TextWordWrap,
            QStringLiteral("Text under the strip, as an editor or a browser shows it. ").repeated(12));
    }
};

} // namespace

bool WindowBelow::start()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kBelow), QStringLiteral("1"));
    m_process.setProcessEnvironment(env);
    m_process.start(QCoreApplication::applicationFilePath(), {});
    return m_process.waitForReadyRead(20000) && m_process.readLine().startsWith("ready");
}

WindowBelow::~WindowBelow()
{
    m_process.closeWriteChannel(); // it ends with its input
    if (!m_process.waitForFinished(5000))
        m_process.kill();
    m_process.waitForFinished(1000);
}

WindowBelow::Counts WindowBelow::counts()
{
    m_process.write("count\n");
    Counts counts;
    if (m_process.waitForReadyRead(5000))
        std::sscanf(m_process.readLine().constData(), "%ld %ld", &counts.exposures, &counts.repaints);
    return counts;
}

bool WindowBelow::isWindowBelow()
{
    return qEnvironmentVariableIsSet(kBelow);
}

int WindowBelow::run(int argc, char* argv[])
{
    PlatformSession::choosePlatform(); // an X11 window under Wayland too, like the strip
    QApplication app(argc, argv);
    CountingWindow window;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window.setGeometry(screen.x(), screen.y() + 340, screen.width(), 200); // the band is 400 to 480
    window.show();
    // Answers each "count" on stdin with its figures so far; ends with its input.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char line[64];
        if (read(STDIN_FILENO, line, sizeof line) <= 0) {
            app.quit();
            return;
        }
        std::printf("%ld %ld\n", window.counts.exposures, window.counts.repaints);
        std::fflush(stdout);
    });
    return app.exec();
}

#include "ProgramSession.h"
#include "SessionBus.h"

#include <QFile>
#include <QJsonArray>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTime>
#include <unistd.h>

using namespace XDesktop;

namespace {

// Client-area points of the main window's controls, in pixels.
const QPoint kRow0(60, 16);
const QPoint kChange(48, 152);   // "更改"
const QPoint kTimeHours(91, 17); // Ttime, before its first character
const QRect kList(8, 8, 321, 124);
// The strip's band on the primary screen, which starts at the desktop's left edge.
const QRect kBand(0, 400, 1 << 16, 80);
const QString kFailingCommand = QStringLiteral("/nonexistent/quorvel-test-program");

QString output(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(10000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

void xdotool(const QStringList& arguments)
{
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

// The frame the window manager drew around a window's client area.
QMargins frameExtents(const Window& window)
{
    static const QRegularExpression extents(QStringLiteral(R"(= (\d+), (\d+), (\d+), (\d+))"));
    const auto match = extents.match(output(
        QStringLiteral("xprop"), {QStringLiteral("-id"), window.id, QStringLiteral("_NET_FRAME_EXTENTS")}));
    if (!match.hasMatch())
        return {};
    return QMargins(match.captured(1).toInt(), match.captured(3).toInt(), match.captured(2).toInt(),
                    match.captured(4).toInt());
}

QRect frameOf(const Window& window)
{
    return window.geometry.marginsAdded(frameExtents(window));
}

QRect screenRect()
{
    static const QRegularExpression dimensions(QStringLiteral(R"(dimensions:\s+(\d+)x(\d+) pixels)"));
    const auto match = dimensions.match(output(QStringLiteral("xdpyinfo"), {}));
    return QRect(0, 0, match.captured(1).toInt(), match.captured(2).toInt());
}

QString focusedWindow()
{
    const QString id = output(QStringLiteral("xdotool"), {QStringLiteral("getwindowfocus")}).trimmed();
    return QStringLiteral("0x%1").arg(id.toULongLong(), 0, 16);
}

// The window manager hands the focus over a moment after a window shows, so watch for a while.
bool takesFocus(const Window& window)
{
    return QTest::qWaitFor([&window] { return focusedWindow() == window.id; }, 1500);
}

// Two alarms due this minute: one whose command cannot start, and after it (so that its sound is
// the one played) one with a sound file the user chose that is not there. Everything else is as
// a fresh settings file has it.
void seedFailingAlarms(ProgramSession& session)
{
    const QString now = QTime::currentTime().toString(QStringLiteral("HH:mm"));
    for (const QString& slot : {QStringLiteral("0"), QStringLiteral("1")}) {
        session.seed(QStringLiteral("elect"), slot, QStringLiteral("1"));
        session.seed(QStringLiteral("time"), slot, now);
    }
    session.seed(QStringLiteral("ml"), QStringLiteral("0"), QStringLiteral("运行：") + kFailingCommand);
    session.seed(QStringLiteral("music"), QStringLiteral("1"), session.path(QStringLiteral("chosen.mp3")));
}

// A small file system over a folder for as long as it lives.
struct Mount
{
    QString folder;
    ~Mount()
    {
        if (!folder.isEmpty())
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), folder});
    }
};

// The first Notify call whose body holds `text`.
std::optional<QJsonObject> notified(const SessionBus& bus, const QString& text)
{
    for (const QJsonObject& call : bus.notifications()) {
        if (call.value(QStringLiteral("body")).toString().contains(text))
            return call;
    }
    return std::nullopt;
}

// Every body notified so far, for failure messages.
QByteArray bodies(const SessionBus& bus)
{
    QStringList all;
    for (const QJsonObject& call : bus.notifications())
        all.append(call.value(QStringLiteral("body")).toString());
    return all.join(QStringLiteral(" | ")).toUtf8();
}

} // namespace

// Problems at run time reach the user without covering the list or the strip: through the
// desktop's notification service, or where there is none in a notice beside the main window.
class TestProblemsDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void toldThroughTheNotificationService();
    void failedSaveIsToldThroughTheNotificationService();
    void noticeWithoutAService_data();
    void noticeWithoutAService();
};

void TestProblemsDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
}

void TestProblemsDesktop::toldThroughTheNotificationService()
{
    // Keep clear of a minute's end, so the alarms seeded for "now" are still due at start.
    QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().second() < 50, 15000);
    SessionBus bus;
    QVERIFY(bus.start());
    QVERIFY(bus.startNotificationService());
    ProgramSession session;
    seedFailingAlarms(session);
    session.setEnvironment(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    QVERIFY(session.start());

    QTRY_VERIFY2_WITH_TIMEOUT(notified(bus, session.path(QStringLiteral("chosen.mp3"))), bodies(bus), 10000);
    QTRY_VERIFY2_WITH_TIMEOUT(notified(bus, QStringLiteral("无法运行命令：") + kFailingCommand), bodies(bus),
                              10000);
    const QJsonObject call = *notified(bus, kFailingCommand);
    QCOMPARE(call.value(QStringLiteral("app_name")).toString(), QStringLiteral("Quorvel"));
    QCOMPARE(call.value(QStringLiteral("summary")).toString(), QStringLiteral("Quorvel 提示"));
    QCOMPARE(call.value(QStringLiteral("app_icon")).toString(), QStringLiteral("quorvel"));
    QCOMPARE(call.value(QStringLiteral("desktop_entry")).toString(), QStringLiteral("org.quorvel.quorvel"));
    QCOMPARE(call.value(QStringLiteral("image")).toArray(), (QJsonArray{48, 48}));

    // While the alarms ring under the shown main window, nothing else of ours is on the screen.
    QVERIFY(mainShown());
    QVERIFY(!noticeWindow());
    QVERIFY(otherWindows().isEmpty());
}

void TestProblemsDesktop::failedSaveIsToldThroughTheNotificationService()
{
    if (geteuid() != 0)
        QSKIP("mounts a full file system over the settings folder, which needs root");
    SessionBus bus;
    QVERIFY(bus.start());
    QVERIFY(bus.startNotificationService());
    ProgramSession session;
    session.seed(QStringLiteral("time"), QStringLiteral("0"), QStringLiteral("08:25"));
    session.setEnvironment(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    const QPoint client = mainWindow()->geometry.topLeft();
    // A click in the list keeps the window from hiding into the tray.
    click(client + kRow0);

    // The settings folder becomes a small file system with no room left.
    const QString folder = session.configHome() + QStringLiteral("/Horalis");
    QCOMPARE(QProcess::execute(QStringLiteral("mount"),
                               {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                QStringLiteral("size=64k"), QStringLiteral("tmpfs"), folder}),
             0);
    const Mount mount{folder};
    QFile filler(folder + QStringLiteral("/filler"));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(4096, '\0')) > 0 && filler.flush()) {
    }
    filler.close();

    click(client + kChange);
    click(client + kTimeHours);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("type"), QStringLiteral("09:30")});
    xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    QTRY_VERIFY2_WITH_TIMEOUT(notified(bus, session.settingsFile()), bodies(bus), 10000);
    QVERIFY(!noticeWindow());
}

void TestProblemsDesktop::noticeWithoutAService_data()
{
    QTest::addColumn<QString>("service");
    QTest::newRow("no service on the bus") << QString();
    // Takes the call and never answers it.
    QTest::newRow("a service that does not answer") << QStringLiteral("silent");
    // The bus starts a service for the call, which is killed by a signal before it takes the name.
    QTest::newRow("a service that dies as it starts") << QStringLiteral("dies");
}

void TestProblemsDesktop::noticeWithoutAService()
{
    QFETCH(QString, service);
    QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().second() < 45, 20000);
    SessionBus bus;
    ProgramSession session;
    const QString died = session.path(QStringLiteral("died"));
    // Dies after the main window has hidden into the tray.
    if (service == QLatin1String("dies"))
        QVERIFY(bus.addService(QStringLiteral("org.freedesktop.Notifications"),
                               QStringLiteral("/bin/sh -c \"sleep 4; : >%1; kill -SEGV $$\"").arg(died)));
    QVERIFY(bus.start());
    if (service == QLatin1String("silent"))
        QVERIFY(bus.startNotificationService(true));
    seedFailingAlarms(session);
    session.setEnvironment(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    QVERIFY(session.start());

    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    const auto main = mainWindow();
    if (service.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(noticeWindow(), 5000);
        // The list and its ringing rows stay the user's: a click there keeps the window up.
        click(main->geometry.topLeft() + kRow0);
    } else {
        // The program goes on while it waits: its window hides into the tray on its own timer
        // before the call fails.
        QTRY_VERIFY_WITH_TIMEOUT(iconShown(), 8000);
        QVERIFY(!mainShown());
        QVERIFY(!noticeWindow());
        if (service == QLatin1String("dies")) {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(died), 10000);
            // The bus answers the call with an error as the service dies; the notice follows at once.
            QTRY_VERIFY_WITH_TIMEOUT(noticeWindow(), 1000);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(noticeWindow(), 15000);
        }
    }
    QVERIFY(!takesFocus(*noticeWindow()));
    const QRect notice = frameOf(*noticeWindow());
    // A hidden window has no frame: take it as framed like the notice.
    const QRect mainFrame =
        main->geometry.marginsAdded(frameExtents(service.isEmpty() ? *main : *noticeWindow()));
    const QByteArray where = QStringLiteral("notice at %1,%2 %3x%4, main window's frame at %5,%6 %7x%8")
                                 .arg(notice.x())
                                 .arg(notice.y())
                                 .arg(notice.width())
                                 .arg(notice.height())
                                 .arg(mainFrame.x())
                                 .arg(mainFrame.y())
                                 .arg(mainFrame.width())
                                 .arg(mainFrame.height())
                                 .toUtf8();
    QVERIFY2(screenRect().contains(notice), where);
    QVERIFY2(!notice.intersects(mainFrame), where);
    QVERIFY2(!notice.intersects(kBand), where);
    QVERIFY2(!notice.intersects(kList.translated(main->geometry.topLeft())), where);
    // Beside it: the gap is smaller than the notice itself.
    QVERIFY2(notice.adjusted(-notice.width(), -notice.height(), notice.width(), notice.height())
                 .intersects(mainFrame),
             where);
}

QTEST_GUILESS_MAIN(TestProblemsDesktop)
#include "tst_problems_desktop.moc"

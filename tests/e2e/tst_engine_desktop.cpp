#include "ProgramSession.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QTime>

using namespace XDesktop;

namespace {

const QPoint kCancelCountdown(208, 152); // "取消关机"

QString readAll(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Slot 0 on, due this minute, with the given action.
void seedDueAlarm(ProgramSession& session, const QString& action)
{
    session.seed(QStringLiteral("elect"), QStringLiteral("0"), QStringLiteral("1"));
    session.seed(QStringLiteral("time"), QStringLiteral("0"),
                 QTime::currentTime().toString(QStringLiteral("HH:mm")));
    session.seed(QStringLiteral("slogan"), QStringLiteral("0"), QStringLiteral("该走了"));
    session.seed(QStringLiteral("ml"), QStringLiteral("0"), action);
}

} // namespace

// Alarms firing in the real program: a command line, and the shutdown countdown against a stub.
class TestEngineDesktop : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void dueAlarmRunsItsCommandAtStart();
    void countdownShutsDownUnlessCancelled();
};

void TestEngineDesktop::init()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
    // Keep clear of a minute's end, so the alarm seeded for "now" is still due when the program starts.
    QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().second() < 50, 15000);
}

void TestEngineDesktop::dueAlarmRunsItsCommandAtStart()
{
    ProgramSession session;
    const QString marker = session.path(QStringLiteral("fired"));
    seedDueAlarm(session, QStringLiteral("运行：touch ") + marker);
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marker), 2000);
    QTRY_VERIFY_WITH_TIMEOUT(strip() && strip()->viewable, 2000);
}

void TestEngineDesktop::countdownShutsDownUnlessCancelled()
{
    ProgramSession cancelled;
    seedDueAlarm(cancelled, QStringLiteral("关机(提示)"));
    QVERIFY(cancelled.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainWindow() && mainWindow()->viewable, 5000);
    click(mainWindow()->geometry.topLeft() + kCancelCountdown);

    ProgramSession counted;
    seedDueAlarm(counted, QStringLiteral("关机(提示)"));
    QElapsedTimer sinceStart;
    sinceStart.start();
    QVERIFY(counted.start());

    const QString log = counted.path(QStringLiteral("systemctl.log"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(log), 65000);
    QVERIFY2(sinceStart.elapsed() > 48000, qPrintable(QString::number(sinceStart.elapsed())));
    QCOMPARE(readAll(log), QStringLiteral("poweroff\n"));
    QVERIFY(!QFileInfo::exists(cancelled.path(QStringLiteral("systemctl.log"))));
}

QTEST_GUILESS_MAIN(TestEngineDesktop)
#include "tst_engine_desktop.moc"

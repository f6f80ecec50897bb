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

// A slot on, due this minute, with the given action.
void seedDueAlarm(ProgramSession& session, const QString& action, const QString& slot = QStringLiteral("0"))
{
    session.seed(QStringLiteral("elect"), slot, QStringLiteral("1"));
    session.seed(QStringLiteral("time"), slot, QTime::currentTime().toString(QStringLiteral("HH:mm")));
    session.seed(QStringLiteral("slogan"), slot, QStringLiteral("该走了"));
    session.seed(QStringLiteral("ml"), slot, action);
}

} // namespace

// Alarms firing in the real program: a command line, and the shutdown countdown against a stub.
class TestEngineDesktop : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void dueAlarmRunsItsCommandAtStart();
    void commandWordsArriveAsTyped();
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

void TestEngineDesktop::commandWordsArriveAsTyped()
{
    ProgramSession session;
    const QString log = session.path(QStringLiteral("words.log"));
    QFile script(session.stubDir() + QStringLiteral("/words"));
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(QStringLiteral("#!/bin/sh\nprintf '[%s]\\n' \"$@\" >> '%1'\n").arg(log).toUtf8());
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFile::ExeOwner));

    // An open quote fails on its own; the next alarm still runs.
    seedDueAlarm(session, QStringLiteral("运行：words 'never closed"), QStringLiteral("0"));
    seedDueAlarm(session,
                 QStringLiteral("运行：words sh -c 'notify-send 下课了' \"say \\\"hi\\\" $HOME\" a\\ b "
                                "x;y | && $(id) `id` ~ * $PATH '' \"\""),
                 QStringLiteral("1"));
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(log), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(
        readAll(log),
        QStringLiteral("[sh]\n[-c]\n[notify-send 下课了]\n[say \"hi\" $HOME]\n[a b]\n"
                       "[x;y]\n[|]\n[&&]\n[$(id)]\n[`id`]\n[~]\n[*]\n[$PATH]\n[]\n[]\n"),
        2000);
    // Without a notification service the failure is listed in a notice that leaves the program running.
    QTRY_VERIFY_WITH_TIMEOUT(noticeWindow(), 8000);
    QVERIFY(session.isRunning());
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

#include "FakeAlarmHost.h"
#include "engine/AlarmActions.h"
#include "engine/Countdown.h"
#include "support/Fakes.h"

#include <QTest>

class TestCountdown : public QObject
{
    Q_OBJECT

private:
    struct Rig
    {
        FakeCommandRunner runner;
        FakeAlarmHost host;
        Countdown countdown;
        AlarmActions actions{runner, countdown, host};
    };

private slots:
    void idleAtStart()
    {
        Countdown countdown;
        QVERIFY(!countdown.running());
        QVERIFY(!countdown.Command7().visible);
        QVERIFY(!countdown.Command8().visible);
        QVERIFY(countdown.Command7().enabled);
    }

    void countsDownToTheCommand()
    {
        Rig rig;
        QVERIFY(rig.actions.PerformAlarmAction(QStringLiteral("关机(提示)")));
        QVERIFY(rig.countdown.running());
        QCOMPARE(rig.countdown.Command7().caption, QStringLiteral("50 秒后关机"));
        QCOMPARE(rig.countdown.Command8().caption, QStringLiteral("取消关机"));
        QVERIFY(rig.countdown.Command7().visible && rig.countdown.Command8().visible);

        for (int left = 49; left >= 0; --left) {
            rig.actions.Tclo_Timer();
            QCOMPARE(rig.countdown.Command7().caption, QString::number(left) + QStringLiteral(" 秒后关机"));
            QVERIFY(rig.countdown.running());
        }
        QVERIFY(rig.runner.started.isEmpty());

        rig.actions.Tclo_Timer(); // the 51st
        QCOMPARE(rig.runner.started, QStringList{"systemctl poweroff"});
        QVERIFY(!rig.countdown.running());
        // The buttons stay as they were until another countdown starts.
        QCOMPARE(rig.countdown.Command7().caption, QStringLiteral("0 秒后关机"));
        QVERIFY(rig.countdown.Command7().visible && rig.countdown.Command8().visible);
        QCOMPARE(rig.host.calls.count(QStringLiteral("countdown")), 1 + 51);
    }

    void cancelKeepsSecondsAndWord()
    {
        Rig rig;
        rig.actions.PerformAlarmAction(QStringLiteral("重启(提示)"));
        for (int i = 0; i < 13; ++i)
            rig.actions.Tclo_Timer();
        rig.actions.Command8_Click();
        QVERIFY(!rig.countdown.running());
        QVERIFY(!rig.countdown.Command7().visible);
        QVERIFY(!rig.countdown.Command8().visible);
        QCOMPARE(rig.countdown.countdownSeconds(), quint8(37));
        QCOMPARE(rig.countdown.word(), QStringLiteral("重启"));
        QVERIFY(rig.runner.started.isEmpty());
        QCOMPARE(rig.host.calls.last(), QStringLiteral("countdown"));
    }

    void runNowDisablesButtonsForGood()
    {
        Rig rig;
        rig.actions.PerformAlarmAction(QStringLiteral("重启(提示)"));
        rig.actions.Tclo_Timer();
        rig.actions.Command7_Click();
        QCOMPARE(rig.runner.started, QStringList{"systemctl reboot"});
        QVERIFY(!rig.countdown.running());
        QCOMPARE(rig.countdown.countdownSeconds(), quint8(0));
        QVERIFY(!rig.countdown.Command7().visible);
        QVERIFY(rig.countdown.Command8().visible);
        QVERIFY(!rig.countdown.Command7().enabled);
        QVERIFY(!rig.countdown.Command8().enabled);

        rig.actions.PerformAlarmAction(QStringLiteral("关机(提示)"));
        QVERIFY(rig.countdown.running());
        QVERIFY(rig.countdown.Command7().visible && rig.countdown.Command8().visible);
        QVERIFY(!rig.countdown.Command7().enabled);
        QVERIFY(!rig.countdown.Command8().enabled);
    }

    void newCountdownReplacesTheRunningOne()
    {
        Rig rig;
        rig.actions.PerformAlarmAction(QStringLiteral("关机(提示)"));
        for (int i = 0; i < 20; ++i)
            rig.actions.Tclo_Timer();
        rig.actions.PerformAlarmAction(QStringLiteral("重启(提示)"));
        QCOMPARE(rig.countdown.countdownSeconds(), quint8(50));
        QCOMPARE(rig.countdown.Command7().caption, QStringLiteral("50 秒后重启"));
        QCOMPARE(rig.countdown.Command8().caption, QStringLiteral("取消重启"));
        for (int i = 0; i < 51; ++i)
            rig.actions.Tclo_Timer();
        QCOMPARE(rig.runner.started, QStringList{"systemctl reboot"});
    }

    void immediateShutdownLeavesTheCountdownRunning()
    {
        Rig rig;
        rig.actions.PerformAlarmAction(QStringLiteral("重启(提示)"));
        rig.actions.Tclo_Timer();
        rig.actions.PerformAlarmAction(QStringLiteral("关机"));
        QCOMPARE(rig.runner.started, QStringList{"systemctl poweroff"});
        QVERIFY(rig.countdown.running());
        QCOMPARE(rig.countdown.countdownSeconds(), quint8(49));
    }

    void failingCountdownCommandIsReported()
    {
        Rig rig;
        rig.runner.failing = QStringList{"systemctl reboot"};
        rig.actions.PerformAlarmAction(QStringLiteral("重启(提示)"));
        rig.actions.Command7_Click();
        QVERIFY(!rig.countdown.running());
        QCOMPARE(rig.host.failures(), QStringList{"无法运行命令：systemctl reboot"});
    }
};

QTEST_GUILESS_MAIN(TestCountdown)
#include "tst_countdown.moc"

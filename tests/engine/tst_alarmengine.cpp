#include "engine/AlarmEngine.h"
#include "engine/Clock.h"
#include "overlay/CaptionQueue.h"
#include "settings/MemorySettingsStore.h"
#include "settings/SettingsValues.h"
#include "support/Fakes.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QStringList firstArguments(const QSignalSpy& spy)
{
    QStringList result;
    for (const QList<QVariant>& call : spy)
        result.append(call.first().toString());
    return result;
}

} // namespace

// The engine over fakes: what it asks of the strip, the sound and the commands, and what it signals.
class TestAlarmEngine : public QObject
{
    Q_OBJECT

private:
    struct Rig
    {
        MemorySettingsStore store;
        ManualClock clock{QDateTime(QDate(2026, 6, 8), QTime(7, 0, 3))};
        FakeCommandRunner runner;
        FakeSoundPlayer player;
        FakeOverlay overlay;
        CaptionQueue capList;
        AlarmEngine engine{store, clock, runner, player, overlay, capList};
        QSignalSpy ringing{&engine, &AlarmEngine::ringingStarted};
        QSignalSpy stopped{&engine, &AlarmEngine::ringingStopped};
        QSignalSpy countdown{&engine, &AlarmEngine::countdownChanged};
        QSignalSpy raised{&engine, &AlarmEngine::raiseRequested};
        QSignalSpy exits{&engine, &AlarmEngine::exitRequested};
        QSignalSpy failures{&engine, &AlarmEngine::failureReported};
        QSignalSpy fired{&engine, &AlarmEngine::slotFired};

        void entry(int slot, const QString& slogan, const QString& action,
                   const QString& time = QStringLiteral("07:00"),
                   const QString& music = QStringLiteral("a.mp3"))
        {
            const QString key = SlotKey(slot);
            SettingsValues::saveText(store, AlarmSection::Elect, key, QStringLiteral("1"));
            SettingsValues::saveText(store, AlarmSection::Time, key, time);
            SettingsValues::saveText(store, AlarmSection::Slogan, key, slogan);
            SettingsValues::saveText(store, AlarmSection::Music, key, music);
            SettingsValues::saveText(store, AlarmSection::Action, key, action);
        }
        // Start-up's load and first check.
        void start()
        {
            engine.loadSlots();
            engine.Timer1_Timer();
        }
        // The next minute's check.
        void nextMinute()
        {
            clock.advanceSeconds(60);
            engine.Timer1_Timer();
        }
        QList<int> firedSlots() const
        {
            QList<int> result;
            for (const QList<QVariant>& call : fired)
                result.append(call.first().toInt());
            return result;
        }
    };

private slots:
    void oneSlotFiresEveryStep()
    {
        Rig rig;
        rig.entry(2, QStringLiteral("[上课了]"), QStringLiteral("[无]"), QStringLiteral("07:00"),
                  QStringLiteral("/snd/bell.wav"));
        rig.start();

        QCOMPARE(rig.capList.texts(), (QStringList{"[上课了]"}));
        QCOMPARE(rig.overlay.calls, (QStringList{"SetCap:[上课了]", "show", "slideIn", "PosTop"}));
        QCOMPARE(rig.player.calls, (QStringList{"close", "setURL:/snd/bell.wav"}));
        QCOMPARE(rig.ringing.count(), 1);
        QCOMPARE(rig.ringing.first(), (QList<QVariant>{2, QStringLiteral("[开 07:00] [上课了]")}));
        QCOMPARE(rig.firedSlots(), QList<int>{2});
        QVERIFY(rig.engine.isRinging(2));
        QVERIFY(!rig.engine.alarmSlots().alarmArmed[2]);
        QVERIFY(rig.runner.started.isEmpty());
        QVERIFY(rig.raised.isEmpty() && rig.countdown.isEmpty() && rig.failures.isEmpty());
    }

    void slotsPileUpInIndexOrder()
    {
        Rig rig;
        rig.overlay.running = true; // mid-cycle: no second slide-in
        rig.entry(1, QStringLiteral("same"), QStringLiteral("[无]"));
        rig.entry(3, QStringLiteral("same"), QStringLiteral("[无]"));
        rig.entry(6, QStringLiteral("other"), QStringLiteral("[无]"), QStringLiteral("07:00"),
                  QStringLiteral("b.mp3"));
        rig.start();

        QCOMPARE(rig.capList.texts(), (QStringList{"same", "other"}));
        QCOMPARE(rig.overlay.calls.filter(QStringLiteral("SetCap")),
                 (QStringList{"SetCap:same", "SetCap:other"}));
        QVERIFY(!rig.overlay.calls.contains(QStringLiteral("slideIn")));
        QCOMPARE(rig.player.calls, (QStringList{"close", "setURL:a.mp3", "close", "setURL:b.mp3"}));
        QCOMPARE(rig.firedSlots(), (QList<int>{1, 3, 6}));
    }

    void exitStopsBeforeTheStripAndLaterSlots()
    {
        Rig rig;
        rig.entry(1, QStringLiteral("bye"), QStringLiteral("退出程序"));
        rig.entry(2, QStringLiteral("later"), QStringLiteral("[无]"));
        rig.start();

        QCOMPARE(rig.exits.count(), 1);
        QVERIFY(!rig.overlay.calls.contains(QStringLiteral("PosTop")));
        QVERIFY(rig.fired.isEmpty());
        QVERIFY(rig.engine.alarmSlots().alarmArmed[1]);
        QVERIFY(!rig.engine.isRinging(2) && rig.engine.alarmSlots().alarmArmed[2]);
    }

    // A command that cannot start is reported, and its firing and the later ones still complete.
    void failingCommandsDoNotStopTheFiring()
    {
        Rig rig;
        rig.runner.failing = QStringList{"XXX", "systemctl poweroff"};
        rig.entry(0, QStringLiteral("t0"), QStringLiteral("运行：XXX"));
        rig.entry(1, QStringLiteral("t1"), QStringLiteral("运行："));
        rig.entry(2, QStringLiteral("t2"), QStringLiteral("关机"));
        rig.entry(3, QStringLiteral("t3"), QStringLiteral("运行：/usr/bin/true --x"));
        rig.start();

        QCOMPARE(firstArguments(rig.failures), (QStringList{"无法运行命令：XXX", "无法运行命令：命令为空",
                                                            "无法运行命令：systemctl poweroff"}));
        QCOMPARE(rig.runner.started, QStringList{"/usr/bin/true --x"});
        QCOMPARE(rig.overlay.calls.count(QStringLiteral("PosTop")), 4);
        QCOMPARE(rig.firedSlots(), (QList<int>{0, 1, 2, 3}));
    }

    void soundProblemsAreReported()
    {
        Rig rig;
        emit rig.player.playbackProblem(QStringLiteral("无法播放"));
        QCOMPARE(firstArguments(rig.failures), QStringList{"无法播放"});
    }

    void actionLabels_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QList<bool>>("raises"); // each raise request: with the focus or not
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QString>("countdownWord");
        const QStringList none;
        const QList<bool> noRaise;
        QTest::newRow("none") << "[无]" << noRaise << none << "";
        QTest::newRow("activate") << "激活Quorvel" << QList<bool>{true} << none << "";
        QTest::newRow("shut down") << "关机" << noRaise << QStringList{"systemctl poweroff"} << "";
        QTest::newRow("restart") << "重启" << noRaise << QStringList{"systemctl reboot"} << "";
        QTest::newRow("shut down later") << "关机(提示)" << QList<bool>{false} << none << "关机";
        QTest::newRow("restart later") << "重启(提示)" << QList<bool>{false} << none << "重启";
        QTest::newRow("run") << "运行：notepad.exe" << noRaise << QStringList{"notepad.exe"} << "";
        QTest::newRow("run keeps arguments")
            << "运行：a \"b c\"" << noRaise << QStringList{"a \"b c\""} << "";
        QTest::newRow("ascii colon") << "运行:notepad.exe" << noRaise << none << "";
        QTest::newRow("no colon") << "运行notepad.exe" << noRaise << none << "";
        QTest::newRow("case differs") << "激活quorvel" << noRaise << none << "";
        QTest::newRow("trailing space") << "关机 " << noRaise << none << "";
    }
    void actionLabels()
    {
        QFETCH(QString, label);
        QFETCH(QList<bool>, raises);
        QFETCH(QStringList, started);
        QFETCH(QString, countdownWord);
        Rig rig;
        rig.entry(0, QStringLiteral("t"), label);
        rig.start();
        QList<bool> raised;
        for (const QList<QVariant>& call : rig.raised)
            raised.append(call.first().toBool());
        QCOMPARE(raised, raises);
        QCOMPARE(rig.runner.started, started);
        QCOMPARE(rig.countdown.count(), countdownWord.isEmpty() ? 0 : 1);
        QCOMPARE(rig.engine.countdown().running(), !countdownWord.isEmpty());
        QCOMPARE(rig.engine.countdown().word(), countdownWord);
    }

    void countsDownToTheCommand()
    {
        Rig rig;
        rig.entry(0, QStringLiteral("bye"), QStringLiteral("关机(提示)"));
        rig.start();
        const Countdown& countdown = rig.engine.countdown();
        QVERIFY(countdown.running());
        QCOMPARE(countdown.Command7().caption, QStringLiteral("50 秒后关机"));
        QCOMPARE(countdown.Command8().caption, QStringLiteral("取消关机"));
        QVERIFY(countdown.Command7().visible && countdown.Command8().visible);

        for (int left = 49; left >= 0; --left) {
            rig.engine.Tclo_Timer();
            QCOMPARE(countdown.Command7().caption, QString::number(left) + QStringLiteral(" 秒后关机"));
            QVERIFY(countdown.running());
        }
        QVERIFY(rig.runner.started.isEmpty());

        rig.engine.Tclo_Timer(); // the 51st
        QCOMPARE(rig.runner.started, QStringList{"systemctl poweroff"});
        QVERIFY(!countdown.running());
        // The buttons stay as they were until another countdown starts.
        QCOMPARE(countdown.Command7().caption, QStringLiteral("0 秒后关机"));
        QVERIFY(countdown.Command7().visible && countdown.Command8().visible);
        QCOMPARE(rig.countdown.count(), 1 + 51);
    }

    void cancelKeepsSecondsAndWord()
    {
        Rig rig;
        rig.entry(0, QStringLiteral("bye"), QStringLiteral("重启(提示)"));
        rig.start();
        for (int i = 0; i < 13; ++i)
            rig.engine.Tclo_Timer();
        rig.countdown.clear();
        rig.engine.Command8_Click();
        const Countdown& countdown = rig.engine.countdown();
        QVERIFY(!countdown.running());
        QVERIFY(!countdown.Command7().visible && !countdown.Command8().visible);
        QCOMPARE(countdown.countdownSeconds(), quint8(37));
        QCOMPARE(countdown.word(), QStringLiteral("重启"));
        QVERIFY(rig.runner.started.isEmpty());
        QCOMPARE(rig.countdown.count(), 1);
    }

    void runNowDisablesButtonsForGood()
    {
        Rig rig;
        rig.entry(0, QStringLiteral("bye"), QStringLiteral("重启(提示)"));
        rig.entry(1, QStringLiteral("again"), QStringLiteral("关机(提示)"), QStringLiteral("07:01"));
        rig.start();
        rig.engine.Tclo_Timer();
        rig.engine.Command7_Click();
        const Countdown& countdown = rig.engine.countdown();
        QCOMPARE(rig.runner.started, QStringList{"systemctl reboot"});
        QVERIFY(!countdown.running());
        QCOMPARE(countdown.countdownSeconds(), quint8(0));
        QVERIFY(!countdown.Command7().visible);
        QVERIFY(countdown.Command8().visible);
        QVERIFY(!countdown.Command7().enabled && !countdown.Command8().enabled);

        rig.nextMinute();
        QVERIFY(countdown.running());
        QVERIFY(countdown.Command7().visible && countdown.Command8().visible);
        QVERIFY(!countdown.Command7().enabled && !countdown.Command8().enabled);
    }

    void newCountdownReplacesTheRunningOne()
    {
        Rig rig;
        rig.entry(0, QStringLiteral("bye"), QStringLiteral("关机(提示)"));
        rig.entry(1, QStringLiteral("again"), QStringLiteral("重启(提示)"), QStringLiteral("07:01"));
        rig.start();
        for (int i = 0; i < 20; ++i)
            rig.engine.Tclo_Timer();
        rig.nextMinute();
        const Countdown& countdown = rig.engine.countdown();
        QCOMPARE(countdown.countdownSeconds(), quint8(50));
        QCOMPARE(countdown.Command7().caption, QStringLiteral("50 秒后重启"));
        QCOMPARE(countdown.Command8().caption, QStringLiteral("取消重启"));
        for (int i = 0; i < 51; ++i)
            rig.engine.Tclo_Timer();
        QCOMPARE(rig.runner.started, QStringList{"systemctl reboot"});
    }

    void immediateShutdownLeavesTheCountdownRunning()
    {
        Rig rig;
        rig.entry(0, QStringLiteral("bye"), QStringLiteral("重启(提示)"));
        rig.entry(1, QStringLiteral("now"), QStringLiteral("关机"), QStringLiteral("07:01"));
        rig.start();
        rig.engine.Tclo_Timer();
        rig.nextMinute();
        QCOMPARE(rig.runner.started, QStringList{"systemctl poweroff"});
        QVERIFY(rig.engine.countdown().running());
        QCOMPARE(rig.engine.countdown().countdownSeconds(), quint8(49));
    }

    void failingCountdownCommandIsReported()
    {
        Rig rig;
        rig.runner.failing = QStringList{"systemctl reboot"};
        rig.entry(0, QStringLiteral("bye"), QStringLiteral("重启(提示)"));
        rig.start();
        rig.engine.Command7_Click();
        QVERIFY(!rig.engine.countdown().running());
        QCOMPARE(firstArguments(rig.failures), QStringList{"无法运行命令：systemctl reboot"});
    }

    void dismissalSaysWhetherOthersStillRing()
    {
        Rig rig;
        rig.entry(1, QStringLiteral("one"), QStringLiteral("[无]"));
        rig.entry(3, QStringLiteral("three"), QStringLiteral("[无]"));
        rig.start();

        rig.engine.Ptt_Click(3);
        QCOMPARE(rig.stopped.last(), (QList<QVariant>{3, true}));
        QVERIFY(!rig.engine.isRinging(3) && rig.engine.isRinging(1));
        QCOMPARE(rig.player.URL(), QStringLiteral("a.mp3"));

        rig.engine.Ptt_Click(1);
        QCOMPARE(rig.stopped.last(), (QList<QVariant>{1, false}));
        QVERIFY(rig.player.URL().isEmpty());
        // Dismissal leaves the armed flags alone.
        QVERIFY(!rig.engine.alarmSlots().alarmArmed[1] && !rig.engine.alarmSlots().alarmArmed[3]);
    }

    // A save replaces the record; only a slot switched on may fire again the same day.
    void savedEntriesRearmWhenOn()
    {
        Rig rig;
        rig.entry(4, QStringLiteral("four"), QStringLiteral("[无]"));
        rig.entry(5, QStringLiteral("five"), QStringLiteral("[无]"));
        rig.start();

        AlarmEntry four = rig.engine.entry(4);
        four.on = false;
        four.time = QStringLiteral("07:01");
        AlarmEntry five = rig.engine.entry(5);
        five.time = QStringLiteral("07:01");
        five.slogan = QStringLiteral("5");
        rig.engine.entrySaved(4, four);
        rig.engine.entrySaved(5, five);
        QVERIFY(!rig.engine.alarmSlots().alarmArmed[4]);
        QVERIFY(rig.engine.alarmSlots().alarmArmed[5]);
        QCOMPARE(rig.engine.listLine(5), QStringLiteral("[开 07:01] 5"));
        QCOMPARE(rig.engine.listLine(4), QStringLiteral("[关 07:01] four"));

        rig.fired.clear();
        rig.nextMinute();
        QCOMPARE(rig.firedSlots(), QList<int>{5});
    }

    // The text of a ringing slot is changed and saved, then the slot is dismissed: the text it
    // fired with leaves the strip, and the store is not read again after start-up.
    void savedTextOfARingingSlotLeavesNothingBehind()
    {
        Rig rig;
        rig.entry(2, QStringLiteral("AAA"), QStringLiteral("[无]"));
        rig.start();
        rig.store.reads.clear();
        AlarmEntry edited = rig.engine.entry(2);
        edited.slogan = QStringLiteral("BBB");
        rig.store.SaveSetting(kAppName, AlarmSection::Slogan, SlotKey(2), edited.slogan);
        rig.engine.entrySaved(2, edited);

        rig.engine.Ptt_Click(2);
        QVERIFY(rig.capList.isEmpty());
        QVERIFY(rig.player.URL().isEmpty());
        QVERIFY(rig.store.reads.isEmpty());
    }

    // Two ringing slots share a text: the first dismissal leaves the text and the sound for the
    // other; the last one takes both away.
    void sameTextStaysWhileAnotherSlotRings()
    {
        Rig rig;
        rig.entry(1, QStringLiteral("same"), QStringLiteral("[无]"));
        rig.entry(3, QStringLiteral("same"), QStringLiteral("[无]"));
        rig.start();
        QCOMPARE(rig.overlay.calls.count(QStringLiteral("SetCap:same")), 1);

        rig.engine.Ptt_Click(1);
        QCOMPARE(rig.capList.texts(), QStringList{"same"});
        QCOMPARE(rig.player.URL(), QStringLiteral("a.mp3"));
        rig.engine.Ptt_Click(3);
        QVERIFY(rig.capList.isEmpty());
        QVERIFY(rig.player.URL().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAlarmEngine)
#include "tst_alarmengine.moc"

#include "FakeAlarmHost.h"
#include "engine/AlarmActions.h"
#include "engine/AlarmCheck.h"
#include "engine/AlarmFiring.h"
#include "engine/CaptionQueue.h"
#include "engine/Clock.h"
#include "engine/Countdown.h"
#include "engine/RingingState.h"
#include "settings/MemorySettingsStore.h"
#include "settings/SettingsValues.h"
#include "support/Fakes.h"

#include <QTest>

// The whole firing path as the main window wires it: the check calls AlarmFiring for each due slot.
class TestAlarmFiring : public QObject
{
    Q_OBJECT

private:
    struct Rig
    {
        MemorySettingsStore store;
        ManualClock clock{QDateTime(QDate(2026, 6, 8), QTime(7, 0, 3))};
        AlarmSlots alarmSlots;
        CaptionQueue capList;
        FakeOverlay overlay;
        FakeSoundPlayer player;
        FakeCommandRunner runner;
        FakeAlarmHost host;
        RingingState ringing;
        Countdown countdown;
        AlarmActions actions{runner, countdown, host};
        AlarmFiring firing{store, capList, overlay, player, ringing, actions, host};
        AlarmCheck check{alarmSlots, store, clock};

        Rig() { alarmSlots.alarmArmed.fill(true); }
        void entry(int slot, const QString& slogan, const QString& music, const QString& action)
        {
            alarmSlots.alarmOn[slot] = true;
            alarmSlots.alarmTime[slot] = QStringLiteral("07:00");
            const QString key = SlotKey(slot);
            SettingsValues::saveText(store, AlarmSection::Slogan, key, slogan);
            SettingsValues::saveText(store, AlarmSection::Music, key, music);
            SettingsValues::saveText(store, AlarmSection::Action, key, action);
        }
        bool run()
        {
            return check.run([this](int slot) { return firing.fire(slot); });
        }
    };

private slots:
    void oneSlotFiresEveryStep()
    {
        Rig rig;
        rig.entry(2, QStringLiteral("[上课了]"), QStringLiteral("/snd/bell.wav"), QStringLiteral("[无]"));
        QVERIFY(rig.run());

        QCOMPARE(rig.capList.texts(), (QStringList{"[上课了]"}));
        QCOMPARE(rig.overlay.calls, (QStringList{"SetCap:[上课了]", "show", "slideIn", "PosTop"}));
        QCOMPARE(rig.player.calls, (QStringList{"close", "setURL:/snd/bell.wav"}));
        QCOMPARE(rig.host.calls, (QStringList{"blink", "paint:2", "fired:2"}));
        QVERIFY(rig.ringing.isRinging(2));
        QVERIFY(!rig.alarmSlots.alarmArmed[2]);
        QVERIFY(rig.runner.started.isEmpty());
    }

    void slotsPileUpInIndexOrder()
    {
        Rig rig;
        rig.overlay.running = true; // mid-cycle: no second slide-in
        rig.entry(1, QStringLiteral("same"), QStringLiteral("a.mp3"), QStringLiteral("[无]"));
        rig.entry(3, QStringLiteral("same"), QStringLiteral("a.mp3"), QStringLiteral("[无]"));
        rig.entry(6, QStringLiteral("other"), QStringLiteral("b.mp3"), QStringLiteral("[无]"));
        QVERIFY(rig.run());

        QCOMPARE(rig.capList.texts(), (QStringList{"same", "other"}));
        QCOMPARE(rig.overlay.caption, QStringLiteral("other"));
        QCOMPARE(rig.overlay.calls.filter(QStringLiteral("SetCap")),
                 (QStringList{"SetCap:same", "SetCap:other"}));
        QVERIFY(!rig.overlay.calls.contains(QStringLiteral("slideIn")));
        QCOMPARE(rig.player.calls, (QStringList{"close", "setURL:a.mp3", "close", "setURL:b.mp3"}));
        for (int slot : {1, 3, 6})
            QVERIFY(rig.ringing.isRinging(slot));
        QCOMPARE(rig.host.calls.filter(QStringLiteral("fired")),
                 (QStringList{"fired:1", "fired:3", "fired:6"}));
    }

    void exitStopsBeforeTheStripAndLaterSlots()
    {
        Rig rig;
        rig.entry(1, QStringLiteral("bye"), QStringLiteral("a.mp3"), QStringLiteral("退出程序"));
        rig.entry(2, QStringLiteral("later"), QStringLiteral("b.mp3"), QStringLiteral("[无]"));
        rig.store.reads.clear();
        QVERIFY(!rig.run());

        QVERIFY(!rig.overlay.calls.contains(QStringLiteral("PosTop")));
        QVERIFY(!rig.host.calls.contains(QStringLiteral("fired:1")));
        QVERIFY(rig.alarmSlots.alarmArmed[1]);
        QVERIFY(rig.store.reads.filter(QStringLiteral("/2")).isEmpty());
    }

    // A command that cannot start is reported, and its firing and the later ones still complete.
    void failingCommandsDoNotStopTheFiring()
    {
        Rig rig;
        rig.runner.failing = QStringList{"XXX", "systemctl poweroff"};
        rig.entry(0, QStringLiteral("t0"), QStringLiteral("a.mp3"), QStringLiteral("运行：XXX"));
        rig.entry(1, QStringLiteral("t1"), QStringLiteral("a.mp3"), QStringLiteral("运行："));
        rig.entry(2, QStringLiteral("t2"), QStringLiteral("a.mp3"), QStringLiteral("关机"));
        rig.entry(3, QStringLiteral("t3"), QStringLiteral("a.mp3"),
                  QStringLiteral("运行：/usr/bin/true --x"));
        QVERIFY(rig.run());

        QCOMPARE(rig.host.failures(), (QStringList{"无法运行命令：XXX", "无法运行命令：命令为空",
                                                   "无法运行命令：systemctl poweroff"}));
        QCOMPARE(rig.runner.started, QStringList{"/usr/bin/true --x"});
        QCOMPARE(rig.overlay.calls.count(QStringLiteral("PosTop")), 4);
        for (int slot = 0; slot < 4; ++slot) {
            QVERIFY(!rig.alarmSlots.alarmArmed[slot]);
            QVERIFY(rig.ringing.isRinging(slot));
        }
    }

    void actionLabels_data()
    {
        QTest::addColumn<QString>("label");
        QTest::addColumn<QStringList>("hostCalls");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<QString>("countdownWord");
        const QStringList none;
        QTest::newRow("none") << "[无]" << none << none << "";
        QTest::newRow("activate") << "激活Quorvel" << QStringList{"raise", "focus"} << none << "";
        QTest::newRow("shut down") << "关机" << none << QStringList{"systemctl poweroff"} << "";
        QTest::newRow("restart") << "重启" << none << QStringList{"systemctl reboot"} << "";
        QTest::newRow("shut down later")
            << "关机(提示)" << QStringList{"raise", "countdown"} << none << "关机";
        QTest::newRow("restart later") << "重启(提示)" << QStringList{"raise", "countdown"} << none << "重启";
        QTest::newRow("run") << "运行：notepad.exe" << none << QStringList{"notepad.exe"} << "";
        QTest::newRow("run keeps arguments") << "运行：a \"b c\"" << none << QStringList{"a \"b c\""} << "";
        QTest::newRow("ascii colon") << "运行:notepad.exe" << none << none << "";
        QTest::newRow("no colon") << "运行notepad.exe" << none << none << "";
        QTest::newRow("case differs") << "激活quorvel" << none << none << "";
        QTest::newRow("trailing space") << "关机 " << none << none << "";
    }
    void actionLabels()
    {
        QFETCH(QString, label);
        QFETCH(QStringList, hostCalls);
        QFETCH(QStringList, started);
        QFETCH(QString, countdownWord);
        FakeCommandRunner runner;
        FakeAlarmHost host;
        Countdown countdown;
        AlarmActions actions(runner, countdown, host);
        QVERIFY(actions.PerformAlarmAction(label));
        QCOMPARE(host.calls, hostCalls);
        QCOMPARE(runner.started, started);
        QCOMPARE(countdown.running(), !countdownWord.isEmpty());
        QCOMPARE(countdown.word(), countdownWord);
    }
};

QTEST_GUILESS_MAIN(TestAlarmFiring)
#include "tst_alarmfiring.moc"

#include "engine/AlarmSound.h"
#include "engine/RingingState.h"
#include "overlay/CaptionQueue.h"
#include "settings/MemorySettingsStore.h"
#include "settings/SettingsValues.h"
#include "support/Fakes.h"

#include <QTest>

class TestDismissal : public QObject
{
    Q_OBJECT

private slots:
    void soundStartsOnlyForANewFile()
    {
        FakeSoundPlayer player;
        StartAlarmSound(player, QStringLiteral("a.mp3"));
        StartAlarmSound(player, QStringLiteral("a.mp3"));
        QCOMPARE(player.calls, (QStringList{"close", "setURL:a.mp3"}));

        StartAlarmSound(player, QStringLiteral("A.mp3")); // exact comparison
        StartAlarmSound(player, QStringLiteral("b.mp3"));
        QCOMPARE(player.calls,
                 (QStringList{"close", "setURL:a.mp3", "close", "setURL:A.mp3", "close", "setURL:b.mp3"}));
        QCOMPARE(player.URL(), QStringLiteral("b.mp3"));
    }

    void captionLeavesTheQueue_data()
    {
        QTest::addColumn<QStringList>("queued");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("music");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("soundStops");
        const QStringList none;
        QTest::newRow("last text, its sound") << QStringList{"a"} << "a"
                                              << "s.mp3" << none << true;
        QTest::newRow("last text, other sound") << QStringList{"a"} << "a"
                                                << "t.mp3" << none << false;
        QTest::newRow("first of two") << QStringList{"a", "b"} << "a"
                                      << "s.mp3" << QStringList{"b"} << false;
        QTest::newRow("second of two") << QStringList{"a", "b"} << "b"
                                       << "s.mp3" << QStringList{"a"} << false;
        QTest::newRow("not queued") << QStringList{"a"} << "z"
                                    << "s.mp3" << QStringList{"a"} << false;
        QTest::newRow("not queued, queue empty") << none << "z"
                                                 << "s.mp3" << none << true;
        QTest::newRow("suffix only") << QStringList{"ba"} << "a"
                                     << "s.mp3" << QStringList{"ba"} << false;
        // A text holding "/" leaves whole, and only a whole match takes a text out.
        QTest::newRow("slash text, alone") << QStringList{"会议 3/15"} << "会议 3/15"
                                           << "s.mp3" << none << true;
        QTest::newRow("slash text among others") << QStringList{"a/b", "b"} << "a/b"
                                                 << "s.mp3" << QStringList{"b"} << false;
        QTest::newRow("slash text not queued") << QStringList{"a", "b"} << "a/b"
                                               << "s.mp3" << QStringList{"a", "b"} << false;
    }
    void captionLeavesTheQueue()
    {
        QFETCH(QStringList, queued);
        QFETCH(QString, text);
        QFETCH(QString, music);
        QFETCH(QStringList, after);
        QFETCH(bool, soundStops);
        CaptionQueue queue;
        for (const QString& caption : queued)
            queue.append(caption);
        FakeSoundPlayer player;
        player.setURL(QStringLiteral("s.mp3"));
        player.calls.clear();

        DismissCaption(text, music, queue, player);
        QCOMPARE(queue.texts(), after);
        QCOMPARE(player.calls, soundStops ? QStringList{"close"} : QStringList{});
    }

    // Slots 1 and 4 ring, 4's sound plays. Dismissing 4 leaves 1 blinking and the sound on; the
    // second dismissal stops the blinking and the sound, even when that sound is not 1's own file
    // or the queue still holds a text edited since it fired.
    void dismissingSlots_data()
    {
        QTest::addColumn<QString>("musicOne");
        QTest::addColumn<QString>("queuedOne");
        QTest::newRow("same sound") << "s.mp3"
                                    << "one";
        QTest::newRow("other sound") << "one.mp3"
                                     << "one";
        QTest::newRow("text edited since") << "one.mp3"
                                           << "old one";
    }
    void dismissingSlots()
    {
        QFETCH(QString, musicOne);
        QFETCH(QString, queuedOne);
        MemorySettingsStore store;
        SettingsValues::saveText(store, AlarmSection::Slogan, SlotKey(1), QStringLiteral("one"));
        SettingsValues::saveText(store, AlarmSection::Slogan, SlotKey(4), QStringLiteral("four"));
        SettingsValues::saveText(store, AlarmSection::Music, SlotKey(1), musicOne);
        SettingsValues::saveText(store, AlarmSection::Music, SlotKey(4), QStringLiteral("s.mp3"));
        CaptionQueue queue;
        queue.append(queuedOne);
        queue.append(QStringLiteral("four"));
        RingingState ringing;
        ringing.mark(1);
        ringing.mark(4);
        FakeSoundPlayer player;
        player.setURL(QStringLiteral("s.mp3"));

        QVERIFY(dismissSlot(4, store, ringing, queue, player));
        QVERIFY(ringing.isRinging(1));
        QVERIFY(!ringing.isRinging(4));
        QCOMPARE(queue.texts(), QStringList{queuedOne});
        QCOMPARE(player.URL(), QStringLiteral("s.mp3"));

        QVERIFY(!dismissSlot(1, store, ringing, queue, player));
        QVERIFY(!ringing.any());
        QCOMPARE(player.URL(), QString());
        QCOMPARE(player.calls.count(QStringLiteral("close")), 1);
    }

    // Same text on two slots: the first dismissal takes it out although the other still rings.
    void sameTextOnTwoSlots()
    {
        MemorySettingsStore store; // both slots read the default text and sound
        CaptionQueue queue;
        queue.append(AlarmDefault::Slogan);
        RingingState ringing;
        ringing.mark(0);
        ringing.mark(9);
        FakeSoundPlayer player;
        player.setURL(AlarmDefault::Music);

        QVERIFY(dismissSlot(0, store, ringing, queue, player));
        QVERIFY(queue.isEmpty());
        QCOMPARE(player.URL(), QString());
        QVERIFY(!dismissSlot(9, store, ringing, queue, player));
    }
};

QTEST_GUILESS_MAIN(TestDismissal)
#include "tst_dismissal.moc"

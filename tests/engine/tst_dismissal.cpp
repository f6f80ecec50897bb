#include "engine/AlarmSound.h"
#include "engine/CaptionQueue.h"
#include "engine/RingingState.h"
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

    // Two slots ring; the sound stops with the second dismissal, the blinking with it.
    void dismissingSlots()
    {
        MemorySettingsStore store;
        SettingsValues::saveText(store, AlarmSection::Slogan, SlotKey(1), QStringLiteral("one"));
        SettingsValues::saveText(store, AlarmSection::Slogan, SlotKey(4), QStringLiteral("four"));
        SettingsValues::saveText(store, AlarmSection::Music, SlotKey(1), QStringLiteral("s.mp3"));
        SettingsValues::saveText(store, AlarmSection::Music, SlotKey(4), QStringLiteral("s.mp3"));
        CaptionQueue queue;
        queue.append(QStringLiteral("one"));
        queue.append(QStringLiteral("four"));
        RingingState ringing;
        ringing.mark(1);
        ringing.mark(4);
        FakeSoundPlayer player;
        player.setURL(QStringLiteral("s.mp3"));

        QVERIFY(dismissSlot(4, store, ringing, queue, player));
        QVERIFY(ringing.isRinging(1));
        QVERIFY(!ringing.isRinging(4));
        QCOMPARE(queue.texts(), (QStringList{"one"}));
        QCOMPARE(player.URL(), QStringLiteral("s.mp3"));

        QVERIFY(!dismissSlot(1, store, ringing, queue, player));
        QVERIFY(!ringing.any());
        QVERIFY(queue.isEmpty());
        QCOMPARE(player.URL(), QString());
    }

    // The higher slot's sound plays; dismissing it first leaves the other text queued, and the
    // lower slot's own sound is not the one held. The last dismissal stops it all the same, also
    // when the queue still holds a text edited since it fired.
    void lastDismissalStopsAnySound_data()
    {
        QTest::addColumn<QString>("queuedOne");
        QTest::newRow("queue empties") << "one";
        QTest::newRow("text edited since") << "old one";
    }
    void lastDismissalStopsAnySound()
    {
        QFETCH(QString, queuedOne);
        MemorySettingsStore store;
        SettingsValues::saveText(store, AlarmSection::Slogan, SlotKey(1), QStringLiteral("one"));
        SettingsValues::saveText(store, AlarmSection::Slogan, SlotKey(4), QStringLiteral("four"));
        SettingsValues::saveText(store, AlarmSection::Music, SlotKey(1), QStringLiteral("one.mp3"));
        SettingsValues::saveText(store, AlarmSection::Music, SlotKey(4), QStringLiteral("four.mp3"));
        CaptionQueue queue;
        queue.append(queuedOne);
        queue.append(QStringLiteral("four"));
        RingingState ringing;
        ringing.mark(1);
        ringing.mark(4);
        FakeSoundPlayer player;
        player.setURL(QStringLiteral("four.mp3"));
        player.calls.clear();

        QVERIFY(dismissSlot(4, store, ringing, queue, player));
        QCOMPARE(player.URL(), QStringLiteral("four.mp3"));
        QVERIFY(!dismissSlot(1, store, ringing, queue, player));
        QCOMPARE(player.calls, QStringList{"close"});
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

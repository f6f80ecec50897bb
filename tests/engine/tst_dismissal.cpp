#include "engine/AlarmSound.h"
#include "engine/RingingState.h"
#include "overlay/CaptionQueue.h"
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

    // One entry per slot: a text shows once however many slots queued it, and stays until the
    // last of them leaves; a slot queued again takes its new text in its place.
    void queueIsKeyedBySlot()
    {
        CaptionQueue queue;
        QVERIFY(queue.append(3, QStringLiteral("a/b")));
        QVERIFY(queue.append(5, QStringLiteral("same")));
        QVERIFY(!queue.append(7, QStringLiteral("same")));
        QCOMPARE(queue.texts(), (QStringList{"a/b", "same"}));

        queue.remove(5);
        QCOMPARE(queue.texts(), (QStringList{"a/b", "same"}));
        queue.remove(1); // not queued
        QVERIFY(queue.append(3, QStringLiteral("new")));
        QCOMPARE(queue.texts(), (QStringList{"new", "same"}));
        queue.remove(7);
        queue.remove(3);
        QVERIFY(queue.isEmpty());
    }

    // Slots 1 and 4 ring, 4's sound plays. Dismissing 4 leaves 1 blinking and the sound on; the
    // second dismissal stops both, whichever sound plays.
    void dismissingSlots()
    {
        CaptionQueue queue;
        queue.append(1, QStringLiteral("one"));
        queue.append(4, QStringLiteral("four"));
        RingingState ringing;
        ringing.mark(1);
        ringing.mark(4);
        FakeSoundPlayer player;
        player.setURL(QStringLiteral("s.mp3"));

        QVERIFY(dismissSlot(4, ringing, queue, player));
        QVERIFY(ringing.isRinging(1));
        QVERIFY(!ringing.isRinging(4));
        QCOMPARE(queue.texts(), QStringList{"one"});
        QCOMPARE(player.URL(), QStringLiteral("s.mp3"));

        QVERIFY(!dismissSlot(1, ringing, queue, player));
        QVERIFY(!ringing.any() && queue.isEmpty());
        QCOMPARE(player.URL(), QString());
        QCOMPARE(player.calls.count(QStringLiteral("close")), 1);
    }
};

QTEST_GUILESS_MAIN(TestDismissal)
#include "tst_dismissal.moc"

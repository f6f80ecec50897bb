#include "engine/AlarmEngine.h"
#include "support/FormHarness.h"

#include <QFile>
#include <QTest>
#include <QTimer>

namespace {

const QString kBell = QStringLiteral("/snd/bell.wav");

// Resident memory of this process in kB, from /proc/self/status.
qint64 residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

QTime alarmTime(int slot)
{
    return QTime(6 + slot, (slot * 13) % 60);
}

QString slogan(int slot)
{
    return QStringLiteral("第%1节课 [上课了]").arg(slot);
}

} // namespace

// Ten daily alarms ring and are dismissed, day after day, on the manual clock.
class TestWeekSoak : public QObject
{
    Q_OBJECT
private slots:
    void aWeekOfDailyAlarms();
};

void TestWeekSoak::aWeekOfDailyAlarms()
{
    Harness h;
    const QDate monday(2026, 12, 7);
    h.clock.set(QDateTime(monday, QTime(0, 0)));
    for (int slot = 0; slot < kSlotCount; ++slot)
        h.seedAlarm(slot, alarmTime(slot).toString(QStringLiteral("hh:mm")), slogan(slot), kBell);
    Form1& form = h.load();

    qint64 secondDayKb = 0;
    for (int day = 0; day < 7; ++day) {
        const QDate date = monday.addDays(day);
        QHash<int, int> fired;
        // Every Timer1 tick of the day, three a minute.
        for (int second = 0; second < 24 * 3600; second += 20) {
            h.clock.set(QDateTime(date, QTime(0, 0).addSecs(second)));
            const QStringList before = h.overlay.calls;
            h.engine.Timer1_Timer();
            for (int slot = 0; slot < kSlotCount; ++slot) {
                if (h.overlay.calls.mid(before.size()).contains(QStringLiteral("SetCap:") + slogan(slot)))
                    ++fired[slot];
            }
            // Even slots are dismissed three minutes after they ring, the rest late in the evening.
            for (int slot = 0; slot < kSlotCount; ++slot) {
                const QTime dismissAt = slot % 2 == 0 ? alarmTime(slot).addSecs(180) : QTime(23, 0);
                if (h.clock.now().time() == dismissAt) {
                    QVERIFY2(h.engine.isRinging(slot), qPrintable(h.clock.now().toString()));
                    QVERIFY(h.capList.contains(slogan(slot)));
                    h.engine.Ptt_Click(slot);
                }
            }
        }

        for (int slot = 0; slot < kSlotCount; ++slot)
            QCOMPARE(fired.value(slot), 1);
        QVERIFY(h.capList.isEmpty());
        for (int slot = 0; slot < kSlotCount; ++slot)
            QVERIFY(!h.engine.isRinging(slot));
        QVERIFY(!form.findChild<QTimer*>(QStringLiteral("Timer2"))->isActive());
        QVERIFY(h.sound.URL().isEmpty());

        // The fakes' own records are the test's, not the program's memory.
        h.overlay.calls.clear();
        h.sound.calls.clear();
        h.store.reads.clear();
        if (day == 1)
            secondDayKb = residentKb();
    }

    const qint64 lastDayKb = residentKb();
    qInfo("resident memory: %lld kB after day 2, %lld kB after day 7", secondDayKb, lastDayKb);
#if defined(__SANITIZE_ADDRESS__)
    qInfo("not compared under AddressSanitizer, which holds freed memory back");
#else
    QVERIFY(secondDayKb > 0);
    QVERIFY2(lastDayKb - secondDayKb <= 512, "resident memory grew by more than 512 kB in five days");
#endif
}

QTEST_MAIN(TestWeekSoak)
#include "tst_weeksoak.moc"

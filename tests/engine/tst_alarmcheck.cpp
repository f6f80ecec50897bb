#include "engine/AlarmCheck.h"
#include "engine/Clock.h"

#include <QTest>
#include <QTimeZone>

namespace {
// 2026-06-07 is a Sunday.
const QDate kSunday(2026, 6, 7);
} // namespace

class TestAlarmCheck : public QObject
{
    Q_OBJECT

private:
    struct Rig
    {
        ManualClock clock;
        AlarmSlots alarmSlots;
        AlarmCheck check{alarmSlots, clock};
        QList<int> fired;

        Rig() { alarmSlots.alarmArmed.fill(true); }
        void enable(int slot, const QString& time)
        {
            alarmSlots.entries[slot].on = true;
            alarmSlots.entries[slot].time = time;
        }
        // The slot's record as if `value` had been stored in `section`.
        void store_(const QString& section, int slot, const QString& value)
        {
            for (const AlarmField& field : alarmFields()) {
                if (field.section == section)
                    field.read(alarmSlots.entries[slot], value);
            }
        }
        bool run()
        {
            return check.run([this](int slot) {
                fired.append(slot);
                return true;
            });
        }
    };

private slots:
    void timeIsComparedAsTwoDigitText_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QTime>("now");
        QTest::addColumn<bool>("fires");
        QTest::newRow("minute start") << "08:25" << QTime(8, 25, 0) << true;
        QTest::newRow("within the minute") << "08:25" << QTime(8, 25, 59) << true;
        QTest::newRow("next minute") << "08:25" << QTime(8, 26, 0) << false;
        QTest::newRow("evening") << "08:25" << QTime(20, 25, 0) << false;
        QTest::newRow("afternoon form") << "20:25" << QTime(20, 25, 10) << true;
        QTest::newRow("hour without zero") << "8:25" << QTime(8, 25, 0) << false;
        QTest::newRow("with seconds") << "08:25:00" << QTime(8, 25, 0) << false;
        QTest::newRow("midnight") << "00:00" << QTime(0, 0, 5) << true;
    }
    void timeIsComparedAsTwoDigitText()
    {
        QFETCH(QString, stored);
        QFETCH(QTime, now);
        QFETCH(bool, fires);
        Rig rig;
        rig.enable(3, stored);
        rig.clock.set(QDateTime(kSunday, now));
        QVERIFY(rig.run());
        QCOMPARE(rig.fired, fires ? QList<int>{3} : QList<int>{});
    }

    void dateFields_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("fires");
        QTest::newRow("any year") << "yy" << kAnyDate << true;
        QTest::newRow("this year") << "yy"
                                   << "2026年" << true;
        QTest::newRow("other year") << "yy"
                                    << "2027年" << false;
        QTest::newRow("year without suffix") << "yy"
                                             << "2026" << false;
        QTest::newRow("any month") << "mm" << kAnyDate << true;
        QTest::newRow("June") << "mm"
                              << "6月" << true;
        QTest::newRow("June with zero") << "mm"
                                        << "06月" << false;
        QTest::newRow("July") << "mm"
                              << "7月" << false;
        QTest::newRow("day 7") << "dd"
                               << "7日" << true;
        QTest::newRow("day 07") << "dd"
                                << "07日" << false;
        QTest::newRow("day 17") << "dd"
                                << "17日" << false;
        QTest::newRow("one dash") << "dd"
                                  << "\u2014" << false;
        QTest::newRow("ascii dashes") << "dd"
                                      << "--" << false;
    }
    void dateFields()
    {
        QFETCH(QString, section);
        QFETCH(QString, value);
        QFETCH(bool, fires);
        Rig rig;
        rig.enable(0, QStringLiteral("07:00"));
        rig.store_(section, 0, value);
        rig.clock.set(QDateTime(kSunday, QTime(7, 0)));
        rig.run();
        QCOMPARE(rig.fired.size(), fires ? 1 : 0);
    }

    void weekdayFlags()
    {
        // Absent flags are set, so an untouched entry fires on a Sunday.
        Rig rig;
        rig.enable(0, QStringLiteral("07:00"));
        rig.clock.set(QDateTime(kSunday, QTime(7, 0)));
        rig.run();
        QCOMPARE(rig.fired, QList<int>{0});

        Rig cleared;
        cleared.enable(0, QStringLiteral("07:00"));
        cleared.store_(AlarmSection::weekday(0), 0, QStringLiteral("0"));
        cleared.clock.set(QDateTime(kSunday, QTime(7, 0)));
        cleared.run();
        QVERIFY(cleared.fired.isEmpty());

        Rig malformed;
        malformed.enable(0, QStringLiteral("07:00"));
        malformed.store_(AlarmSection::weekday(0), 0, QStringLiteral("yes"));
        malformed.clock.set(QDateTime(kSunday, QTime(7, 0)));
        malformed.run();
        QCOMPARE(malformed.fired, QList<int>{0});
    }

    void workdaysOnly()
    {
        Rig rig;
        rig.enable(4, QStringLiteral("06:30"));
        for (int day = 0; day < kWeekdayCount; ++day)
            rig.store_(AlarmSection::weekday(day), 4,
                       day == 0 || day == 6 ? QStringLiteral("0") : QStringLiteral("1"));
        QStringList firedOn;
        for (int offset = 0; offset < 7; ++offset) {
            const QDate date = kSunday.addDays(offset);
            rig.clock.set(QDateTime(date, QTime(6, 30)));
            rig.fired.clear();
            rig.run();
            if (!rig.fired.isEmpty())
                firedOn.append(QLocale::c().dayName(date.dayOfWeek(), QLocale::ShortFormat));
        }
        QCOMPARE(firedOn, (QStringList{"Mon", "Tue", "Wed", "Thu", "Fri"}));
    }

    void onlyDueSlotsFire()
    {
        Rig rig;
        rig.enable(0, QStringLiteral("09:00")); // another minute
        rig.enable(1, QStringLiteral("07:00"));
        rig.alarmSlots.alarmArmed[1] = false;
        rig.alarmSlots.entries[2].time = QStringLiteral("07:00"); // off
        rig.enable(3, QStringLiteral("07:00"));
        rig.store_(AlarmSection::Year, 3, QStringLiteral("2025年"));
        rig.enable(4, QStringLiteral("07:00"));
        rig.store_(AlarmSection::Month, 4, QStringLiteral("1月"));
        rig.enable(5, QStringLiteral("07:00"));
        rig.store_(AlarmSection::Day, 5, QStringLiteral("1日"));
        rig.enable(6, QStringLiteral("07:00"));
        rig.clock.set(QDateTime(kSunday, QTime(7, 0)));
        rig.run();
        QCOMPARE(rig.fired, QList<int>{6});
    }

    void severalSlotsFireInIndexOrder()
    {
        Rig rig;
        for (int slot : {7, 2, 5})
            rig.enable(slot, QStringLiteral("07:00"));
        rig.clock.set(QDateTime(kSunday, QTime(7, 0, 10)));
        QVERIFY(rig.run());
        QCOMPARE(rig.fired, (QList<int>{2, 5, 7}));
        for (int slot : {2, 5, 7}) {
            QVERIFY(!rig.alarmSlots.alarmArmed[slot]);
            QCOMPARE(rig.alarmSlots.firedOn[slot], kSunday);
        }
    }

    void stoppedFiringEndsTheRun()
    {
        Rig rig;
        rig.enable(1, QStringLiteral("07:00"));
        rig.enable(4, QStringLiteral("07:00"));
        rig.clock.set(QDateTime(kSunday, QTime(7, 0)));
        QList<int> fired;
        const bool completed = rig.check.run([&fired](int slot) {
            fired.append(slot);
            return false;
        });
        QVERIFY(!completed);
        QCOMPARE(fired, QList<int>{1});
        // Nothing after the stopping firing runs, disarming included.
        QVERIFY(rig.alarmSlots.alarmArmed[1]);
        QVERIFY(rig.alarmSlots.alarmArmed[4]);
    }

    void firesOncePerDayAndAgainTheNextDay()
    {
        Rig rig;
        rig.enable(0, QStringLiteral("07:00"));
        rig.clock.set(QDateTime(kSunday, QTime(7, 0, 5)));
        rig.run();
        rig.clock.advanceSeconds(20);
        rig.run();
        rig.clock.advanceSeconds(20);
        rig.run();
        QCOMPARE(rig.fired, QList<int>{0});

        // Past midnight the slot is armed again, and rings at its minute.
        rig.clock.set(QDateTime(kSunday.addDays(1), QTime(0, 0, 10)));
        rig.run();
        QVERIFY(rig.alarmSlots.alarmArmed[0]);
        QCOMPARE(rig.fired, QList<int>{0});
        rig.clock.set(QDateTime(kSunday.addDays(1), QTime(7, 0, 15)));
        rig.run();
        QCOMPARE(rig.fired, (QList<int>{0, 0}));

        // Saving the entry arms it again on the same day.
        rig.alarmSlots.alarmArmed[0] = true;
        rig.run();
        QCOMPARE(rig.fired, (QList<int>{0, 0, 0}));
    }

    void repeatedHourDoesNotFireTwice()
    {
        const QTimeZone berlin("Europe/Berlin");
        QVERIFY(berlin.isValid());
        Rig rig;
        rig.enable(0, QStringLiteral("02:30"));
        // 00:30 UTC is 02:30 summer time; an hour later the clocks read 02:30 again.
        const QDate changeDay(2026, 10, 25);
        rig.clock.set(QDateTime(changeDay, QTime(0, 30, 5), Qt::UTC).toTimeZone(berlin));
        QCOMPARE(rig.clock.now().time().hour(), 2);
        rig.run();
        QCOMPARE(rig.fired, QList<int>{0});

        rig.clock.advanceSeconds(3600);
        QCOMPARE(AlarmCheck::timeText(rig.clock.now().time()), QStringLiteral("02:30"));
        rig.run();
        QCOMPARE(rig.fired, QList<int>{0});

        rig.clock.set(QDateTime(changeDay.addDays(1), QTime(2, 30), berlin));
        rig.run();
        QCOMPARE(rig.fired, (QList<int>{0, 0}));
    }
};

QTEST_GUILESS_MAIN(TestAlarmCheck)
#include "tst_alarmcheck.moc"

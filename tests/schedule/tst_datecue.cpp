#include "schedule/AlarmTable.h"
#include "schedule/DateCue.h"

#include <QTest>

using DateCue::Field;

class DateCueTest : public QObject
{
    Q_OBJECT

private slots:
    void todayInTheItemsForm()
    {
        const QDate june7(2026, 6, 7);
        QCOMPARE(DateCue::todayText(Field::Year, june7), QStringLiteral("2026年"));
        QCOMPARE(DateCue::todayText(Field::Month, june7), QStringLiteral("6月"));
        QCOMPARE(DateCue::todayText(Field::Day, june7), QStringLiteral("7日"));
        const QDate dec25(2026, 12, 25);
        QCOMPARE(DateCue::todayText(Field::Month, dec25), QStringLiteral("12月"));
        QCOMPARE(DateCue::todayText(Field::Day, dec25), QStringLiteral("25日"));
    }

    void blueOnlyForToday()
    {
        const QDate today(2026, 6, 7);
        QCOMPARE(DateCue::cue(Field::Year, QStringLiteral("2026年"), today), CueColour::Blue);
        QCOMPARE(DateCue::cue(Field::Month, QStringLiteral("6月"), today), CueColour::Blue);
        QCOMPARE(DateCue::cue(Field::Day, QStringLiteral("7日"), today), CueColour::Blue);

        QCOMPARE(DateCue::cue(Field::Year, QStringLiteral("2027年"), today), CueColour::Black);
        QCOMPARE(DateCue::cue(Field::Month, QStringLiteral("06月"), today), CueColour::Black);
        QCOMPARE(DateCue::cue(Field::Day, QStringLiteral("07日"), today), CueColour::Black);
        QCOMPARE(DateCue::cue(Field::Day, QStringLiteral("7"), today), CueColour::Black);
        // The day's number with the month's unit is not today's day.
        QCOMPARE(DateCue::cue(Field::Day, QStringLiteral("7月"), today), CueColour::Black);
        for (Field field : {Field::Year, Field::Month, Field::Day})
            QCOMPARE(DateCue::cue(field, kAnyDate, today), CueColour::Black);
    }

    void itemLists()
    {
        const QStringList years = DateCue::items(Field::Year);
        const QStringList months = DateCue::items(Field::Month);
        const QStringList days = DateCue::items(Field::Day);
        QCOMPARE(years.size(), 201);
        QCOMPARE(months.size(), 13);
        QCOMPARE(days.size(), 32);
        for (const QStringList& list : {years, months, days})
            QCOMPARE(list.first(), kAnyDate);
        QCOMPARE(years.at(1), QStringLiteral("2001年"));
        QCOMPARE(years.last(), QStringLiteral("2200年"));
        QCOMPARE(months.at(1), QStringLiteral("1月"));
        QCOMPARE(months.last(), QStringLiteral("12月"));
        QCOMPARE(days.at(1), QStringLiteral("1日"));
        QCOMPARE(days.last(), QStringLiteral("31日"));
    }

    void todayIsAlwaysAnItem()
    {
        const QStringList years = DateCue::items(Field::Year);
        const QStringList months = DateCue::items(Field::Month);
        const QStringList days = DateCue::items(Field::Day);
        for (QDate date(2001, 1, 1); date.year() <= 2200; date = date.addDays(37)) {
            QVERIFY(years.contains(DateCue::todayText(Field::Year, date)));
            QVERIFY(months.contains(DateCue::todayText(Field::Month, date)));
            QVERIFY(days.contains(DateCue::todayText(Field::Day, date)));
        }
    }
};

QTEST_APPLESS_MAIN(DateCueTest)
#include "tst_datecue.moc"

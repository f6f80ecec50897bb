#include "schedule/EntryEdit.h"
#include "settings/MemorySettingsStore.h"
#include "settings/SettingsValues.h"

#include <QTest>

namespace {
void store(MemorySettingsStore& settings, const QString& section, int slot, const QString& value)
{
    settings.SaveSetting(kAppName, section, SlotKey(slot), value);
}

QList<EntryWrite> writesOf(std::initializer_list<EntryWrite> writes)
{
    return QList<EntryWrite>(writes);
}

QStringList sections(const QList<EntryWrite>& writes)
{
    QStringList names;
    for (const EntryWrite& write : writes)
        names << write.section;
    return names;
}
} // namespace

class EntryEditTest : public QObject
{
    Q_OBJECT

private slots:
    void readsDefaultsFromAnEmptyStore()
    {
        MemorySettingsStore settings;
        const EntryFields fields = EntryEdit::read(settings, 3);
        QCOMPARE(fields.time, QStringLiteral("12:00"));
        QCOMPARE(fields.year, kAnyDate);
        QCOMPARE(fields.month, kAnyDate);
        QCOMPARE(fields.day, kAnyDate);
        QCOMPARE(fields.slogan, QStringLiteral("Harry Up!"));
        QCOMPARE(fields.music, AlarmDefault::Music);
        QCOMPARE(fields.action, QStringLiteral("[无]"));
        QVERIFY(!fields.on);
        for (bool day : fields.weekdays)
            QVERIFY(day);
    }

    void readsTextsAsStored()
    {
        MemorySettingsStore settings;
        store(settings, AlarmSection::Time, 4, QStringLiteral("8:25"));
        store(settings, AlarmSection::Month, 4, QStringLiteral("13月"));
        store(settings, AlarmSection::Action, 4, QStringLiteral("运行：xterm"));
        store(settings, AlarmSection::Slogan, 5, QStringLiteral("other slot"));
        const EntryFields fields = EntryEdit::read(settings, 4);
        QCOMPARE(fields.time, QStringLiteral("8:25"));
        QCOMPARE(fields.month, QStringLiteral("13月"));
        QCOMPARE(fields.action, QStringLiteral("运行：xterm"));
        QCOMPARE(fields.slogan, QStringLiteral("Harry Up!"));
    }

    void readsTicks_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("elect");
        QTest::addColumn<bool>("weekday");
        QTest::newRow("one") << "1" << true << true;
        QTest::newRow("zero") << "0" << false << false;
        QTest::newRow("other number") << "2" << true << true;
        QTest::newRow("blanks") << " 0 " << false << false;
        QTest::newRow("rounds to zero") << "0.4" << false << false;
        QTest::newRow("not a number") << "yes" << false << true;
        QTest::newRow("empty") << "" << false << true;
    }

    void readsTicks()
    {
        QFETCH(QString, stored);
        QFETCH(bool, elect);
        QFETCH(bool, weekday);
        MemorySettingsStore settings;
        store(settings, AlarmSection::Elect, 0, stored);
        store(settings, AlarmSection::weekday(6), 0, stored);
        const EntryFields fields = EntryEdit::read(settings, 0);
        QCOMPARE(fields.on, elect);
        QCOMPARE(fields.weekdays[6], weekday);
        QVERIFY(fields.weekdays[5]);
    }

    void savingUnchangedWritesNothing()
    {
        MemorySettingsStore settings;
        store(settings, AlarmSection::Elect, 2, QStringLiteral("1"));
        store(settings, AlarmSection::weekday(0), 2, QStringLiteral("0"));
        store(settings, AlarmSection::Year, 2, QStringLiteral("2030年"));
        const EntryFields shown = EntryEdit::read(settings, 2);
        const EntrySave save = EntryEdit::save(EntryEdit::tags(shown), shown);
        QVERIFY(save.writes.isEmpty());
        QCOMPARE(save.fields.time, QStringLiteral("12:00"));
        QVERIFY(save.fields.on);
    }

    void eachChangedFieldIsWritten_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("value");
        QTest::newRow("time") << 0 << "time"
                              << "07:30";
        QTest::newRow("year") << 1 << "yy"
                              << "2030年";
        QTest::newRow("month") << 2 << "mm"
                               << "6月";
        QTest::newRow("day") << 3 << "dd"
                             << "7日";
        QTest::newRow("slogan") << 4 << "slogan"
                                << "harry up!";
        QTest::newRow("music") << 5 << "music"
                               << "/tmp/a.wav";
        QTest::newRow("action") << 6 << "ml"
                                << "关机";
        QTest::newRow("elect on") << 7 << "elect"
                                  << "1";
        QTest::newRow("weekday cleared") << 8 << "WeekDay3"
                                         << "0";
    }

    void eachChangedFieldIsWritten()
    {
        QFETCH(int, field);
        QFETCH(QString, section);
        QFETCH(QString, value);
        const EntryFields loaded;
        EntryFields edited = loaded;
        QString* texts[] = {&edited.time,   &edited.year,  &edited.month, &edited.day,
                            &edited.slogan, &edited.music, &edited.action};
        if (field < 7)
            *texts[field] = value;
        else if (field == 7)
            edited.on = true;
        else
            edited.weekdays[3] = false;
        const EntrySave save = EntryEdit::save(EntryEdit::tags(loaded), edited);
        QCOMPARE(save.writes, writesOf({{section, value}}));
    }

    void clearingOnWritesZero()
    {
        EntryFields loaded;
        loaded.on = true;
        loaded.weekdays[0] = false;
        EntryFields edited = loaded;
        edited.on = false;
        edited.weekdays[0] = true;
        const EntrySave save = EntryEdit::save(EntryEdit::tags(loaded), edited);
        const QList<EntryWrite> expected{{QStringLiteral("elect"), QStringLiteral("0")},
                                         {QStringLiteral("WeekDay0"), QStringLiteral("1")}};
        QCOMPARE(save.writes, expected);
    }

    void tagsCompareAsNumbers()
    {
        EntryTags loaded = EntryEdit::tags(EntryFields{});
        loaded.elect = QStringLiteral(" 0");
        loaded.weekdays[1] = QStringLiteral("1.0");
        loaded.weekdays[2] = QString();
        EntryFields edited;
        edited.weekdays[2] = false;
        QVERIFY(EntryEdit::save(loaded, edited).writes.isEmpty());
    }

    void writesInFieldOrder()
    {
        const EntryFields loaded;
        EntryFields edited;
        edited.time = QStringLiteral("01:02");
        edited.year = QStringLiteral("2030年");
        edited.month = QStringLiteral("1月");
        edited.day = QStringLiteral("1日");
        edited.slogan = QStringLiteral("s");
        edited.music = QStringLiteral("m.mp3");
        edited.action = QStringLiteral("重启");
        edited.on = true;
        edited.weekdays.fill(false);
        const QStringList expected{"time",     "yy",       "mm",       "dd",       "slogan",
                                   "music",    "ml",       "elect",    "WeekDay0", "WeekDay1",
                                   "WeekDay2", "WeekDay3", "WeekDay4", "WeekDay5", "WeekDay6"};
        QCOMPARE(sections(EntryEdit::save(EntryEdit::tags(loaded), edited).writes), expected);
    }

    void savesTheNormalisedTime()
    {
        EntryFields loaded;
        loaded.time = QStringLiteral("08:25");
        EntryFields edited = loaded;
        edited.time = QStringLiteral("8:25");
        EntrySave save = EntryEdit::save(EntryEdit::tags(loaded), edited);
        QVERIFY(save.writes.isEmpty());
        QCOMPARE(save.fields.time, QStringLiteral("08:25"));

        // A time stored by hand without its leading zero is repaired by the next save.
        loaded.time = QStringLiteral("8:25");
        save = EntryEdit::save(EntryEdit::tags(loaded), loaded);
        QCOMPARE(save.writes, writesOf({{"time", "08:25"}}));

        edited.time = QStringLiteral("7");
        save = EntryEdit::save(EntryEdit::tags(loaded), edited);
        QCOMPARE(save.writes, writesOf({{"time", "00:07"}}));
        QCOMPARE(save.fields.time, QStringLiteral("00:07"));
    }

    void applyWritesUnderTheKeyInOrder()
    {
        MemorySettingsStore settings;
        const EntryFields shown = EntryEdit::read(settings, 7);
        EntryFields edited = shown;
        edited.slogan = QStringLiteral("起床");
        edited.time = QStringLiteral("6:30");
        edited.on = true;
        const EntrySave save = EntryEdit::save(EntryEdit::tags(shown), edited);
        settings.reads.clear();
        EntryEdit::apply(settings, SlotKey(7), save.writes);
        QCOMPARE(settings.writes, (QStringList{"time/7", "slogan/7", "elect/7"}));

        const EntryFields reread = EntryEdit::read(settings, 7);
        QCOMPARE(reread.time, QStringLiteral("06:30"));
        QCOMPARE(reread.slogan, QStringLiteral("起床"));
        QVERIFY(reread.on);
        QVERIFY(electIsOn(settings.value(AlarmSection::Elect, SlotKey(7))));
        QVERIFY(!settings.contains(AlarmSection::Music, SlotKey(7)));
    }
};

QTEST_APPLESS_MAIN(EntryEditTest)
#include "tst_entryedit.moc"

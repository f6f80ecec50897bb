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
    void savingUnchangedWritesNothing()
    {
        MemorySettingsStore settings;
        store(settings, AlarmSection::Elect, 2, QStringLiteral("1"));
        store(settings, AlarmSection::weekday(0), 2, QStringLiteral("0"));
        store(settings, AlarmSection::Year, 2, QStringLiteral("2030年"));
        const AlarmEntry shown = AlarmEntry::read(settings, 2);
        const EntrySave save = EntryEdit::save(shown, shown);
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
        const AlarmEntry loaded;
        AlarmEntry edited = loaded;
        QString* texts[] = {&edited.time,   &edited.year,  &edited.month, &edited.day,
                            &edited.slogan, &edited.music, &edited.action};
        if (field < 7)
            *texts[field] = value;
        else if (field == 7)
            edited.on = true;
        else
            edited.weekdays[3] = false;
        const EntrySave save = EntryEdit::save(loaded, edited);
        QCOMPARE(save.writes, writesOf({{section, value}}));
    }

    void clearingOnWritesZero()
    {
        AlarmEntry loaded;
        loaded.on = true;
        loaded.weekdays[0] = false;
        AlarmEntry edited = loaded;
        edited.on = false;
        edited.weekdays[0] = true;
        const EntrySave save = EntryEdit::save(loaded, edited);
        const QList<EntryWrite> expected{{QStringLiteral("elect"), QStringLiteral("0")},
                                         {QStringLiteral("WeekDay0"), QStringLiteral("1")}};
        QCOMPARE(save.writes, expected);
    }

    // "elect" "2" reads as off and a weekday "2" as set, as everywhere else: saving them unchanged
    // writes nothing, and ticking the box writes "1".
    void oddTicksReadOneWay()
    {
        MemorySettingsStore settings;
        store(settings, AlarmSection::Elect, 0, QStringLiteral("2"));
        store(settings, AlarmSection::weekday(1), 0, QStringLiteral("2"));
        const AlarmEntry loaded = AlarmEntry::read(settings, 0);
        QVERIFY(!loaded.on && loaded.weekdays[1]);
        QVERIFY(EntryEdit::save(loaded, loaded).writes.isEmpty());
        AlarmEntry edited = loaded;
        edited.on = true;
        QCOMPARE(EntryEdit::save(loaded, edited).writes, writesOf({{"elect", "1"}}));
    }

    void writesInFieldOrder()
    {
        const AlarmEntry loaded;
        AlarmEntry edited;
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
        QCOMPARE(sections(EntryEdit::save(loaded, edited).writes), expected);
    }

    void savesTheNormalisedTime()
    {
        AlarmEntry loaded;
        loaded.time = QStringLiteral("08:25");
        AlarmEntry edited = loaded;
        edited.time = QStringLiteral("8:25");
        EntrySave save = EntryEdit::save(loaded, edited);
        QVERIFY(save.writes.isEmpty());
        QCOMPARE(save.fields.time, QStringLiteral("08:25"));

        // A time stored by hand without its leading zero is repaired by the next save.
        loaded.time = QStringLiteral("8:25");
        save = EntryEdit::save(loaded, loaded);
        QCOMPARE(save.writes, writesOf({{"time", "08:25"}}));

        edited.time = QStringLiteral("7");
        save = EntryEdit::save(loaded, edited);
        QCOMPARE(save.writes, writesOf({{"time", "00:07"}}));
        QCOMPARE(save.fields.time, QStringLiteral("00:07"));
    }

    void applyWritesUnderTheKeyInOneSave()
    {
        MemorySettingsStore settings;
        const AlarmEntry shown = AlarmEntry::read(settings, 7);
        AlarmEntry edited = shown;
        edited.slogan = QStringLiteral("起床");
        edited.time = QStringLiteral("6:30");
        edited.on = true;
        const EntrySave save = EntryEdit::save(shown, edited);
        settings.writes.clear();
        settings.saves = 0;
        QVERIFY(EntryEdit::apply(settings, SlotKey(7), save.writes).saved);
        QCOMPARE(settings.writes, (QStringList{"time/7", "slogan/7", "elect/7"}));
        QCOMPARE(settings.saves, 1);

        const AlarmEntry reread = AlarmEntry::read(settings, 7);
        QCOMPARE(reread.time, QStringLiteral("06:30"));
        QCOMPARE(reread.slogan, QStringLiteral("起床"));
        QVERIFY(reread.on);
        QVERIFY(electIsOn(settings.value(AlarmSection::Elect, SlotKey(7))));
        QVERIFY(!settings.contains(AlarmSection::Music, SlotKey(7)));
    }
};

QTEST_APPLESS_MAIN(EntryEditTest)
#include "tst_entryedit.moc"

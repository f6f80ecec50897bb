#include "schedule/EntryEdit.h"

#include "schedule/NumberText.h"
#include "schedule/TimeText.h"
#include "settings/SettingsValues.h"

namespace EntryEdit {

namespace {
QString tickText(bool ticked)
{
    return ticked ? QStringLiteral("1") : QStringLiteral("0");
}

bool readTick(const SettingsStore& store, const QString& section, const QString& key, bool absent)
{
    int number = 0;
    const QString text = SettingsValues::readText(store, section, key, tickText(absent));
    return NumberText::readWhole(text, &number) ? number != 0 : absent;
}

void compareText(QList<EntryWrite>& writes, const QString& section, const QString& loaded,
                 const QString& current)
{
    if (current != loaded)
        writes.append({section, current});
}

void compareTick(QList<EntryWrite>& writes, const QString& section, const QString& loaded, bool current)
{
    if (NumberText::leadingValue(loaded) != (current ? 1.0 : 0.0))
        writes.append({section, tickText(current)});
}
} // namespace

EntryFields read(const SettingsStore& store, int slot)
{
    const QString key = SlotKey(slot);
    EntryFields fields = AlarmEntry::read(store, slot);
    // The editor reads the check states as whole numbers, where start-up knows only "1" as on.
    fields.on = readTick(store, AlarmSection::Elect, key, false);
    for (int day = 0; day < kWeekdayCount; ++day)
        fields.weekdays[day] = readTick(store, AlarmSection::weekday(day), key, true);
    return fields;
}

EntryTags tags(const EntryFields& shown)
{
    EntryTags tags;
    tags.time = shown.time;
    tags.year = shown.year;
    tags.month = shown.month;
    tags.day = shown.day;
    tags.slogan = shown.slogan;
    tags.music = shown.music;
    tags.action = shown.action;
    tags.elect = tickText(shown.on);
    for (int day = 0; day < kWeekdayCount; ++day)
        tags.weekdays[day] = tickText(shown.weekdays[day]);
    return tags;
}

EntryTags storedTags(const SettingsStore& store, int slot)
{
    using SettingsValues::readText;
    const QString key = SlotKey(slot);
    EntryTags loaded = tags(read(store, slot));
    loaded.elect = readText(store, AlarmSection::Elect, key, tickText(false));
    for (int day = 0; day < kWeekdayCount; ++day)
        loaded.weekdays[day] = readText(store, AlarmSection::weekday(day), key, tickText(true));
    return loaded;
}

EntrySave save(const EntryTags& loaded, const EntryFields& current)
{
    EntrySave result;
    result.fields = current;
    result.fields.time = TimeText::normalised(current.time);
    const EntryFields& now = result.fields;
    QList<EntryWrite>& writes = result.writes;
    compareText(writes, AlarmSection::Time, loaded.time, now.time);
    compareText(writes, AlarmSection::Year, loaded.year, now.year);
    compareText(writes, AlarmSection::Month, loaded.month, now.month);
    compareText(writes, AlarmSection::Day, loaded.day, now.day);
    compareText(writes, AlarmSection::Slogan, loaded.slogan, now.slogan);
    compareText(writes, AlarmSection::Music, loaded.music, now.music);
    compareText(writes, AlarmSection::Action, loaded.action, now.action);
    compareTick(writes, AlarmSection::Elect, loaded.elect, now.on);
    for (int day = 0; day < kWeekdayCount; ++day)
        compareTick(writes, AlarmSection::weekday(day), loaded.weekdays[day], now.weekdays[day]);
    return result;
}

void apply(SettingsStore& store, const QString& key, const QList<EntryWrite>& writes)
{
    for (const EntryWrite& write : writes)
        SettingsValues::saveText(store, write.section, key, write.value);
}

} // namespace EntryEdit

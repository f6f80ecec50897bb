#pragma once

#include "schedule/AlarmTable.h"
#include "settings/SettingsStore.h"

#include <QList>
#include <QString>
#include <array>

// One alarm as the editor's controls show it: the texts as they stand (stored text or typed),
// the on box and the weekday buttons as ticks.
using EntryFields = AlarmEntry;

// What the controls remember of the loaded alarm (their Tag texts): the seven texts, and each
// check state as "1" or "0".
struct EntryTags
{
    QString time;
    QString year;
    QString month;
    QString day;
    QString slogan;
    QString music;
    QString action;
    QString elect;
    std::array<QString, kWeekdayCount> weekdays;
};

// One store write of a save: the section, under the edited slot's key.
struct EntryWrite
{
    QString section;
    QString value;

    bool operator==(const EntryWrite& other) const
    {
        return section == other.section && value == other.value;
    }
};

// A save worked out before anything is written.
struct EntrySave
{
    // The fields to take over, the time already in its five-character form; the caller shows that
    // time in the field and uses it for the slot's time and list line.
    EntryFields fields;
    // Only what differs from the loaded values, in the order it is to be written.
    QList<EntryWrite> writes;
};

// Loading one alarm into the editor and saving it back.
namespace EntryEdit {

// The slot's fields as stored, with the defaults of absent ones. "elect" and the weekday flags are
// read as whole numbers: non-zero is ticked, zero clear; text that is not a number counts as
// absent (clear for "elect", ticked for a weekday).
EntryFields read(const SettingsStore& store, int slot);

// The Tag texts the controls keep once fields are shown.
EntryTags tags(const EntryFields& shown);

// The Tag texts of a slot as stored. A check state keeps its stored text, so a value the program
// never writes ("2", "x") is replaced by "1" or "0" at the next save, as the controls showed it.
EntryTags storedTags(const SettingsStore& store, int slot);

// Compares the edited fields with the loaded tags. The time is normalised first, so a save always
// stores the five-character form whether it came from the button or from Enter in a field.
// Texts compare exactly (time, yy, mm, dd, slogan, music, ml); "elect" and WeekDay0..6 compare
// the tag read as a number with the tick and write "1" or "0".
EntrySave save(const EntryTags& loaded, const EntryFields& current);

// Writes each of the save's values under key, in order.
void apply(SettingsStore& store, const QString& key, const QList<EntryWrite>& writes);

} // namespace EntryEdit

#pragma once

#include "schedule/AlarmTable.h"
#include "settings/SettingsStore.h"

#include <QList>
#include <QString>

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
    // The record to take over, the time already in its five-character form; the caller shows that
    // time in the field and uses the record for the slot and its list line.
    AlarmEntry fields;
    // Only the fields that differ from the loaded record, in the order of the field table.
    QList<EntryWrite> writes;
};

// Saving the editor's alarm back.
namespace EntryEdit {

// Compares the edited record with the one the editor loaded, field by field through their stored
// texts. The time is normalised first, so a save always stores the five-character form whether it
// came from the button or from Enter in a field.
EntrySave save(const AlarmEntry& loaded, const AlarmEntry& current);

// Writes all of the save's values under key in one store write.
SaveOutcome apply(SettingsStore& store, const QString& key, const QList<EntryWrite>& writes);

} // namespace EntryEdit

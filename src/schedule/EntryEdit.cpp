#include "schedule/EntryEdit.h"

#include "schedule/TimeText.h"
#include "settings/SettingsValues.h"

namespace EntryEdit {

EntrySave save(const AlarmEntry& loaded, const AlarmEntry& current)
{
    EntrySave result;
    result.fields = current;
    result.fields.time = TimeText::normalised(current.time);
    for (const AlarmField& field : alarmFields()) {
        const QString now = field.write(result.fields);
        if (now != field.write(loaded))
            result.writes.append({field.section, now});
    }
    return result;
}

SaveOutcome apply(SettingsStore& store, const QString& key, const QList<EntryWrite>& writes)
{
    QList<SettingsWrite> values;
    for (const EntryWrite& write : writes)
        values.append({write.section, key, write.value});
    return SettingsValues::saveAll(store, values);
}

} // namespace EntryEdit

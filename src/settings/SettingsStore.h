#pragma once

#include <QList>
#include <QString>

// One value of a save: section, key and the text to store.
struct SettingsWrite
{
    QString section;
    QString key;
    QString value;
};

// What became of a save: written, or the file that could not be written and the system's reason.
struct SaveOutcome
{
    bool saved = true;
    QString file;
    QString reason;
};

// Text values addressed by application, section and key. A missing key is never an error:
// the reader's default comes back instead.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual QString GetSetting(const QString& app, const QString& section, const QString& key,
                               const QString& defaultValue) const = 0;
    // Stores every value at once and returns when they are durable: a save is never half done.
    // Values that could not be written are still read back in this run and go to disk with the
    // next save that succeeds.
    virtual SaveOutcome SaveSettings(const QString& app, const QList<SettingsWrite>& writes) = 0;

    SaveOutcome SaveSetting(const QString& app, const QString& section, const QString& key,
                            const QString& value)
    {
        return SaveSettings(app, {SettingsWrite{section, key, value}});
    }
};

#pragma once

#include <QString>

// Text values addressed by application, section and key. A missing key is never an error:
// the reader's default comes back instead.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    virtual QString GetSetting(const QString& app, const QString& section, const QString& key,
                               const QString& defaultValue) const = 0;
    // Returns once the value is durable; a later read, in this run or the next, sees it unchanged.
    virtual void SaveSetting(const QString& app, const QString& section, const QString& key,
                             const QString& value) = 0;
};

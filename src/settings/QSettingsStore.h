#pragma once

#include "settings/SettingsStore.h"

#include <QHash>
#include <memory>

class QSettings;

// The store on disk: Qt's native per-user settings, one file per application name
// ($XDG_CONFIG_HOME/<app>/<app>.conf on Linux), one group per section.
class QSettingsStore : public SettingsStore
{
public:
    QSettingsStore();
    ~QSettingsStore() override;

    QString GetSetting(const QString& app, const QString& section, const QString& key,
                       const QString& defaultValue) const override;
    void SaveSetting(const QString& app, const QString& section, const QString& key,
                     const QString& value) override;

    // The file behind an application's settings.
    QString fileName(const QString& app) const;

private:
    QSettings& settingsFor(const QString& app) const;
    mutable QHash<QString, std::shared_ptr<QSettings>> m_settings;
};

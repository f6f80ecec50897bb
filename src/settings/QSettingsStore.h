#pragma once

#include "settings/SettingsStore.h"

#include <QByteArray>
#include <QHash>
#include <memory>

class QSettings;

// The store on disk: Qt's native per-user settings, one file per application name
// ($XDG_CONFIG_HOME/<app>/<app>.conf on Linux), one group per section.
//
// Before the first read or write of an application's settings, its file is checked once. A file
// that cannot be read as text (unreadable, NUL bytes, invalid UTF-8) or that Qt reports as badly
// formed (a broken section line) is moved aside to "<file>.damaged" (or ".damaged.1", ".2", ...)
// and the store starts again from an empty file, so every read gives its default and writes keep
// working. Anything else Qt reads is kept, hand-edited files included.
//
// The file, its folder and the damaged copies are for their owner only (0600 and 0700).
//
// A save that cannot be written says so, with the file and the system's reason.
class QSettingsStore : public SettingsStore
{
public:
    QSettingsStore();
    ~QSettingsStore() override;

    QString GetSetting(const QString& app, const QString& section, const QString& key,
                       const QString& defaultValue) const override;
    // All values in one atomic rewrite of the file. A failed rewrite keeps them in memory; the
    // next save writes them with its own.
    SaveOutcome SaveSettings(const QString& app, const QList<SettingsWrite>& writes) override;

    // The file behind an application's settings.
    QString fileName(const QString& app) const;
    // What the user should hear about the check of the application's file: empty when the file was
    // sound, else a short message naming where the damaged file was kept.
    QString recoveryMessage(const QString& app) const;
    // Where the damaged file was kept; empty when nothing was moved aside.
    QString damagedCopy(const QString& app) const;

protected:
    // Reads the whole settings file for the check. Tests override it to fail as an unreadable file
    // would, which a process running as root cannot otherwise see.
    virtual bool readWhole(const QString& file, QByteArray* bytes) const;

private:
    struct AppSettings;
    AppSettings& settingsFor(const QString& app) const;
    void checkFile(AppSettings& entry, const QString& app) const;

    mutable QHash<QString, std::shared_ptr<AppSettings>> m_settings;
};

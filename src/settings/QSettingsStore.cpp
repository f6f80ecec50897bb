#include "settings/QSettingsStore.h"

#include <QSettings>
#include <QtDebug>

QSettingsStore::QSettingsStore() = default;
QSettingsStore::~QSettingsStore() = default;

QString QSettingsStore::GetSetting(const QString& app, const QString& section, const QString& key,
                                   const QString& defaultValue) const
{
    const QVariant value = settingsFor(app).value(section + QLatin1Char('/') + key);
    // A value edited by hand into a list or another type is not one the program wrote.
    if (!value.isValid() || value.typeId() != QMetaType::QString)
        return defaultValue;
    return value.toString();
}

void QSettingsStore::SaveSetting(const QString& app, const QString& section, const QString& key,
                                 const QString& value)
{
    QSettings& settings = settingsFor(app);
    settings.setValue(section + QLatin1Char('/') + key, value);
    // Qt writes lazily; the value must be on disk before the caller goes on.
    settings.sync();
    if (settings.status() != QSettings::NoError)
        qWarning("Quorvel: could not write %s/%s to %s", qPrintable(section), qPrintable(key),
                 qPrintable(settings.fileName()));
}

QString QSettingsStore::fileName(const QString& app) const
{
    return settingsFor(app).fileName();
}

QSettings& QSettingsStore::settingsFor(const QString& app) const
{
    auto& settings = m_settings[app];
    if (!settings)
        settings = std::make_shared<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app, app);
    return *settings;
}

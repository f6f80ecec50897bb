#include "settings/MemorySettingsStore.h"

#include "settings/SettingsValues.h"

QString MemorySettingsStore::GetSetting(const QString& app, const QString& section, const QString& key,
                                        const QString& defaultValue) const
{
    reads.append(section + QLatin1Char('/') + key);
    return m_values.value(address(app, section, key), defaultValue);
}

void MemorySettingsStore::SaveSetting(const QString& app, const QString& section, const QString& key,
                                      const QString& value)
{
    writes.append(section + QLatin1Char('/') + key);
    m_values.insert(address(app, section, key), value);
}

bool MemorySettingsStore::contains(const QString& section, const QString& key) const
{
    return m_values.contains(address(kAppName, section, key));
}

QString MemorySettingsStore::value(const QString& section, const QString& key) const
{
    return m_values.value(address(kAppName, section, key));
}

void MemorySettingsStore::clear()
{
    m_values.clear();
    reads.clear();
    writes.clear();
}

QString MemorySettingsStore::address(const QString& app, const QString& section, const QString& key)
{
    // U+0001 cannot occur in section names, so addresses never collide.
    return app + QChar(1) + section + QChar(1) + key;
}

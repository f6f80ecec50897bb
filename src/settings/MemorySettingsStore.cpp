#include "settings/MemorySettingsStore.h"

#include "settings/SettingsValues.h"

QString MemorySettingsStore::GetSetting(const QString& app, const QString& section, const QString& key,
                                        const QString& defaultValue) const
{
    reads.append(section + QLatin1Char('/') + key);
    return m_values.value(address(app, section, key), defaultValue);
}

SaveOutcome MemorySettingsStore::SaveSettings(const QString& app, const QList<SettingsWrite>& values)
{
    ++saves;
    for (const SettingsWrite& write : values) {
        writes.append(write.section + QLatin1Char('/') + write.key);
        m_values.insert(address(app, write.section, write.key), write.value);
    }
    if (failure.isEmpty())
        return {};
    return {false, QStringLiteral("/memory/") + app, failure};
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
    saves = 0;
}

QString MemorySettingsStore::address(const QString& app, const QString& section, const QString& key)
{
    // U+0001 cannot occur in section names, so addresses never collide.
    return app + QChar(1) + section + QChar(1) + key;
}

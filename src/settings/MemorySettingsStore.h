#pragma once

#include "settings/SettingsStore.h"

#include <QHash>
#include <QStringList>

// A store that lives only in memory. Tests use it to seed values and to see every read and write.
class MemorySettingsStore : public SettingsStore
{
public:
    QString GetSetting(const QString& app, const QString& section, const QString& key,
                       const QString& defaultValue) const override;
    SaveOutcome SaveSettings(const QString& app, const QList<SettingsWrite>& writes) override;

    bool contains(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key) const;
    int size() const { return m_values.size(); }
    void clear();

    // "section/key" of every read and write, in order, for tests of laziness and ordering.
    mutable QStringList reads;
    QStringList writes;
    // How many saves were made; each is one write of the whole store.
    int saves = 0;
    // When set, every save fails for this reason; the values are kept in memory all the same.
    QString failure;

private:
    static QString address(const QString& app, const QString& section, const QString& key);
    QHash<QString, QString> m_values;
};

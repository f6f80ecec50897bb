#include "settings/SettingsValues.h"

#include <QDir>

namespace SettingsValues {

QString readText(const SettingsStore& store, const QString& section, const QString& key,
                 const QString& defaultValue)
{
    return store.GetSetting(kAppName, section, key, defaultValue);
}

int readInt(const SettingsStore& store, const QString& section, const QString& key, int defaultValue,
            int minimum, int maximum)
{
    int value = defaultValue;
    const QString text = store.GetSetting(kAppName, section, key, QString::number(defaultValue));
    return parseInt(text, minimum, maximum, &value) ? value : defaultValue;
}

bool readBool(const SettingsStore& store, const QString& section, const QString& key, bool defaultValue)
{
    bool value = defaultValue;
    const QString text = store.GetSetting(kAppName, section, key, boolText(defaultValue));
    return parseBool(text, &value) ? value : defaultValue;
}

SaveOutcome saveText(SettingsStore& store, const QString& section, const QString& key, const QString& value)
{
    return store.SaveSetting(kAppName, section, key, value);
}

SaveOutcome saveAll(SettingsStore& store, const QList<SettingsWrite>& writes)
{
    return store.SaveSettings(kAppName, writes);
}

QString unsavedAtExitMessage(const QString& what, const SaveOutcome& outcome)
{
    return QStringLiteral("%1未能保存：无法写入设置文件“%2”（%3）。")
        .arg(what, QDir::toNativeSeparators(outcome.file), outcome.reason);
}

QString saveFailureMessage(const QString& what, const SaveOutcome& outcome)
{
    return unsavedAtExitMessage(what, outcome) +
           QStringLiteral("更改在本次运行中仍然有效，下次保存时会再次写入。");
}

bool parseInt(const QString& text, int minimum, int maximum, int* value)
{
    bool ok = false;
    const qlonglong number = text.trimmed().toLongLong(&ok, 10);
    if (!ok || number < minimum || number > maximum)
        return false;
    *value = int(number);
    return true;
}

bool parseBool(const QString& text, bool* value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
        *value = true;
        return true;
    }
    if (trimmed.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
        *value = false;
        return true;
    }
    bool ok = false;
    const qlonglong number = trimmed.toLongLong(&ok, 10);
    if (!ok)
        return false;
    *value = number != 0;
    return true;
}

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace SettingsValues

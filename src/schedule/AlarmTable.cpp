#include "schedule/AlarmTable.h"

#include "settings/SettingsValues.h"

namespace {
const QString kRunPrefix = QStringLiteral("\u8fd0\u884c\uff1a"); // 运行：
}

QString AlarmSection::weekday(int day)
{
    return QStringLiteral("WeekDay") + QString::number(day);
}

const QStringList& actionLabels()
{
    static const QStringList labels{
        QStringLiteral("[\u65e0]"),                   // [无]
        QStringLiteral("\u6fc0\u6d3bQuorvel"),        // 激活Quorvel
        QStringLiteral("\u5173\u673a"),               // 关机
        QStringLiteral("\u5173\u673a(\u63d0\u793a)"), // 关机(提示)
        QStringLiteral("\u91cd\u542f"),               // 重启
        QStringLiteral("\u91cd\u542f(\u63d0\u793a)"), // 重启(提示)
        QStringLiteral("\u9000\u51fa\u7a0b\u5e8f"),   // 退出程序
        kRunPrefix + QStringLiteral("XXX"),
    };
    return labels;
}

QString actionLabel(AlarmAction action)
{
    return actionLabels().at(int(action));
}

AlarmAction actionFromLabel(const QString& label)
{
    if (label.startsWith(kRunPrefix))
        return AlarmAction::RunCommand;
    const int index = actionLabels().indexOf(label);
    if (index < 0 || index == int(AlarmAction::RunCommand))
        return AlarmAction::None;
    return AlarmAction(index);
}

QString commandFromLabel(const QString& label)
{
    return label.startsWith(kRunPrefix) ? label.mid(kRunPrefix.size()) : QString();
}

QString SlotKey(int slot)
{
    return QString::number(slot);
}

QString BuildListLine(bool on, const QString& time, const QString& slogan)
{
    return QLatin1Char('[') + (on ? QStringLiteral("\u5f00") : QStringLiteral("\u5173")) + QLatin1Char(' ') +
           time + QStringLiteral("] ") + slogan;
}

bool electIsOn(const QString& storedText)
{
    bool ok = false;
    const double number = storedText.trimmed().toDouble(&ok);
    return ok && number == 1.0;
}

bool weekdayFlagIsSet(const QString& storedText)
{
    bool ok = false;
    const double number = storedText.trimmed().toDouble(&ok);
    return !ok || number != 0.0;
}

AlarmEntry AlarmEntry::read(const SettingsStore& store, int slot)
{
    using SettingsValues::readText;
    const QString key = SlotKey(slot);
    AlarmEntry entry;
    entry.time = readText(store, AlarmSection::Time, key, AlarmDefault::Time);
    entry.year = readText(store, AlarmSection::Year, key, kAnyDate);
    entry.month = readText(store, AlarmSection::Month, key, kAnyDate);
    entry.day = readText(store, AlarmSection::Day, key, kAnyDate);
    entry.slogan = readText(store, AlarmSection::Slogan, key, AlarmDefault::Slogan);
    entry.music = readText(store, AlarmSection::Music, key, AlarmDefault::Music);
    entry.action = readText(store, AlarmSection::Action, key, AlarmDefault::Action);
    entry.on = electIsOn(readText(store, AlarmSection::Elect, key, QStringLiteral("0")));
    for (int day = 0; day < kWeekdayCount; ++day)
        entry.weekdays[day] =
            weekdayFlagIsSet(readText(store, AlarmSection::weekday(day), key, QStringLiteral("1")));
    return entry;
}

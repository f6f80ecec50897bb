#include "schedule/AlarmTable.h"

#include "settings/SettingsValues.h"

#include <utility>

namespace {
const QString kRunPrefix = QStringLiteral("\u8fd0\u884c\uff1a"); // 运行：
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

namespace {
QString tickText(bool ticked)
{
    return ticked ? QStringLiteral("1") : QStringLiteral("0");
}

// A text field of the record; the template gives each field its own plain function.
template <QString AlarmEntry::*member>
AlarmField textField(const QString& section, const QString& defaultText)
{
    return {section, defaultText, [](AlarmEntry& entry, const QString& text) { entry.*member = text; },
            [](const AlarmEntry& entry) { return entry.*member; }};
}

template <int day> AlarmField weekdayField()
{
    return {AlarmSection::weekday(day), AlarmDefault::Weekday,
            [](AlarmEntry& entry, const QString& text) { entry.weekdays[day] = weekdayFlagIsSet(text); },
            [](const AlarmEntry& entry) { return tickText(entry.weekdays[day]); }};
}

template <int... days>
std::array<AlarmField, kAlarmFieldCount> makeFields(std::integer_sequence<int, days...>)
{
    return {
        textField<&AlarmEntry::time>(AlarmSection::Time, AlarmDefault::Time),
        textField<&AlarmEntry::year>(AlarmSection::Year, kAnyDate),
        textField<&AlarmEntry::month>(AlarmSection::Month, kAnyDate),
        textField<&AlarmEntry::day>(AlarmSection::Day, kAnyDate),
        textField<&AlarmEntry::slogan>(AlarmSection::Slogan, AlarmDefault::Slogan),
        textField<&AlarmEntry::music>(AlarmSection::Music, AlarmDefault::Music),
        textField<&AlarmEntry::action>(AlarmSection::Action, AlarmDefault::Action),
        AlarmField{AlarmSection::Elect, AlarmDefault::Elect,
                   [](AlarmEntry& entry, const QString& text) { entry.on = electIsOn(text); },
                   [](const AlarmEntry& entry) { return tickText(entry.on); }},
        weekdayField<days>()...,
    };
}
} // namespace

const std::array<AlarmField, kAlarmFieldCount>& alarmFields()
{
    static const auto fields = makeFields(std::make_integer_sequence<int, kWeekdayCount>());
    return fields;
}

AlarmEntry::AlarmEntry()
{
    for (const AlarmField& field : alarmFields())
        field.read(*this, field.defaultText);
}

AlarmEntry AlarmEntry::read(const SettingsStore& store, int slot)
{
    const QString key = SlotKey(slot);
    AlarmEntry entry;
    for (const AlarmField& field : alarmFields())
        field.read(entry, SettingsValues::readText(store, field.section, key, field.defaultText));
    return entry;
}

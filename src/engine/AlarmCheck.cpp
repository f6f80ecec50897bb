#include "engine/AlarmCheck.h"

#include "engine/Clock.h"
#include "settings/SettingsValues.h"

namespace {
bool dateFieldMatches(const QString& stored, const QString& today)
{
    return stored == kAnyDate || stored == today;
}
} // namespace

AlarmCheck::AlarmCheck(AlarmSlots& alarmSlots, const SettingsStore& store, const Clock& clock)
    : m_slots(alarmSlots), m_store(store), m_clock(clock)
{}

bool AlarmCheck::run(const FireSlot& fire)
{
    // One reading of the clock for the whole run, so every slot is judged against the same minute.
    const QDateTime now = m_clock.now();
    const QDate today = now.date();
    rearmForDate(m_slots, today);
    const QString minute = timeText(now.time());
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (!m_slots.alarmOn[slot] || !m_slots.alarmArmed[slot])
            continue;
        if (m_slots.alarmTime[slot] != minute)
            continue;
        if (!storedDateMatches(slot, now))
            continue;
        if (!fire(slot))
            return false;
        m_slots.alarmArmed[slot] = false;
        m_slots.firedOn[slot] = today;
    }
    return true;
}

bool AlarmCheck::storedDateMatches(int slot, const QDateTime& now) const
{
    using SettingsValues::readText;
    const QString key = SlotKey(slot);
    const QDate today = now.date();
    if (!dateFieldMatches(readText(m_store, AlarmSection::Year, key, kAnyDate), yearText(today)))
        return false;
    if (!dateFieldMatches(readText(m_store, AlarmSection::Month, key, kAnyDate), monthText(today)))
        return false;
    if (!dateFieldMatches(readText(m_store, AlarmSection::Day, key, kAnyDate), dayText(today)))
        return false;
    std::array<bool, kWeekdayCount> flags{};
    for (int day = 0; day < kWeekdayCount; ++day)
        flags[day] =
            weekdayFlagIsSet(readText(m_store, AlarmSection::weekday(day), key, QStringLiteral("1")));
    return flags[weekdayNumber(today)];
}

void AlarmCheck::rearmForDate(AlarmSlots& alarmSlots, const QDate& today)
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (alarmSlots.alarmArmed[slot] || !alarmSlots.firedOn[slot].isValid() ||
            alarmSlots.firedOn[slot] == today)
            continue;
        alarmSlots.alarmArmed[slot] = true;
        alarmSlots.firedOn[slot] = QDate();
    }
}

QString AlarmCheck::timeText(const QTime& time)
{
    return QStringLiteral("%1:%2")
        .arg(time.hour(), 2, 10, QLatin1Char('0'))
        .arg(time.minute(), 2, 10, QLatin1Char('0'));
}

QString AlarmCheck::yearText(const QDate& date)
{
    return QString::number(date.year()) + QStringLiteral("年");
}

QString AlarmCheck::monthText(const QDate& date)
{
    return QString::number(date.month()) + QStringLiteral("月");
}

QString AlarmCheck::dayText(const QDate& date)
{
    return QString::number(date.day()) + QStringLiteral("日");
}

int AlarmCheck::weekdayNumber(const QDate& date)
{
    return date.dayOfWeek() % 7;
}

#include "engine/AlarmCheck.h"

#include "engine/Clock.h"
#include "schedule/DateCue.h"

namespace {
bool dateFieldMatches(DateCue::Field field, const QString& stored, const QDate& today)
{
    return stored == kAnyDate || stored == DateCue::todayText(field, today);
}
} // namespace

AlarmCheck::AlarmCheck(AlarmSlots& alarmSlots, const Clock& clock) : m_slots(alarmSlots), m_clock(clock) {}

bool AlarmCheck::run(const FireSlot& fire)
{
    // One reading of the clock for the whole run, so every slot is judged against the same minute.
    const QDateTime now = m_clock.now();
    const QDate today = now.date();
    rearmForDate(m_slots, today);
    const QString minute = timeText(now.time());
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const AlarmEntry& entry = m_slots.entries[slot];
        if (!entry.on || !m_slots.alarmArmed[slot] || entry.time != minute || !dateMatches(entry, today))
            continue;
        if (!fire(slot))
            return false;
        m_slots.alarmArmed[slot] = false;
        m_slots.firedOn[slot] = today;
    }
    return true;
}

bool AlarmCheck::dateMatches(const AlarmEntry& entry, const QDate& today)
{
    using DateCue::Field;
    return dateFieldMatches(Field::Year, entry.year, today) &&
           dateFieldMatches(Field::Month, entry.month, today) &&
           dateFieldMatches(Field::Day, entry.day, today) && entry.weekdays[weekdayNumber(today)];
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

int AlarmCheck::weekdayNumber(const QDate& date)
{
    return date.dayOfWeek() % 7;
}

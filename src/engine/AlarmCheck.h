#pragma once

#include "schedule/AlarmTable.h"

#include <QDateTime>
#include <functional>

class Clock;
class SettingsStore;

// One run of the alarm check (Timer1_Timer): which slots fire now, lower index first.
// The store is read only for slots that are on, armed and at their minute; the year, month and
// day stop at the first that fails, then all seven weekday flags are read.
class AlarmCheck
{
public:
    // Runs the firing steps for a slot; returns false to end the run (the program is ending).
    using FireSlot = std::function<bool(int slot)>;

    AlarmCheck(AlarmSlots& alarmSlots, const SettingsStore& store, const Clock& clock);

    // Re-arms slots that fired on an earlier date, then fires every due slot. A slot whose firing
    // returned true is disarmed for the rest of its date. Returns false when a firing stopped the run.
    bool run(const FireSlot& fire);

    // Whether the slot's stored date and weekday fields allow firing at `now` (reads the store).
    bool storedDateMatches(int slot, const QDateTime& now) const;

    // A slot that fired on a date other than `today` may fire again; at most once per date.
    static void rearmForDate(AlarmSlots& alarmSlots, const QDate& today);
    // The texts the stored fields are compared with: "08:25", "2026年", "6月", "7日".
    static QString timeText(const QTime& time);
    static QString yearText(const QDate& date);
    static QString monthText(const QDate& date);
    static QString dayText(const QDate& date);
    // 0 for Sunday to 6 for Saturday.
    static int weekdayNumber(const QDate& date);

private:
    AlarmSlots& m_slots;
    const SettingsStore& m_store;
    const Clock& m_clock;
};

#pragma once

#include "engine/AlarmSlots.h"

#include <QDateTime>
#include <functional>

class Clock;

// One run of the alarm check (Timer1_Timer): which slots fire now, lower index first, judged on
// the records the engine holds.
class AlarmCheck
{
public:
    // Runs the firing steps for a slot; returns false to end the run (the program is ending).
    using FireSlot = std::function<bool(int slot)>;

    AlarmCheck(AlarmSlots& alarmSlots, const Clock& clock);

    // Re-arms slots that fired on an earlier date, then fires every due slot. A slot whose firing
    // returned true is disarmed for the rest of its date. Returns false when a firing stopped the run.
    bool run(const FireSlot& fire);

    // Whether the record's date and weekday fields allow firing on `today`.
    static bool dateMatches(const AlarmEntry& entry, const QDate& today);

    // A slot that fired on a date other than `today` may fire again; at most once per date.
    static void rearmForDate(AlarmSlots& alarmSlots, const QDate& today);
    // The text a stored time is compared with: "08:25".
    static QString timeText(const QTime& time);
    // 0 for Sunday to 6 for Saturday.
    static int weekdayNumber(const QDate& date);

private:
    AlarmSlots& m_slots;
    const Clock& m_clock;
};

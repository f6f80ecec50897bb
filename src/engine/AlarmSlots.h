#pragma once

#include "schedule/AlarmTable.h"

#include <QDate>
#include <array>

// What the alarm engine keeps of each slot while it runs; rebuilt at every start.
struct AlarmSlots
{
    // The records, loaded once at start-up and replaced whole by each save.
    std::array<AlarmEntry, kSlotCount> entries;
    std::array<bool, kSlotCount> alarmArmed{};
    // The local date on which each slot last fired, so a daily alarm can ring again tomorrow.
    std::array<QDate, kSlotCount> firedOn;
};

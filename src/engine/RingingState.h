#pragma once

#include "schedule/AlarmTable.h"

#include <array>

class CaptionQueue;
class SoundPlayer;

// Which slots ring: the marks that make their rows blink until the user dismisses them.
class RingingState
{
public:
    void mark(int slot);
    void clear(int slot);
    bool isRinging(int slot) const;
    bool any() const;

private:
    std::array<bool, kSlotCount> m_tags{};
};

// Ptt_Click without its widgets: the slot stops ringing and its queued text leaves the strip's
// queue; the sound stops once no slot rings. Returns true while some slot still rings (Timer2 stays
// on). The caller hides the slot's bar.
bool dismissSlot(int slot, RingingState& ringing, CaptionQueue& queue, SoundPlayer& player);

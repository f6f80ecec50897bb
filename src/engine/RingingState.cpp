#include "engine/RingingState.h"

#include "engine/SoundPlayer.h"
#include "overlay/CaptionQueue.h"

#include <algorithm>

void RingingState::mark(int slot)
{
    if (slot >= 0 && slot < kSlotCount)
        m_tags[slot] = true;
}

void RingingState::clear(int slot)
{
    if (slot >= 0 && slot < kSlotCount)
        m_tags[slot] = false;
}

bool RingingState::isRinging(int slot) const
{
    return slot >= 0 && slot < kSlotCount && m_tags[slot];
}

bool RingingState::any() const
{
    return std::any_of(m_tags.begin(), m_tags.end(), [](bool tag) { return tag; });
}

bool dismissSlot(int slot, RingingState& ringing, CaptionQueue& queue, SoundPlayer& player)
{
    ringing.clear(slot);
    // The slot's own entry leaves, with the text it fired with: a text saved since, or another
    // ringing slot with the same text, plays no part.
    queue.remove(slot);
    // With nothing left ringing, whatever the player still holds belongs to no alarm.
    const bool stillRinging = ringing.any();
    if (!stillRinging && !player.URL().isEmpty())
        player.close();
    return stillRinging;
}

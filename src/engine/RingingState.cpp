#include "engine/RingingState.h"

#include "engine/AlarmSound.h"
#include "engine/SoundPlayer.h"
#include "settings/SettingsValues.h"

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

bool dismissSlot(int slot, const SettingsStore& store, RingingState& ringing, CaptionQueue& queue,
                 SoundPlayer& player)
{
    using SettingsValues::readText;
    ringing.clear(slot);
    const QString key = SlotKey(slot);
    const QString text = readText(store, AlarmSection::Slogan, key, AlarmDefault::Slogan);
    const QString music = readText(store, AlarmSection::Music, key, AlarmDefault::Music);
    DismissCaption(text, music, queue, player);
    // With nothing left ringing, whatever the player still holds belongs to no alarm.
    const bool stillRinging = ringing.any();
    if (!stillRinging && !player.URL().isEmpty())
        player.close();
    return stillRinging;
}

#include "engine/AlarmFiring.h"

#include "engine/AlarmActions.h"
#include "engine/AlarmHost.h"
#include "engine/AlarmSound.h"
#include "engine/CaptionQueue.h"
#include "engine/RingingState.h"
#include "overlay/OverlayPort.h"
#include "schedule/AlarmTable.h"
#include "settings/SettingsValues.h"

AlarmFiring::AlarmFiring(const SettingsStore& store, CaptionQueue& capList, OverlayPort& overlay,
                         SoundPlayer& player, RingingState& ringing, AlarmActions& actions, AlarmHost& host)
    : m_store(store), m_capList(capList), m_overlay(overlay), m_player(player), m_ringing(ringing),
      m_actions(actions), m_host(host)
{}

bool AlarmFiring::fire(int slot)
{
    using SettingsValues::readText;
    const QString key = SlotKey(slot);

    const QString text = readText(m_store, AlarmSection::Slogan, key, AlarmDefault::Slogan);
    // A text already queued is neither queued nor rendered twice.
    if (m_capList.append(text))
        m_overlay.SetCap(text);

    StartAlarmSound(m_player, readText(m_store, AlarmSection::Music, key, AlarmDefault::Music));

    m_overlay.showOverlay();
    // A strip in the middle of its cycle picks the new text up when its cycle comes round.
    if (!m_overlay.cycleRunning())
        m_overlay.startSlideIn();

    m_host.startBlinking();
    m_ringing.mark(slot);
    m_host.paintRingingBar(slot);

    if (!m_actions.PerformAlarmAction(readText(m_store, AlarmSection::Action, key, AlarmDefault::Action)))
        return false;

    m_overlay.PosTop();
    m_host.slotFired(slot);
    return true;
}

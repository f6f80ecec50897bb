#pragma once

class AlarmActions;
class AlarmHost;
class CaptionQueue;
class OverlayPort;
class RingingState;
class SettingsStore;
class SoundPlayer;

// The firing of one slot, in order: queue and render its text, start its sound, bring up the strip,
// blink and mark its row, run its action, put the strip on top, and let the main window update
// "更改". AlarmCheck::run disarms the slot once fire() returns true.
class AlarmFiring
{
public:
    AlarmFiring(const SettingsStore& store, CaptionQueue& capList, OverlayPort& overlay, SoundPlayer& player,
                RingingState& ringing, AlarmActions& actions, AlarmHost& host);

    // Returns false when the action ends the program; nothing after the action has run then.
    bool fire(int slot);

private:
    const SettingsStore& m_store;
    CaptionQueue& m_capList;
    OverlayPort& m_overlay;
    SoundPlayer& m_player;
    RingingState& m_ringing;
    AlarmActions& m_actions;
    AlarmHost& m_host;
};

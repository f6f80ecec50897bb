#pragma once

#include <functional>

class EditorPanel;
class QString;
class SettingsStore;

// The start-with-session box: set from the store at start-up and, when the window closes with the
// box changed, stored and applied to the autostart entry. A failure of either is reported.
class AutostartChoice
{
public:
    using Report = std::function<void(const QString&)>;
    AutostartChoice(SettingsStore& store, EditorPanel& panel, std::function<bool(bool)> setAutostart,
                    Report report);

    void load();
    void applyOnClose();

private:
    SettingsStore& m_store;
    EditorPanel& m_panel;
    std::function<bool(bool)> m_setAutostart;
    Report m_report;
    // Check2's value at start-up.
    int m_check2Tag = 0;
};

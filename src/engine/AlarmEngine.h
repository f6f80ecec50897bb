#pragma once

#include "engine/AlarmActions.h"
#include "engine/AlarmCheck.h"
#include "engine/AlarmFiring.h"
#include "engine/AlarmHost.h"
#include "engine/Countdown.h"
#include "engine/RingingState.h"

#include <QObject>
#include <array>
#include <functional>

class CaptionQueue;
class Clock;
class CommandRunner;
class OverlayPort;
class QListWidget;
class QPushButton;
class QTimer;
class RowBar;
class SettingsStore;
class SoundPlayer;

// The main window's widgets that the alarm engine drives.
struct AlarmEngineWidgets
{
    QListWidget* List1;
    std::array<RowBar*, kSlotCount> Ptt;
    QPushButton* Command1;
    QPushButton* Command7;
    QPushButton* Command8;
    QTimer* Timer2;
    QTimer* Tclo;
};

// What the engine asks of the main window itself.
struct AlarmEngineWindow
{
    std::function<void()> raise;
    std::function<void()> focus;
    std::function<void(const QString&)> reportFailure;
    std::function<void()> exitProgram;
};

// The alarm check, the firing sequence, the actions with their countdown, and ringing rows with
// their dismissal, applied to the main window's widgets.
class AlarmEngine : public QObject, private AlarmHost
{
    Q_OBJECT
public:
    AlarmEngine(AlarmSlots& alarmSlots, SettingsStore& store, const Clock& clock, CommandRunner& runner,
                SoundPlayer& sound, OverlayPort& overlay, CaptionQueue& capList,
                const AlarmEngineWidgets& widgets, const AlarmEngineWindow& window,
                QObject* parent = nullptr);

    void Timer1_Timer();
    void Timer2_Timer();
    void Ptt_Click(int slot);
    void Tclo_Timer() { m_actions.Tclo_Timer(); }
    void Command7_Click() { m_actions.Command7_Click(); }
    void Command8_Click() { m_actions.Command8_Click(); }

    const RingingState& ringing() const { return m_ringing; }
    const Countdown& countdown() const { return m_countdown; }

private:
    void RaiseMainWindow() override { m_window.raise(); }
    void focusMainWindow() override { m_window.focus(); }
    void countdownChanged() override;
    void startBlinking() override;
    void paintRingingBar(int slot) override;
    void slotFired(int slot) override;
    void reportFailure(const QString& message) override { m_window.reportFailure(message); }

    SettingsStore& m_store;
    SoundPlayer& m_sound;
    CaptionQueue& m_capList;
    AlarmEngineWidgets m_widgets;
    AlarmEngineWindow m_window;
    Countdown m_countdown;
    RingingState m_ringing;
    AlarmActions m_actions;
    AlarmFiring m_firing;
    AlarmCheck m_check;
};

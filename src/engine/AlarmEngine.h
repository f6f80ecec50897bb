#pragma once

#include "engine/AlarmCheck.h"
#include "engine/Countdown.h"
#include "engine/RingingState.h"
#include "schedule/AlarmTable.h"

#include <QObject>

class CaptionQueue;
class Clock;
class CommandRunner;
class OverlayPort;
class QTimer;
class SettingsStore;
class SoundPlayer;

// The ten alarms while the program runs: the check that fires due slots, their sounds and actions
// with the shutdown countdown, and ringing until each is dismissed. It keeps its own time with the
// check's timer Timer1 and the countdown's timer Tclo. The strip is driven through its port;
// everything the main window shows is announced through signals.
class AlarmEngine : public QObject
{
    Q_OBJECT
public:
    AlarmEngine(const SettingsStore& store, const Clock& clock, CommandRunner& runner, SoundPlayer& sound,
                OverlayPort& overlay, CaptionQueue& capList, QObject* parent = nullptr);

    // Start-up: every slot armed, its record read from the store. The only time the engine reads
    // the store: a hand edit of the file is seen at the next start.
    void loadSlots();
    // The slot's record as the engine holds it.
    const AlarmEntry& entry(int slot) const { return m_slots.entries.at(std::size_t(slot)); }
    // The slot's row in the alarm list.
    QString listLine(int slot) const { return entry(slot).listLine(); }
    // The editor saved the slot: its record is replaced whole, and a slot switched on may fire
    // again today. A slot that rings keeps the text it fired with on the strip.
    void entrySaved(int slot, const AlarmEntry& entry);

    // Runs the alarm check once now, then every 20 s.
    void start();
    // The alarm check: fires every due slot, lower index first.
    void Timer1_Timer();
    // Dismisses a ringing slot.
    void Ptt_Click(int slot);
    // One second of the countdown.
    void Tclo_Timer();
    // The countdown's buttons: shut down or restart now, or cancel.
    void Command7_Click();
    void Command8_Click();

    const AlarmSlots& alarmSlots() const { return m_slots; }
    bool isRinging(int slot) const { return m_ringing.isRinging(slot); }
    const Countdown& countdown() const { return m_countdown; }

signals:
    // The slot rings: its row blinks, showing `line`, until it is dismissed.
    void ringingStarted(int slot, const QString& line);
    // The slot was dismissed; `anyRinging` tells whether another slot still rings.
    void ringingStopped(int slot, bool anyRinging);
    // countdown() changed: what its two buttons show.
    void countdownChanged();
    // The main window is to come up above other windows, and take the focus when `focus` is set.
    void raiseRequested(bool focus);
    // "退出程序" fired: the program ends now, and nothing after the action runs.
    void exitRequested();
    // A command could not start, or a sound cannot be played; the firing goes on.
    void failureReported(const QString& message);
    // The slot's firing is complete: its action ran and the strip is on top again.
    void slotFired(int slot);

private:
    // Returns false when the action ends the program; nothing after the action has run then.
    bool fire(int slot);
    bool PerformAlarmAction(const QString& label);
    void startCommand(const QString& commandLine);
    void startCountdownCommand(Countdown::Command command);
    // Tclo runs exactly while the countdown does; then the buttons are told.
    void countdownUpdated();

    const SettingsStore& m_store;
    CommandRunner& m_runner;
    SoundPlayer& m_sound;
    OverlayPort& m_overlay;
    CaptionQueue& m_capList;
    AlarmSlots m_slots;
    Countdown m_countdown;
    RingingState m_ringing;
    AlarmCheck m_check;
    QTimer* Timer1 = nullptr;
    QTimer* Tclo = nullptr;
};

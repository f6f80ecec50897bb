#pragma once

#include <QString>

// What firing an alarm and running its action ask of the main window. The main window implements
// it by forwarding to its widgets; the engine decides when each call happens.
class AlarmHost
{
public:
    virtual ~AlarmHost() = default;

    // Shows the main window at 350, 350 above every window that is not topmost.
    virtual void RaiseMainWindow() = 0;
    // Gives the main window the keyboard focus; called right after RaiseMainWindow.
    virtual void focusMainWindow() = 0;
    // The countdown changed: apply Countdown::running() to Tclo and its buttons to Command7/Command8.
    virtual void countdownChanged() = 0;
    // Turns on the blinking of ringing rows (Timer2).
    virtual void startBlinking() = 0;
    // Paints the slot's bar with its list line; RingingState already marks it as ringing.
    virtual void paintRingingBar(int slot) = 0;
    // Last step of a firing: disables "更改" when the slot's row is the selected one.
    virtual void slotFired(int slot) = 0;
    // A command could not start. Tell the user without blocking; the firing goes on.
    virtual void reportFailure(const QString& message) = 0;
};

#pragma once

#include <QString>

// What the alarm engine and the main window ask of the strip. The strip implements it; tests record
// the calls.
class OverlayPort
{
public:
    virtual ~OverlayPort() = default;

    // Renders a text into both looks; an empty text changes nothing.
    virtual void SetCap(const QString& text) = 0;
    virtual void showOverlay() = 0;
    // True while any of the slide-in, blink or slide-out timers runs.
    virtual bool cycleRunning() const = 0;
    // Starts the slide-in timer.
    virtual void startSlideIn() = 0;
    // Puts the strip above every other window again without taking the focus.
    virtual void PosTop() = 0;
};

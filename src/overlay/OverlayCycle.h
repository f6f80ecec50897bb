#pragma once

#include <QtGlobal>

// The strip's animation: the panel slides in from the right edge (Timer1), its letters blink
// between the two looks (Timer2), it slides out to the left (Timer3) and the cycle starts again
// with the next queued text. The phase lives here alone: the window is told of each change and
// runs the one timer that drives the new phase.
class OverlayCycle
{
public:
    enum class Phase
    {
        Idle,
        SlidingIn,
        Blinking,
        SlidingOut
    };

    // What the cycle needs from the window.
    class Host
    {
    public:
        virtual ~Host() = default;
        virtual int screenWidth() const = 0;
        virtual void PosTop() = 0;
        // Picks and renders the next queued text; false when nothing is queued.
        virtual bool captionStep() = 0;
        // Called once for every change of phase, within the call that makes it.
        virtual void phaseChanged(Phase from, Phase to) = 0;
    };

    static constexpr int kSlideInStep = 5;
    static constexpr int kSlideOutStep = 8;
    // Toggles happen while BlinkCount is at most this, so 21 of them.
    static constexpr int kLastToggle = 20;

    explicit OverlayCycle(Host& host);

    // Places the panel just past the right edge, as wide as the screen.
    void load(int screenWidth);
    // Starts a cycle; a cycle already running goes on as it is.
    void startSlideIn();

    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    Phase phase() const { return m_phase; }
    bool running() const { return m_phase != Phase::Idle; }

    int panelLeft() const { return m_panelLeft; }
    int panelWidth() const { return m_panelWidth; }
    bool p2Visible() const { return m_p2Visible; }
    qint16 BlinkCount() const { return m_blinkCount; }

private:
    void enter(Phase phase);

    Host& m_host;
    Phase m_phase = Phase::Idle;
    int m_panelLeft = 0;
    int m_panelWidth = 0;
    bool m_p2Visible = false;
    qint16 m_blinkCount = 0;
};

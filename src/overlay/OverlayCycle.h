#pragma once

#include <QtGlobal>
#include <array>

// The strip's animation: the panel slides in from the right edge (Timer1), its letters blink
// between the two looks (Timer2), it slides out to the left (Timer3) and the cycle starts again
// with the next queued text. At most one of the three timers runs at a time. The machine only
// keeps the state; the window mirrors it into real timers and widgets after every call.
class OverlayCycle
{
public:
    // What the cycle needs from the window at the restart after a slide-out.
    class Host
    {
    public:
        virtual ~Host() = default;
        virtual int screenWidth() const = 0;
        virtual void PosTop() = 0;
        // Picks and renders the next queued text; false when nothing is queued.
        virtual bool captionStep() = 0;
    };

    enum class Phase
    {
        Idle,
        SlidingIn,
        Blinking,
        SlidingOut
    };

    static constexpr int kSlideInStep = 5;
    static constexpr int kSlideOutStep = 8;
    // Toggles happen while BlinkCount is at most this, so 21 of them.
    static constexpr int kLastToggle = 20;

    explicit OverlayCycle(Host& host);

    // Places the panel just past the right edge, as wide as the screen.
    void load(int screenWidth);
    void startSlideIn() { m_timers[0] = true; }

    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();

    // n is 1, 2 or 3 for Timer1, Timer2, Timer3.
    bool timerActive(int n) const { return m_timers[std::size_t(n - 1)]; }
    bool running() const { return m_timers[0] || m_timers[1] || m_timers[2]; }
    Phase phase() const;

    int panelLeft() const { return m_panelLeft; }
    int panelWidth() const { return m_panelWidth; }
    bool p2Visible() const { return m_p2Visible; }
    qint16 BlinkCount() const { return m_blinkCount; }

private:
    void switchTimer(int from, int to);

    Host& m_host;
    std::array<bool, 3> m_timers{false, false, false};
    int m_panelLeft = 0;
    int m_panelWidth = 0;
    bool m_p2Visible = false;
    qint16 m_blinkCount = 0;
};

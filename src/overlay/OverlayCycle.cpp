#include "overlay/OverlayCycle.h"

OverlayCycle::OverlayCycle(Host& host) : m_host(host) {}

void OverlayCycle::load(int screenWidth)
{
    m_panelWidth = screenWidth;
    m_panelLeft = screenWidth;
}

void OverlayCycle::Timer1_Timer()
{
    if (m_panelLeft <= 0) {
        m_panelLeft = 0;
        switchTimer(1, 2);
    }
    // Also on the tick that ends the slide-in, so the panel rests at -5.
    m_panelLeft -= kSlideInStep;
}

void OverlayCycle::Timer2_Timer()
{
    if (m_blinkCount <= kLastToggle) {
        m_p2Visible = !m_p2Visible;
        ++m_blinkCount;
        return;
    }
    switchTimer(2, 3);
    m_p2Visible = false;
    m_blinkCount = 0;
}

void OverlayCycle::Timer3_Timer()
{
    if (m_panelLeft <= -m_panelWidth) {
        m_panelWidth = m_host.screenWidth();
        m_panelLeft = m_panelWidth;
        switchTimer(3, 1);
        m_host.PosTop();
        if (!m_host.captionStep())
            m_timers[0] = false;
    }
    // Also on the restart tick, so the next slide-in starts at width - 8.
    m_panelLeft -= kSlideOutStep;
}

OverlayCycle::Phase OverlayCycle::phase() const
{
    if (m_timers[0])
        return Phase::SlidingIn;
    if (m_timers[1])
        return Phase::Blinking;
    if (m_timers[2])
        return Phase::SlidingOut;
    return Phase::Idle;
}

void OverlayCycle::switchTimer(int from, int to)
{
    m_timers[std::size_t(from - 1)] = false;
    m_timers[std::size_t(to - 1)] = true;
}

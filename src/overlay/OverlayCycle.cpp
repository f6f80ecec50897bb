#include "overlay/OverlayCycle.h"

OverlayCycle::OverlayCycle(Host& host) : m_host(host) {}

void OverlayCycle::load(int screenWidth)
{
    m_panelWidth = screenWidth;
    m_panelLeft = screenWidth;
}

void OverlayCycle::startSlideIn()
{
    if (m_phase == Phase::Idle)
        enter(Phase::SlidingIn);
}

void OverlayCycle::Timer1_Timer()
{
    if (m_panelLeft <= 0) {
        m_panelLeft = 0;
        enter(Phase::Blinking);
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
    m_p2Visible = false;
    m_blinkCount = 0;
    enter(Phase::SlidingOut);
}

void OverlayCycle::Timer3_Timer()
{
    if (m_panelLeft <= -m_panelWidth) {
        m_panelWidth = m_host.screenWidth();
        m_panelLeft = m_panelWidth;
        m_host.PosTop();
        // With nothing queued the restarted slide-in stops at once: the strip falls idle.
        enter(m_host.captionStep() ? Phase::SlidingIn : Phase::Idle);
    }
    // Also on the restart tick, so the next slide-in starts at width - 8.
    m_panelLeft -= kSlideOutStep;
}

void OverlayCycle::enter(Phase phase)
{
    const Phase from = m_phase;
    if (phase == from)
        return;
    m_phase = phase;
    m_host.phaseChanged(from, phase);
}

#pragma once

// Runs the event loop until the strip's animation cycle has ended.
#include "overlay/OverlayPort.h"

#include <QEventLoop>
#include <QTimer>

inline void waitForCycleEnd(const OverlayPort& strip)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (!strip.cycleRunning())
            loop.quit();
    });
    poll.start(50);
    loop.exec();
}

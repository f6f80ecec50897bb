#pragma once

// Runs the event loop until the strip's animation cycle has ended.
#include "overlay/Form2.h"

#include <QEventLoop>
#include <QTimer>

inline void waitForCycleEnd(Form2& strip)
{
    // Checked after each slide-out tick, so that the wait adds no wake-up of its own to the
    // figures.
    QEventLoop loop;
    QObject::connect(strip.findChild<QTimer*>(QStringLiteral("Timer3")), &QTimer::timeout, &loop, [&] {
        if (!strip.cycleRunning())
            loop.quit();
    });
    if (strip.cycleRunning())
        loop.exec();
}

#pragma once

#include <QTimer>

// A timer under its given name, so tests and readers find it as the design names it.
inline QTimer* namedTimer(QObject* parent, const QString& name, int interval)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(name);
    timer->setInterval(interval);
    return timer;
}

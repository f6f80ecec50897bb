#pragma once

#include <QRegion>
#include <QWidget>
#include <QtMath>

// A device-pixel region in logical pixels: every logical pixel that holds a part of it.
inline QRegion toLogicalPixels(const QRegion& devicePixels, qreal ratio)
{
    if (qFuzzyCompare(ratio, 1.0))
        return devicePixels;
    QRegion logical;
    for (const QRect& rect : devicePixels) {
        const QPoint topLeft(qFloor(rect.left() / ratio), qFloor(rect.top() / ratio));
        const QPoint end(qCeil((rect.right() + 1) / ratio), qCeil((rect.bottom() + 1) / ratio));
        logical += QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
    }
    return logical;
}

// The portable shape: the widget's mask in its own (logical) pixels.
inline void setWidgetMask(QWidget* window, const QRegion& devicePixels)
{
    // An empty mask means "no shape" to Qt, which would show the whole window. A pixel outside
    // the window keeps it shaped and shows nothing.
    if (devicePixels.isEmpty()) {
        window->setMask(QRegion(-1, -1, 1, 1));
        return;
    }
    window->setMask(toLogicalPixels(devicePixels, window->devicePixelRatioF()));
}

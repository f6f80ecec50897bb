#include "overlay/WindowShape.h"

#include "overlay/WidgetMask.h"

void setWindowShape(QWidget* window, const QRegion& devicePixels)
{
    setWidgetMask(window, devicePixels);
}

void flushWindowSystem() {}

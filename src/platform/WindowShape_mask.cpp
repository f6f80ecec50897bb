#include "platform/WindowShape.h"

#include "platform/WidgetMask.h"

void setWindowShape(QWidget* window, const QRegion& devicePixels)
{
    setWidgetMask(window, devicePixels);
}

void flushWindowSystem() {}

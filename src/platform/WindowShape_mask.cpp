#include "platform/WindowShape.h"

#include "platform/WidgetMask.h"

void setWindowShape(QWidget* window, const QRegion& devicePixels, bool)
{
    setWidgetMask(window, devicePixels);
}

void flushWindowSystem() {}

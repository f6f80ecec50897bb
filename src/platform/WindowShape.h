#pragma once

#include <QRegion>

class QWidget;

// The strip's window shape in device pixels, so that letters rendered at a device pixel ratio
// above 1 keep their fine edges. On X11 the shape goes straight to the server, and is flushed so
// that a shape set from a timer shows at once; elsewhere it becomes the widget's mask.
// An empty region shows nothing of the window. A window not created yet must be shaped again
// once it is.
// Without `outline` the region only takes the clicks and the window shows what its own pixels'
// transparency lets through, which a compositing manager alone makes see-through. Moving a window
// whose outline is a shape of many rectangles costs the server a clipping against each of them.
void setWindowShape(QWidget* window, const QRegion& devicePixels, bool outline = true);

// Sends what the window system connection holds back, such as a move made from a timer.
void flushWindowSystem();

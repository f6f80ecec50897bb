#pragma once

#include <QRegion>

class QWidget;

// The strip's window shape in device pixels, so that letters rendered at a device pixel ratio
// above 1 keep their fine edges. On X11 the shape goes straight to the server, and is flushed so
// that a shape set from a timer shows at once; elsewhere it becomes the widget's mask.
// An empty region shows nothing of the window. A window not created yet must be shaped again
// once it is.
void setWindowShape(QWidget* window, const QRegion& devicePixels);

// Sends what the window system connection holds back, such as a move made from a timer.
void flushWindowSystem();

#pragma once

class QWidget;

// Asks the window manager to leave a top-level window out of the taskbar and the pager. Takes
// effect when the window is next mapped, so call it from its show event.
void keepOffTaskbar(QWidget* window);

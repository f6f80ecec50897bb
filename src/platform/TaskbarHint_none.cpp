#include "platform/TaskbarHint.h"

// Elsewhere the tool-window flag already keeps the strip off the taskbar.
void keepOffTaskbar(QWidget*) {}

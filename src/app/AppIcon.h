#pragma once

#include <QIcon>

namespace AppIcon {
// A small alarm clock, drawn rather than shipped, for the window and the tray.
QIcon make();
} // namespace AppIcon

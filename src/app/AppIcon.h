#pragma once

#include <QIcon>
#include <QList>
#include <QPixmap>

namespace AppIcon {
// A small alarm clock, drawn rather than shipped, for the window and the tray, at each size asked.
QIcon make();
// The clock at size × size pixels; the shapes are laid out on a 32-unit grid and scaled.
QPixmap draw(int size);
// The sizes make() offers, smallest first.
QList<int> sizes();
} // namespace AppIcon

#pragma once

#include <QRect>

namespace NoticePlacement {

// Room left between the notice and the windows it keeps clear of.
constexpr int kGap = 8;

// Where a notice of `size` goes: on `screen` (the main window's screen, its usable area), as near
// to `mainFrame` as it can be while overlapping neither it nor `band`. When nothing fits, the
// screen's corner farthest from the main window.
QRect beside(const QRect& mainFrame, const QSize& size, const QRect& screen, const QRect& band);

} // namespace NoticePlacement

#pragma once

#include <QPoint>
#include <QRect>
#include <functional>

class QObject;

namespace ScreenLayout {

// The strip's top, in pixels below the primary screen's top.
constexpr int kStripTop = 400;

// The band the strip slides through: the primary screen's full width, at the strip's height.
QRect stripBand();

// The primary screen's top-left corner on the desktop; (0, 0) without a screen.
QPoint primaryTopLeft();

// Calls react whenever the primary screen changes, a screen comes or goes, or any screen's
// geometry changes, for as long as context lives.
void onChange(QObject* context, const std::function<void()>& react);

} // namespace ScreenLayout

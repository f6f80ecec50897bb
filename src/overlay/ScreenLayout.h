#pragma once

#include <QPoint>
#include <functional>

class QObject;

namespace ScreenLayout {

// The primary screen's top-left corner on the desktop; (0, 0) without a screen.
QPoint primaryTopLeft();

// Calls react whenever the primary screen changes, a screen comes or goes, or any screen's
// geometry changes, for as long as context lives.
void onChange(QObject* context, const std::function<void()>& react);

} // namespace ScreenLayout

#pragma once

#include <QImage>

// A picture of the whole screen of the test desktop, as a user would see it: the X root window,
// or under Wayland the compositor's own picture (XWayland's root window cannot be read). Taken
// without letting Qt process any event meanwhile. A null image when it fails.
QImage shootDesktop();

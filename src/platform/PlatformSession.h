#pragma once

// Desktop-session specifics that must be settled before the application object exists.
namespace PlatformSession {
// The strip needs global placement, stacking and a window shape, which Qt gets only from X11:
// in a Wayland session, run through XWayland when it is there.
void choosePlatform();
} // namespace PlatformSession

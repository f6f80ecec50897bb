#pragma once

#include <QString>

// The desktop's own alarm sound, played when an alarm's chosen file cannot be played. Each
// platform has its own source file; CMake compiles the one for the target platform.
namespace PlatformSounds {
QString fallbackAlarmSound();
} // namespace PlatformSounds

#pragma once

#include <QString>

// The command lines that power the machine off or restart it at once. Each platform has its own
// source file; CMake compiles the one for the target platform.
namespace PlatformCommands {
QString shutDownNow();
QString restartNow();
} // namespace PlatformCommands

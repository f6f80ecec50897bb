#pragma once

#include <QString>

// Starting with the desktop session. Each platform has its own small implementation file.
namespace Autostart {
// Turns the entry for `executablePath` on or off; false when it could not be changed.
bool setEnabled(bool enabled, const QString& executablePath);
bool isEnabled(const QString& executablePath);
// Where the entry lives, for tests and messages.
QString entryLocation(const QString& executablePath);
} // namespace Autostart

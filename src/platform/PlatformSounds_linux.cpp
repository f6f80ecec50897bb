#include "platform/PlatformSounds.h"

QString PlatformSounds::fallbackAlarmSound()
{
    // The freedesktop sound theme's alarm (Debian: sound-theme-freedesktop).
    return QStringLiteral("/usr/share/sounds/freedesktop/stereo/alarm-clock-elapsed.oga");
}

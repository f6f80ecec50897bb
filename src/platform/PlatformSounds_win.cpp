#include "platform/PlatformSounds.h"

#include <QDir>

QString PlatformSounds::fallbackAlarmSound()
{
    const QString windows = qEnvironmentVariable("SystemRoot", QStringLiteral("C:\\Windows"));
    return QDir::fromNativeSeparators(windows) + QStringLiteral("/Media/Alarm01.wav");
}

#include "platform/PlatformCommands.h"

QString PlatformCommands::shutDownNow()
{
    return QStringLiteral("systemctl poweroff");
}

QString PlatformCommands::restartNow()
{
    return QStringLiteral("systemctl reboot");
}

#include "platform/PlatformCommands.h"

QString PlatformCommands::shutDownNow()
{
    return QStringLiteral("shutdown -s -t 0");
}

QString PlatformCommands::restartNow()
{
    return QStringLiteral("shutdown -r -t 0");
}

#include "support/DesktopShot.h"

#include <QProcess>

QImage shootDesktop()
{
    QProcess shot;
    shot.start(QStringLiteral(QUORVEL_SOURCE_DIR "/scripts/desktop-screenshot"), {QStringLiteral("-")});
    if (!shot.waitForFinished(20000) || shot.exitCode() != 0)
        return QImage();
    return QImage::fromData(shot.readAllStandardOutput(), "PNG").convertToFormat(QImage::Format_RGB32);
}

#include "platform/Autostart.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
const QString kRunKey =
    QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
QString valueName(const QString& executablePath)
{
    return QFileInfo(executablePath).completeBaseName();
}
} // namespace

QString Autostart::entryLocation(const QString& executablePath)
{
    return kRunKey + QLatin1Char('\\') + valueName(executablePath);
}

bool Autostart::isEnabled(const QString& executablePath)
{
    return QSettings(kRunKey, QSettings::NativeFormat).contains(valueName(executablePath));
}

bool Autostart::setEnabled(bool enabled, const QString& executablePath)
{
    QSettings run(kRunKey, QSettings::NativeFormat);
    if (enabled)
        run.setValue(valueName(executablePath), QDir::toNativeSeparators(executablePath));
    else
        run.remove(valueName(executablePath));
    run.sync();
    return run.status() == QSettings::NoError;
}

#include "platform/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// Desktop-entry quoting for Exec: quote the argument, escape what is special inside quotes,
// and double "%" which would otherwise start a field code.
QString execArgument(const QString& path)
{
    QString escaped;
    for (const QChar c : path) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            escaped += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            escaped += QLatin1Char('%');
        escaped += c;
    }
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

QString Autostart::entryLocation(const QString& executablePath)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config + QStringLiteral("/autostart/") + QFileInfo(executablePath).completeBaseName() +
           QStringLiteral(".desktop");
}

bool Autostart::isEnabled(const QString& executablePath)
{
    return QFileInfo::exists(entryLocation(executablePath));
}

bool Autostart::setEnabled(bool enabled, const QString& executablePath)
{
    const QString location = entryLocation(executablePath);
    if (!enabled)
        return !QFileInfo::exists(location) || QFile::remove(location);

    if (!QDir().mkpath(QFileInfo(location).absolutePath()))
        return false;
    QSaveFile file(location);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    // Desktop entries are public (0644) whatever the umask.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                        QFileDevice::ReadOther);
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Quorvel\n"
                                         "Comment=Alarms and reminders\n"
                                         "Comment[zh_CN]=闹钟与提醒\n"
                                         "Exec=%1\n"
                                         "Icon=quorvel\n"
                                         "Terminal=false\n"
                                         "X-GNOME-Autostart-enabled=true\n")
                              .arg(execArgument(QFileInfo(executablePath).absoluteFilePath()));
    file.write(entry.toUtf8());
    return file.commit();
}

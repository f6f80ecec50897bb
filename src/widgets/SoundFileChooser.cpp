#include "widgets/SoundFileChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace SoundFileChooser {

QString nameFilters(const QString& storedFilter)
{
    const QStringList parts = storedFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");
        }
        // The dialog hides the bracketed patterns, so the description shows exactly as stored.
        filters.append(parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')'));
    }
    return filters.join(QStringLiteral(";;"));
}

QString startPath(const QString& current)
{
    // A Windows path such as "D:\a.mp3" is a relative name here and names no folder.
    if (QDir::isAbsolutePath(current) && QFileInfo(QFileInfo(current).absolutePath()).isDir())
        return current;
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QFileInfo(music).isDir())
        return music;
    return QDir::homePath();
}

QString choose(QWidget* parent, const QString& current, const QString& nameFilters)
{
    const QString chosen = QFileDialog::getOpenFileName(parent, QString(), startPath(current), nameFilters,
                                                        nullptr, QFileDialog::HideNameFilterDetails);
    return chosen.isEmpty() ? current : chosen;
}

} // namespace SoundFileChooser

#include "schedule/SoundCue.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace SoundCue {

namespace {
bool hasWildcard(QStringView text)
{
    return text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'));
}

bool isHiddenName(QStringView name)
{
    return name.startsWith(QLatin1Char('.'));
}

// Name filters read "[...]" as a set of characters; here a bracket is only itself.
QString filterFor(const QString& name)
{
    QString filter;
    filter.reserve(name.size());
    for (const QChar c : name) {
        if (c == QLatin1Char('['))
            filter += QStringLiteral("[[]");
        else if (c == QLatin1Char(']'))
            filter += QStringLiteral("[]]");
        else
            filter += c;
    }
    return filter;
}
} // namespace

CueColour cue(const QString& text)
{
    return text.contains(QLatin1Char('.')) && findsFile(text) ? CueColour::Black : CueColour::Red;
}

bool findsFile(const QString& path)
{
    if (path.isEmpty() || path.contains(QChar(0)))
        return false;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QStringLiteral(".") : path.left(slash + 1);
    const QString name = path.mid(slash + 1);
    if (name.isEmpty() || hasWildcard(folder))
        return false;

    if (!hasWildcard(name)) {
        const QFileInfo info(path);
        return !isHiddenName(name) && info.isFile();
    }

    // Without QDir::Hidden and QDir::System the scan skips dot files, devices, pipes and sockets.
    QDirIterator it(folder, {filterFor(name)}, QDir::Files | QDir::CaseSensitive);
    return it.hasNext();
}

} // namespace SoundCue

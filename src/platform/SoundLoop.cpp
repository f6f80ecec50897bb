#include "platform/SoundLoop.h"

QUrl SoundLoop::sourceFor(const QString& fileName)
{
    if (fileName.isEmpty())
        return QUrl();
    // "D:\..." has a one-letter "scheme": that is a drive, so such a text stays a path.
    const QUrl url(fileName, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(fileName);
}

#include "engine/MediaSoundPlayer.h"

#include <QAudioOutput>
#include <QMediaPlayer>
#include <QUrl>

MediaSoundPlayer::MediaSoundPlayer() = default;

MediaSoundPlayer::~MediaSoundPlayer() = default;

void MediaSoundPlayer::setURL(const QString& fileName)
{
    ensurePlayer();
    m_url = fileName;
    m_player->setSource(sourceFor(fileName));
    m_player->play();
}

void MediaSoundPlayer::close()
{
    m_url.clear();
    if (!m_player)
        return;
    m_player->stop();
    m_player->setSource(QUrl());
}

QUrl MediaSoundPlayer::sourceFor(const QString& fileName)
{
    if (fileName.isEmpty())
        return QUrl();
    // "D:\..." has a one-letter "scheme": that is a drive, so such a text stays a path.
    const QUrl url(fileName, QUrl::StrictMode);
    if (url.isValid() && url.scheme().size() > 1)
        return url;
    return QUrl::fromLocalFile(fileName);
}

void MediaSoundPlayer::ensurePlayer()
{
    if (m_player)
        return;
    m_output = std::make_unique<QAudioOutput>();
    m_output->setVolume(1.0f);
    m_player = std::make_unique<QMediaPlayer>();
    m_player->setAudioOutput(m_output.get());
    m_player->setLoops(Plays);
}

#include "engine/MediaSoundPlayer.h"

#include "engine/SoundWorker.h"
#include "platform/PlatformSounds.h"

#include <QUrl>

MediaSoundPlayer::MediaSoundPlayer(const QString& fallbackFile, QObject* parent, const QString& output)
    : SoundPlayer(parent), m_fallbackFile(fallbackFile), m_output(output)
{
    m_thread.setObjectName(QStringLiteral("sound"));
}

MediaSoundPlayer::MediaSoundPlayer() : MediaSoundPlayer(PlatformSounds::fallbackAlarmSound()) {}

MediaSoundPlayer::~MediaSoundPlayer()
{
    m_thread.quit();
    m_thread.wait();
}

void MediaSoundPlayer::setURL(const QString& fileName)
{
    ensureThread();
    m_url = fileName;
    emit playRequested(fileName);
}

void MediaSoundPlayer::close()
{
    m_url.clear();
    if (m_worker)
        emit stopRequested();
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

void MediaSoundPlayer::ensureThread()
{
    if (m_worker)
        return;
    m_worker = new SoundWorker(m_fallbackFile, m_output);
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(this, &MediaSoundPlayer::playRequested, m_worker, &SoundWorker::play);
    connect(this, &MediaSoundPlayer::stopRequested, m_worker, &SoundWorker::stop);
    connect(m_worker, &SoundWorker::cannotPlay, this, &MediaSoundPlayer::onCannotPlay);
    connect(m_worker, &SoundWorker::sounding, this, &MediaSoundPlayer::onSounding);
    connect(m_worker, &SoundWorker::outputLost, this, &SoundPlayer::playbackProblem);
    m_thread.start();
}

void MediaSoundPlayer::onCannotPlay(const QString& fileName, const QString& message)
{
    if (m_reported.contains(fileName))
        return;
    m_reported.insert(fileName);
    emit playbackProblem(message);
}

void MediaSoundPlayer::onSounding(const QString& file)
{
    if (file == m_sounding)
        return;
    m_sounding = file;
    emit soundingChanged(file);
}

#include "engine/ThreadedSoundPlayer.h"

#include "engine/SoundWorker.h"
#include "platform/SoundLoop.h"

ThreadedSoundPlayer::ThreadedSoundPlayer(const QString& fallbackFile, const QString& quietDefault,
                                         QObject* parent, const QString& output)
    : SoundPlayer(parent), m_fallbackFile(fallbackFile), m_quietDefault(quietDefault), m_output(output)
{
    m_thread.setObjectName(QStringLiteral("sound"));
}

ThreadedSoundPlayer::~ThreadedSoundPlayer()
{
    m_thread.quit();
    m_thread.wait();
}

void ThreadedSoundPlayer::setURL(const QString& fileName)
{
    ensureThread();
    m_url = fileName;
    emit playRequested(fileName);
}

void ThreadedSoundPlayer::close()
{
    m_url.clear();
    if (m_worker)
        emit stopRequested();
}

void ThreadedSoundPlayer::ensureThread()
{
    if (m_worker)
        return;
    auto* loop = new SoundLoop;
    loop->setOutput(m_output);
    m_worker = new SoundWorker(m_fallbackFile, m_quietDefault, loop);
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(this, &ThreadedSoundPlayer::playRequested, m_worker, &SoundWorker::play);
    connect(this, &ThreadedSoundPlayer::stopRequested, m_worker, &SoundWorker::stop);
    connect(m_worker, &SoundWorker::cannotPlay, this, &ThreadedSoundPlayer::onCannotPlay);
    connect(m_worker, &SoundWorker::sounding, this, &ThreadedSoundPlayer::onSounding);
    connect(m_worker, &SoundWorker::outputLost, this, &SoundPlayer::playbackProblem);
    m_thread.start();
}

void ThreadedSoundPlayer::onCannotPlay(const QString& fileName, const QString& message)
{
    if (m_reported.contains(fileName))
        return;
    m_reported.insert(fileName);
    emit playbackProblem(message);
}

void ThreadedSoundPlayer::onSounding(const QString& file)
{
    if (file == m_sounding)
        return;
    m_sounding = file;
    emit soundingChanged(file);
}

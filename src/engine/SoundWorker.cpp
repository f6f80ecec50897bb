#include "engine/SoundWorker.h"

#include "engine/MediaSoundPlayer.h"
#include "platform/MidiLoudness.h"

#include <QAudioOutput>
#include <QFileInfo>

SoundWorker::SoundWorker(const QString& fallbackFile, QObject* parent)
    : QObject(parent), m_fallbackFile(fallbackFile)
{}

SoundWorker::~SoundWorker()
{
    release();
}

void SoundWorker::play(const QString& fileName)
{
    release();
    m_chosen = fileName;
    m_reason.clear();
    // No file at all is a silent alarm by choice, not a failure.
    if (fileName.isEmpty())
        return;
    switch (fileProblem(fileName)) {
    case FileProblem::None:
        start(fileName, Stage::Chosen);
        break;
    case FileProblem::Missing:
        useFallback(QStringLiteral("找不到声音文件“%1”").arg(fileName));
        break;
    case FileProblem::Unreadable:
        useFallback(QStringLiteral("无法读取声音文件“%1”").arg(fileName));
        break;
    }
}

void SoundWorker::stop()
{
    release();
    m_chosen.clear();
    m_reason.clear();
}

void SoundWorker::start(const QString& file, Stage stage)
{
    m_stage = stage;
    m_output = new QAudioOutput(this);
    m_output->setVolume(1.0f);
    m_player = new QMediaPlayer(this);
    m_player->setAudioOutput(m_output);
    m_player->setLoops(Plays);
    MidiLoudness::raise();
    const quint64 generation = ++m_generation;
    connect(m_player, &QMediaPlayer::mediaStatusChanged, this,
            [this, generation](QMediaPlayer::MediaStatus status) { onStatus(generation, status); });
    // Queued: the player is replaced from here, which must not happen inside its own signal.
    connect(
        m_player, &QMediaPlayer::errorOccurred, this, [this, generation] { onError(generation); },
        Qt::QueuedConnection);
    m_player->setSource(MediaSoundPlayer::sourceFor(file));
    m_player->play();
}

void SoundWorker::release()
{
    const bool wasSounding = m_stage != Stage::Silent;
    m_stage = Stage::Silent;
    // Deleting stops the pipeline; for a failed source that is where GStreamer blocks.
    delete m_player;
    m_player = nullptr;
    delete m_output;
    m_output = nullptr;
    if (wasSounding)
        emit sounding(QString());
}

void SoundWorker::useFallback(const QString& reason)
{
    release();
    const FileProblem fallbackProblem = fileProblem(m_fallbackFile);
    if (fallbackProblem != FileProblem::None) {
        const QString what = fallbackProblem == FileProblem::Missing ? QStringLiteral("也找不到")
                                                                     : QStringLiteral("也无法读取");
        emit cannotPlay(
            m_chosen,
            QStringLiteral("%1。系统闹钟声“%2”%3，闹钟没有声音。").arg(reason, m_fallbackFile, what));
        return;
    }
    m_reason = reason;
    start(m_fallbackFile, Stage::Fallback);
}

void SoundWorker::onStatus(quint64 generation, QMediaPlayer::MediaStatus status)
{
    if (generation != m_generation || status != QMediaPlayer::BufferedMedia)
        return;
    emit sounding(m_stage == Stage::Fallback ? m_fallbackFile : m_chosen);
    // Told once the fallback is heard, so the message says what really happens.
    if (m_stage == Stage::Fallback && !m_reason.isEmpty()) {
        emit cannotPlay(m_chosen, QStringLiteral("%1，改用系统闹钟声。").arg(m_reason));
        m_reason.clear();
    }
}

void SoundWorker::onError(quint64 generation)
{
    if (generation != m_generation || m_stage == Stage::Silent)
        return;
    if (m_stage == Stage::Chosen) {
        useFallback(QStringLiteral("无法播放声音文件“%1”").arg(m_chosen));
    } else if (m_stage == Stage::Fallback) {
        release();
        emit cannotPlay(
            m_chosen,
            QStringLiteral("%1。系统闹钟声“%2”也无法播放，闹钟没有声音。").arg(m_reason, m_fallbackFile));
        m_reason.clear();
    }
}

SoundWorker::FileProblem SoundWorker::fileProblem(const QString& fileName)
{
    const QUrl source = MediaSoundPlayer::sourceFor(fileName);
    if (!source.isLocalFile())
        return FileProblem::None; // streams are the player's business
    const QFileInfo file(source.toLocalFile());
    if (!file.exists())
        return FileProblem::Missing;
    if (!file.isFile() || !file.isReadable())
        return FileProblem::Unreadable;
    return FileProblem::None;
}

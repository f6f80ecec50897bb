#pragma once

#include <QMediaPlayer>
#include <QObject>

class QAudioOutput;

// Owns the media player on the sound thread, where a call that blocks (GStreamer holds a stop or
// a source change for about a second when the source failed) holds up nobody. Commands arrive as
// queued calls. A file that cannot be played is replaced by the fallback sound.
class SoundWorker : public QObject
{
    Q_OBJECT
public:
    explicit SoundWorker(const QString& fallbackFile, QObject* parent = nullptr);
    ~SoundWorker() override;

    static constexpr int Plays = 255;

    void play(const QString& fileName);
    void stop();

signals:
    // The file now heard: the chosen one or the fallback; "" when silent.
    void sounding(const QString& file);
    // The chosen file could not be played; the message says why and what plays instead.
    void cannotPlay(const QString& fileName, const QString& message);

private:
    enum class Stage
    {
        Silent,
        Chosen,
        Fallback
    };

    void start(const QString& file, Stage stage);
    void release();
    void useFallback(const QString& reason);
    // Signals carry the generation of the player that sent them; those of a player given up on
    // (a queued error may arrive after it was deleted) are ignored.
    void onStatus(quint64 generation, QMediaPlayer::MediaStatus status);
    void onError(quint64 generation);
    enum class FileProblem
    {
        None,
        Missing,
        Unreadable
    };
    // Checked here rather than left to the player, which blocks on closing a source that failed.
    static FileProblem fileProblem(const QString& fileName);

    const QString m_fallbackFile;
    QString m_chosen;
    // Why the chosen file failed, until the fallback is heard or fails too.
    QString m_reason;
    Stage m_stage = Stage::Silent;
    // One player per source, so nothing of a failed source lingers into the next.
    QMediaPlayer* m_player = nullptr;
    quint64 m_generation = 0;
    QAudioOutput* m_output = nullptr;
};

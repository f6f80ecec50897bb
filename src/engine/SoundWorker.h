#pragma once

#include <QObject>
#include <QTimer>

class SoundLoop;

// Owns the sound on the sound thread, where a call that blocks (GStreamer holds a stop for about
// a second when the source failed) holds up nobody. Commands arrive as queued calls. A file that
// cannot be played is replaced by the fallback sound; a player that cannot start plays nothing at
// all, and is told as such; a lost sound server is tried again until it answers or the sound is
// stopped.
class SoundWorker : public QObject
{
    Q_OBJECT
public:
    // `quietDefault`: the file a slot names when the user chose none; it stands for the desktop's
    // alarm sound, so its absence is no news. The worker takes `loop` as its child.
    SoundWorker(const QString& fallbackFile, const QString& quietDefault, SoundLoop* loop,
                QObject* parent = nullptr);
    ~SoundWorker() override;

    static constexpr int Plays = 255;
    static constexpr int RetryMs = 1000;

    void play(const QString& fileName);
    void stop();

signals:
    // The file now heard: the chosen one or the fallback; "" when silent.
    void sounding(const QString& file);
    // The chosen file could not be played; the message says why and what plays instead.
    void cannotPlay(const QString& fileName, const QString& message);
    // The sound server went away (or never answered) while a sound was due; told once until the
    // sound is heard again.
    void outputLost(const QString& message);

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
    void onPlaying();
    void onFinished();
    void onFileFailed(const QString& detail);
    void onDecoderMissing(const QString& detail);
    void onStartFailed(const QString& detail);
    // The chosen file failed: the fallback takes over. The fallback failed too: silence, told.
    void onLoopFailed(const QString& chosenProblem, const QString& fallbackProblem);
    QString fallbackFailure(const QString& problem) const;
    // Stops and tells that nothing sounds, after the chosen file's problem when there was one.
    void tellSilent(const QString& why);
    void onOutputFailed(const QString& detail);
    void setHeard(bool heard);
    enum class FileProblem
    {
        None,
        Missing,
        Unreadable
    };
    // Checked here rather than left to the player, which blocks on closing a source that failed.
    static FileProblem fileProblem(const QString& fileName);

    const QString m_fallbackFile;
    const QString m_quietDefault;
    QString m_chosen;
    bool m_isDefault = false;
    // Why the chosen file failed, until the fallback is heard or fails too.
    QString m_reason;
    Stage m_stage = Stage::Silent;
    bool m_heard = false;
    bool m_lossTold = false;
    SoundLoop* m_loop;
    QTimer m_retry;
};

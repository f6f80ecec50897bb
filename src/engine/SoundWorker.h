#pragma once

#include <QObject>
#include <QTimer>

class SoundLoop;

// Owns the sound on the sound thread, where a call that blocks (GStreamer holds a stop for about
// a second when the source failed) holds up nobody. Commands arrive as queued calls. A file that
// cannot be played is replaced by the fallback sound; a lost sound server is tried again until it
// answers or the sound is stopped.
class SoundWorker : public QObject
{
    Q_OBJECT
public:
    // `output`: where the sound goes, as SoundLoop::setOutput takes it.
    SoundWorker(const QString& fallbackFile, const QString& output, QObject* parent = nullptr);
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
    void onFileFailed();
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
    QString m_chosen;
    // The slots' default sound: it stands for "the desktop's alarm sound", so its absence is no news.
    bool m_isDefault = false;
    // Why the chosen file failed, until the fallback is heard or fails too.
    QString m_reason;
    Stage m_stage = Stage::Silent;
    bool m_heard = false;
    bool m_lossTold = false;
    SoundLoop* m_loop;
    QTimer m_retry;
};

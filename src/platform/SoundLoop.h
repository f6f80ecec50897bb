#pragma once

#include <QObject>
#include <QUrl>
#include <memory>

// One sound file played over and over, a given number of plays in all, with no gap of its own
// between two plays. Lives on the thread that calls it; its signals come from that thread's
// event loop. Each platform has its own implementation; CMake compiles the one it can build.
// The calls are virtual so that a test can stand in for the player and report what it likes.
class SoundLoop : public QObject
{
    Q_OBJECT
public:
    explicit SoundLoop(QObject* parent = nullptr);
    ~SoundLoop() override;

    // A local path becomes a file URL; text with a scheme of two or more letters is taken as a URL.
    static QUrl sourceFor(const QString& fileName);

    // Where the sound goes: a GStreamer element description such as "fakesink sync=true", or ""
    // for the sound server. Taken at the next start.
    virtual void setOutput(const QString& description);

    // Starts `source` from its first play. Whatever played before stops.
    virtual void start(const QUrl& source, int plays);
    // Starts the play that was cut short again, from its beginning, without counting it twice.
    virtual void resume();
    // Stops and releases the file and the sound output.
    virtual void stop();

    // Plays begun so far, the current one included.
    virtual int playsBegun() const;

signals:
    // The sound is heard (again).
    void playing();
    // Every play is used up; the loop has stopped by itself.
    void finished();
    // The file cannot be played: it is damaged or not sound at all. The loop has stopped.
    void fileFailed(const QString& detail);
    // The file is sound, but no decoder for its kind is installed. The loop has stopped.
    void decoderMissing(const QString& detail);
    // The player itself cannot start, whatever the file. The loop has stopped.
    void startFailed(const QString& detail);
    // The sound output (the sound server) cannot be reached or was lost; the loop has stopped.
    void outputFailed(const QString& detail);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

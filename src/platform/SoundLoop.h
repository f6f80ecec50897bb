#pragma once

#include <QObject>
#include <QUrl>
#include <memory>

// One sound file played over and over, a given number of plays in all, with no gap of its own
// between two plays. Lives on the thread that calls it; its signals come from that thread's
// event loop. Each platform has its own implementation; CMake compiles the one it can build.
class SoundLoop : public QObject
{
    Q_OBJECT
public:
    explicit SoundLoop(QObject* parent = nullptr);
    ~SoundLoop() override;

    // Where the sound goes: a GStreamer element description such as "fakesink sync=true", or ""
    // for the sound server. Taken at the next start.
    void setOutput(const QString& description);

    // Starts `source` from its first play. Whatever played before stops.
    void start(const QUrl& source, int plays);
    // Starts the play that was cut short again, from its beginning, without counting it twice.
    void resume();
    // Stops and releases the file and the sound output.
    void stop();

    // Plays begun so far, the current one included.
    int playsBegun() const;

signals:
    // The sound is heard (again).
    void playing();
    // Every play is used up; the loop has stopped by itself.
    void finished();
    // The file cannot be played; the loop has stopped.
    void fileFailed(const QString& detail);
    // The sound output (the sound server) cannot be reached or was lost; the loop has stopped.
    void outputFailed(const QString& detail);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

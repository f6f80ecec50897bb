// The long run: the real program rings a 0.3 s file (0.15 s of tone, 0.15 s of silence) on a
// private sound server until all its plays are used up. Counts the plays in the recording of the
// server's null sink, checks that the sound then stays off, and measures the gap between plays
// beyond the file's own silence. Needs a desktop and about a minute and a half.
#include "BenchReport.h"
#include "ProgramSession.h"
#include "SoundCard.h"
#include "engine/SoundWorker.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>
#include <QTime>
#include <cstdio>

namespace {

constexpr int kFileMs = 300;
constexpr int kBlockMs = 10;
constexpr double kLoud = -40; // dBFS, RMS
constexpr double kQuiet = -60;
constexpr int kAfterMs = 3000;        // silence that ends the run
constexpr int kTimeoutMs = 255 * 600; // twice what the plays take
constexpr double kGapBudgetMs = 100;

int fail(const QString& why)
{
    std::fprintf(stderr, "bench_soundplays: %s\n", qPrintable(why));
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("QUORVEL_BUILD_DIR"))
        qputenv("QUORVEL_BUILD_DIR", QDir::cleanPath(app.applicationDirPath() + "/../..").toUtf8());
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return fail(QStringLiteral("needs a desktop (make bench runs one)"));

    QTemporaryDir media;
    const QString file = media.filePath(QStringLiteral("short.wav"));
    QProcess sox;
    sox.start(QStringLiteral("sox"),
              {"-n", "-r", "44100", "-c", "2", file, "synth", "0.15", "sine", "880", "pad", "0", "0.15"});
    if (!sox.waitForFinished(30000) || sox.exitCode() != 0)
        return fail(QStringLiteral("sox cannot make the file; run scripts/install-deps"));

    PrivateSoundServer server;
    const QString problem = server.start();
    if (!problem.isEmpty())
        return fail(problem);
    SinkRecorder recorder(server);
    if (!recorder.start())
        return fail(QStringLiteral("parec does not start"));

    while (QTime::currentTime().second() >= 50) // the alarm must still be due when the program starts
        QThread::msleep(200);
    ProgramSession session;
    session.seed(QStringLiteral("elect"), QStringLiteral("0"), QStringLiteral("1"));
    session.seed(QStringLiteral("time"), QStringLiteral("0"), QTime::currentTime().toString("HH:mm"));
    session.seed(QStringLiteral("music"), QStringLiteral("0"), file);
    session.setEnvironment(QStringLiteral("PULSE_SERVER"), server.address());
    session.setEnvironment(QStringLiteral("PULSE_RUNTIME_PATH"), server.runtimePath());
    if (!session.start())
        return fail(QStringLiteral("the program does not start"));
    if (!recorder.waitForLevel(kLoud, 10000))
        return fail(server.whyNothingIsHeard());

    // Recorded a second at a time until the sound has been off for kAfterMs.
    QList<double> levels;
    int quietTail = 0;
    for (int elapsed = 0; elapsed < kTimeoutMs && quietTail * kBlockMs < kAfterMs; elapsed += 1000) {
        const QList<double> second = recorder.levels(1000, kBlockMs);
        if (second.isEmpty())
            return fail(server.whyNothingIsHeard());
        for (double level : second) {
            quietTail = level < kQuiet ? quietTail + 1 : 0;
            levels.append(level);
        }
    }
    if (!session.isRunning())
        return fail(QStringLiteral("the program ended while ringing"));

    // Play starts, in blocks; the first play began just before the recording.
    QList<int> starts;
    bool sounding = true;
    for (int i = 0; i < levels.size(); ++i) {
        if (!sounding && levels[i] >= kLoud)
            starts.append(i);
        sounding = levels[i] >= kLoud || (sounding && levels[i] >= kQuiet);
    }
    const int plays = int(starts.size()) + 1;
    const bool stopped = quietTail * kBlockMs >= kAfterMs;
    int longest = 0;
    for (int i = 1; i < starts.size(); ++i)
        longest = std::max(longest, starts[i] - starts[i - 1]);
    const double mean =
        starts.size() > 1 ? double(starts.last() - starts.first()) / double(starts.size() - 1) : 0;
    std::printf("plays heard: %d of %d; %s\n", plays, SoundWorker::Plays,
                stopped ? "then silence" : "still sounding at the timeout");
    BenchReport::figure("plays of a 0.3 s file rung to its end", plays, 0, "plays");
    BenchReport::figure("gap between plays beyond the file's silence, mean", mean * kBlockMs - kFileMs, 1,
                        "ms", kGapBudgetMs);
    BenchReport::figure("gap between plays beyond the file's silence, longest", longest * kBlockMs - kFileMs,
                        0, "ms", kGapBudgetMs);
    return plays == SoundWorker::Plays && stopped ? 0 : 1;
}

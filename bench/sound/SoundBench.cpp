// How long the event loop stands still while an alarm's sound starts and is dismissed, for a file
// that does not exist, for one that is not audio (its source fails inside the media player, which
// then blocks on closing it) and for a real file, and while the sound server goes away under a
// ringing alarm and comes back. A 1 ms timer probes the loop; a stall is the longest gap between
// its ticks beyond that millisecond. The figure is the median over several rounds of each round's
// longest stall. The sound goes to a private sound server's null sink.
#include "BenchReport.h"
#include "SoundCard.h"
#include "engine/AlarmSound.h"
#include "engine/RingingState.h"
#include "engine/SoundWorker.h"
#include "engine/ThreadedSoundPlayer.h"
#include "overlay/CaptionQueue.h"
#include "platform/PlatformSounds.h"
#include "schedule/AlarmTable.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRounds = 5;
constexpr int kRingMs = 400;    // from firing to the click that dismisses
constexpr int kSettleMs = 1500; // after it, long enough for a blocking close to have happened
constexpr double kBudgetMs = 20.0;

// Runs the event loop for `ms`, returning the longest stall seen meanwhile.
double runLoopFor(int ms)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 worst = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        worst = std::max(worst, now - last);
        last = now;
    });
    probe.start();
    QTimer::singleShot(ms, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
    worst = std::max(worst, clock.nsecsElapsed() - last);
    return std::max(0.0, double(worst) / 1e6 - 1.0);
}

// One alarm in slot 0 with the given file: fire, ring, dismiss, settle. The longest stall of all
// of it, including the calls themselves.
double fireAndDismiss(ThreadedSoundPlayer& player, const QString& file)
{
    CaptionQueue queue;
    RingingState ringing;

    QElapsedTimer call;
    call.start();
    queue.append(0, AlarmDefault::Slogan);
    ringing.mark(0);
    StartAlarmSound(player, file);
    double worst = double(call.nsecsElapsed()) / 1e6;
    worst = std::max(worst, runLoopFor(kRingMs));

    call.restart();
    dismissSlot(0, ringing, queue, player);
    worst = std::max(worst, double(call.nsecsElapsed()) / 1e6);
    return std::max(worst, runLoopFor(kSettleMs));
}

// The real file rings; the server is killed, stays away while the player retries, and comes back,
// and the sound with it; then the alarm is dismissed. Starting the server again is the bench's
// own doing, so that wait is not counted.
std::vector<double> returnTimes; // from the server's answer to the sound's, ms; -1: not within 5 s

double loseAndRegainServer(ThreadedSoundPlayer& player, const QString& file, PrivateSoundServer& server)
{
    player.close();
    player.setURL(file);
    double worst = runLoopFor(kRingMs);
    server.kill();
    worst = std::max(worst, runLoopFor(kSettleMs)); // a retry or two meanwhile
    if (!server.start().isEmpty())
        return -1;
    QElapsedTimer back;
    back.start();
    while (player.soundingFile() != file && back.elapsed() < 5000)
        worst = std::max(worst, runLoopFor(10));
    returnTimes.push_back(player.soundingFile() == file ? double(back.elapsed()) : -1);
    worst = std::max(worst, runLoopFor(kRingMs));
    QElapsedTimer call;
    call.start();
    player.close();
    worst = std::max(worst, double(call.nsecsElapsed()) / 1e6);
    return std::max(worst, runLoopFor(kSettleMs));
}

template <typename Round> double medianStall(const char* label, Round round)
{
    std::vector<double> stalls;
    for (int i = 0; i < kRounds; ++i)
        stalls.push_back(round());
    std::printf("%s: longest stall per round:", label);
    for (double stall : stalls)
        std::printf(" %.1f", stall);
    std::printf(" ms\n");
    return BenchReport::median(stalls);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    // The desktop's alarm sound is the real file, and the fallback for the other two.
    const QString real = PlatformSounds::fallbackAlarmSound();
    if (!QFileInfo::exists(real)) {
        std::fprintf(stderr, "bench_sound: %s is missing; run scripts/install-deps\n", qPrintable(real));
        return 1;
    }
    PrivateSoundServer server;
    const QString problem = server.start();
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "bench_sound: %s\n", qPrintable(problem));
        return 1;
    }
    qputenv("PULSE_SERVER", server.address().toUtf8());
    qputenv("PULSE_RUNTIME_PATH", server.runtimePath().toUtf8());
    ThreadedSoundPlayer player(real, AlarmDefault::Music);
    const auto ring = [&player](const QString& file) {
        return [&player, file] { return fireAndDismiss(player, file); };
    };
    const double missing = medianStall("missing file", ring(dir.filePath(QStringLiteral("missing.mp3"))));
    const QString text = dir.filePath(QStringLiteral("notes.mp3"));
    QFile notAudio(text);
    if (!notAudio.open(QIODevice::WriteOnly) || notAudio.write(QByteArray(4096, 'x')) != 4096) {
        std::fprintf(stderr, "bench_sound: cannot write %s\n", qPrintable(text));
        return 1;
    }
    notAudio.close();
    const double failing = medianStall("not audio", ring(text));
    const double present = medianStall("real file", ring(real));
    const double lost =
        medianStall("server lost and back", [&] { return loseAndRegainServer(player, real, server); });
    BenchReport::figure("event-loop stall, fire to dismiss, missing file", missing, 1, "ms", kBudgetMs);
    BenchReport::figure("event-loop stall, fire to dismiss, not audio", failing, 1, "ms", kBudgetMs);
    BenchReport::figure("event-loop stall, fire to dismiss, real file", present, 1, "ms", kBudgetMs);
    BenchReport::figure("event-loop stall, sound server lost and back", lost, 1, "ms", kBudgetMs);
    BenchReport::figure("sound heard again after the server answers", BenchReport::median(returnTimes), 0,
                        "ms", SoundWorker::RetryMs + 1000);
    return 0;
}

// How long the event loop stands still while an alarm's sound starts and is dismissed, for a file
// that does not exist, for one that is not audio (its source fails inside the media player, which
// then blocks on closing it) and for a real file. A 1 ms timer probes the loop; a stall is the
// longest gap between its ticks beyond that millisecond. The figure is the median over several
// rounds of each round's longest stall.
#include "BenchReport.h"
#include "engine/AlarmSound.h"
#include "engine/MediaSoundPlayer.h"
#include "engine/RingingState.h"
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
double fireAndDismiss(MediaSoundPlayer& player, const QString& file)
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

double medianStall(MediaSoundPlayer& player, const QString& file, const char* label)
{
    std::vector<double> stalls;
    for (int round = 0; round < kRounds; ++round)
        stalls.push_back(fireAndDismiss(player, file));
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
    MediaSoundPlayer player;
    const double missing = medianStall(player, dir.filePath(QStringLiteral("missing.mp3")), "missing file");
    const QString text = dir.filePath(QStringLiteral("notes.mp3"));
    QFile notAudio(text);
    if (!notAudio.open(QIODevice::WriteOnly) || notAudio.write(QByteArray(4096, 'x')) != 4096) {
        std::fprintf(stderr, "bench_sound: cannot write %s\n", qPrintable(text));
        return 1;
    }
    notAudio.close();
    const double failing = medianStall(player, text, "not audio");
    const double present = medianStall(player, real, "real file");
    BenchReport::figure("event-loop stall, fire to dismiss, missing file", missing, 1, "ms", kBudgetMs);
    BenchReport::figure("event-loop stall, fire to dismiss, not audio", failing, 1, "ms", kBudgetMs);
    BenchReport::figure("event-loop stall, fire to dismiss, real file", present, 1, "ms", kBudgetMs);
    return 0;
}

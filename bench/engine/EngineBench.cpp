// The alarm check at its busiest: all ten slots due in the same minute, each firing its whole
// sequence. The engine runs for real; the strip, sound and commands are silent stand-ins and no
// window listens, so the figure is the engine's own cost. Measured once over the in-memory store and once
// over the store on disk that the program uses.
#include "BenchReport.h"
#include "engine/AlarmCheck.h"
#include "engine/AlarmEngine.h"
#include "engine/Clock.h"
#include "engine/CommandRunner.h"
#include "engine/SoundPlayer.h"
#include "overlay/CaptionQueue.h"
#include "overlay/OverlayPort.h"
#include "schedule/DateCue.h"
#include "settings/MemorySettingsStore.h"
#include "settings/QSettingsStore.h"
#include "settings/SettingsValues.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kWarmUp = 50;
constexpr int kRuns = 2001;
constexpr double kBudgetMs = 1.0;
const QDateTime kDueMoment(QDate(2026, 12, 7), QTime(8, 0, 5)); // a Monday

class SilentOverlay : public OverlayPort
{
public:
    void SetCap(const QString&) override {}
    void showOverlay() override {}
    bool cycleRunning() const override { return running; }
    void startSlideIn() override { running = true; }
    void PosTop() override {}
    bool running = false;
};

class SilentPlayer : public SoundPlayer
{
public:
    QString URL() const override { return m_url; }
    void setURL(const QString& fileName) override { m_url = fileName; }
    void close() override { m_url.clear(); }

private:
    QString m_url;
};

class SilentRunner : public CommandRunner
{
public:
    bool startDetached(const QString&) override { return true; }
};

// Every field stored explicitly, so each slot reads its whole date and all weekday flags.
// Actions go round the list, leaving out the one that ends the program.
void storeDueSlots(SettingsStore& store)
{
    const QStringList actions = actionLabels();
    int action = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const QString key = SlotKey(slot);
        auto save = [&](const QString& section, const QString& value) {
            store.SaveSetting(kAppName, section, key, value);
        };
        save(AlarmSection::Time, QStringLiteral("08:00"));
        save(AlarmSection::Year, DateCue::todayText(DateCue::Field::Year, kDueMoment.date()));
        save(AlarmSection::Month, DateCue::todayText(DateCue::Field::Month, kDueMoment.date()));
        save(AlarmSection::Day, DateCue::todayText(DateCue::Field::Day, kDueMoment.date()));
        for (int day = 0; day < kWeekdayCount; ++day)
            save(AlarmSection::weekday(day), QStringLiteral("1"));
        save(AlarmSection::Slogan, QStringLiteral("第%1个提醒：起来活动一下，喝杯水").arg(slot));
        save(AlarmSection::Music, QStringLiteral("/usr/share/sounds/alarm%1.wav").arg(slot % 3));
        if (actionFromLabel(actions[action]) == AlarmAction::ExitProgram)
            action = (action + 1) % actions.size();
        save(AlarmSection::Action, actions[action]);
        action = (action + 1) % actions.size();
        save(AlarmSection::Elect, QStringLiteral("1"));
    }
}

// Milliseconds for one check that fires all ten slots, from a freshly started program's state.
double timeOneCheck(SettingsStore& store, int* fired)
{
    ManualClock clock(kDueMoment);
    CaptionQueue capList;
    SilentOverlay overlay;
    SilentPlayer player;
    SilentRunner runner;
    AlarmEngine engine(store, clock, runner, player, overlay, capList);
    engine.loadSlots();
    *fired = 0;
    QObject::connect(&engine, &AlarmEngine::slotFired, [fired] { ++*fired; });

    QElapsedTimer timer;
    timer.start();
    engine.Timer1_Timer();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Median of many checks; -1 when a check did not fire all ten slots.
double medianCheckMs(SettingsStore& store, MemorySettingsStore* readLog)
{
    std::vector<double> times;
    times.reserve(kRuns);
    for (int run = 0; run < kWarmUp + kRuns; ++run) {
        if (readLog)
            readLog->reads.clear(); // the test store logs every read; keep the log from growing
        int fired = 0;
        const double ms = timeOneCheck(store, &fired);
        if (fired != kSlotCount)
            return -1;
        if (run >= kWarmUp)
            times.push_back(ms);
    }
    return BenchReport::median(times);
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QCoreApplication app(argc, argv);

    MemorySettingsStore memory;
    storeDueSlots(memory);
    const double inMemory = medianCheckMs(memory, &memory);

    QSettingsStore onDisk;
    storeDueSlots(onDisk);
    const double fromDisk = medianCheckMs(onDisk, nullptr);

    if (inMemory < 0 || fromDisk < 0) {
        std::fprintf(stderr, "bench_engine: a check did not fire all ten slots\n");
        return 1;
    }
    BenchReport::figure("alarm check, ten due slots", inMemory, 3, "ms", kBudgetMs);
    BenchReport::figure("alarm check, ten due slots, settings on disk", fromDisk, 3, "ms", kBudgetMs);
    return 0;
}

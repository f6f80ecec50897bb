#include "engine/AlarmEngine.h"

#include "engine/AlarmActions.h"
#include "engine/AlarmSound.h"
#include "engine/CommandRunner.h"
#include "engine/NamedTimer.h"
#include "engine/SoundPlayer.h"
#include "overlay/CaptionQueue.h"
#include "overlay/OverlayPort.h"
#include "platform/PlatformCommands.h"

AlarmEngine::AlarmEngine(const SettingsStore& store, const Clock& clock, CommandRunner& runner,
                         SoundPlayer& sound, OverlayPort& overlay, CaptionQueue& capList, QObject* parent)
    : QObject(parent), m_store(store), m_runner(runner), m_sound(sound), m_overlay(overlay),
      m_capList(capList), m_check(m_slots, clock)
{
    connect(&m_sound, &SoundPlayer::playbackProblem, this, &AlarmEngine::failureReported);
    Timer1 = namedTimer(this, QStringLiteral("Timer1"), 20000);
    Tclo = namedTimer(this, QStringLiteral("Tclo"), 1000);
    connect(Timer1, &QTimer::timeout, this, &AlarmEngine::Timer1_Timer);
    connect(Tclo, &QTimer::timeout, this, &AlarmEngine::Tclo_Timer);
}

void AlarmEngine::start()
{
    Timer1_Timer();
    Timer1->start();
}

void AlarmEngine::loadSlots()
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        m_slots.entries[slot] = AlarmEntry::read(m_store, slot);
        m_slots.alarmArmed[slot] = true;
    }
}

void AlarmEngine::entrySaved(int slot, const AlarmEntry& entry)
{
    if (slot < 0 || slot >= kSlotCount)
        return;
    m_slots.entries[slot] = entry;
    if (entry.on) {
        m_slots.alarmArmed[slot] = true;
        m_slots.firedOn[slot] = QDate();
    }
}

void AlarmEngine::Timer1_Timer()
{
    m_check.run([this](int slot) {
        if (fire(slot))
            return true;
        emit exitRequested();
        return false;
    });
}

bool AlarmEngine::fire(int slot)
{
    // A copy: what the action's signals set off must not change the record under the firing.
    const AlarmEntry entry = m_slots.entries[slot];
    // A text already queued is neither queued nor rendered twice; the slot is queued all the same,
    // so the text stays while any slot that fired with it still rings.
    if (m_capList.append(slot, entry.slogan))
        m_overlay.SetCap(entry.slogan);

    StartAlarmSound(m_sound, entry.music);

    m_overlay.showOverlay();
    // A strip in the middle of its cycle picks the new text up when its cycle comes round.
    if (!m_overlay.cycleRunning())
        m_overlay.startSlideIn();

    m_ringing.mark(slot);
    emit ringingStarted(slot, entry.listLine());

    if (!PerformAlarmAction(entry.action))
        return false;

    m_overlay.PosTop();
    emit slotFired(slot);
    return true;
}

bool AlarmEngine::PerformAlarmAction(const QString& label)
{
    using Kind = AlarmActionPlan::Kind;
    const AlarmActionPlan plan = planAlarmAction(label);
    switch (plan.kind) {
    case Kind::Nothing:
        break;
    case Kind::ExitProgram:
        return false;
    case Kind::RaiseAndCountdown:
        emit raiseRequested(false);
        m_countdown.start(plan.countdownWord);
        countdownUpdated();
        break;
    case Kind::ShutDownNow:
        startCommand(PlatformCommands::shutDownNow());
        break;
    case Kind::RestartNow:
        startCommand(PlatformCommands::restartNow());
        break;
    case Kind::RaiseAndFocus:
        emit raiseRequested(true);
        break;
    case Kind::RunCommand:
        startCommand(plan.commandLine);
        break;
    }
    return true;
}

void AlarmEngine::Ptt_Click(int slot)
{
    const bool anyRinging = dismissSlot(slot, m_ringing, m_capList, m_sound);
    emit ringingStopped(slot, anyRinging);
}

void AlarmEngine::Tclo_Timer()
{
    const Countdown::Command command = m_countdown.tick();
    // The buttons are brought up to date first, so a failure message never sits beside a stale caption.
    countdownUpdated();
    startCountdownCommand(command);
}

void AlarmEngine::Command7_Click()
{
    const Countdown::Command command = m_countdown.runNow();
    countdownUpdated();
    startCountdownCommand(command);
}

void AlarmEngine::Command8_Click()
{
    m_countdown.cancel();
    countdownUpdated();
}

void AlarmEngine::countdownUpdated()
{
    // Started again at every change, as a countdown that starts afresh counts from a full second.
    if (m_countdown.running())
        Tclo->start();
    else
        Tclo->stop();
    emit countdownChanged();
}

void AlarmEngine::startCommand(const QString& commandLine)
{
    if (!commandLine.trimmed().isEmpty() && m_runner.startDetached(commandLine))
        return;
    emit failureReported(commandFailureMessage(commandLine));
}

void AlarmEngine::startCountdownCommand(Countdown::Command command)
{
    if (command == Countdown::Command::ShutDown)
        startCommand(PlatformCommands::shutDownNow());
    else if (command == Countdown::Command::Restart)
        startCommand(PlatformCommands::restartNow());
}

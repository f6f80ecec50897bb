#include "engine/AlarmEngine.h"

#include "engine/AlarmActions.h"
#include "engine/AlarmSound.h"
#include "engine/CommandRunner.h"
#include "engine/SoundPlayer.h"
#include "overlay/CaptionQueue.h"
#include "overlay/OverlayPort.h"
#include "platform/PlatformCommands.h"
#include "settings/SettingsValues.h"

using SettingsValues::readText;

AlarmEngine::AlarmEngine(SettingsStore& store, const Clock& clock, CommandRunner& runner, SoundPlayer& sound,
                         OverlayPort& overlay, CaptionQueue& capList, QObject* parent)
    : QObject(parent), m_store(store), m_runner(runner), m_sound(sound), m_overlay(overlay),
      m_capList(capList), m_check(m_slots, store, clock)
{
    connect(&m_sound, &SoundPlayer::playbackProblem, this, &AlarmEngine::failureReported);
}

void AlarmEngine::loadSlots()
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const QString key = SlotKey(slot);
        m_slots.alarmArmed[slot] = true;
        m_slots.alarmOn[slot] = electIsOn(readText(m_store, AlarmSection::Elect, key, QStringLiteral("0")));
        m_slots.alarmTime[slot] = readText(m_store, AlarmSection::Time, key, AlarmDefault::Time);
    }
}

QString AlarmEngine::listLine(int slot) const
{
    const QString slogan = readText(m_store, AlarmSection::Slogan, SlotKey(slot), AlarmDefault::Slogan);
    return BuildListLine(m_slots.alarmOn[slot], m_slots.alarmTime[slot], slogan);
}

void AlarmEngine::entrySaved(int slot, bool on, const QString& time)
{
    if (slot < 0 || slot >= kSlotCount)
        return;
    m_slots.alarmOn[slot] = on;
    m_slots.alarmTime[slot] = time;
    if (on) {
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
    const QString key = SlotKey(slot);
    const QString text = readText(m_store, AlarmSection::Slogan, key, AlarmDefault::Slogan);
    // A text already queued is neither queued nor rendered twice.
    if (m_capList.append(text))
        m_overlay.SetCap(text);

    StartAlarmSound(m_sound, readText(m_store, AlarmSection::Music, key, AlarmDefault::Music));

    m_overlay.showOverlay();
    // A strip in the middle of its cycle picks the new text up when its cycle comes round.
    if (!m_overlay.cycleRunning())
        m_overlay.startSlideIn();

    m_ringing.mark(slot);
    emit ringingStarted(slot, BuildListLine(m_slots.alarmOn[slot], m_slots.alarmTime[slot], text));

    if (!PerformAlarmAction(readText(m_store, AlarmSection::Action, key, AlarmDefault::Action)))
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
        emit countdownChanged();
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
    const bool anyRinging = dismissSlot(slot, m_store, m_ringing, m_capList, m_sound);
    emit ringingStopped(slot, anyRinging);
}

void AlarmEngine::Tclo_Timer()
{
    const Countdown::Command command = m_countdown.tick();
    // The buttons are brought up to date first, so a failure message never sits beside a stale caption.
    emit countdownChanged();
    startCountdownCommand(command);
}

void AlarmEngine::Command7_Click()
{
    const Countdown::Command command = m_countdown.runNow();
    emit countdownChanged();
    startCountdownCommand(command);
}

void AlarmEngine::Command8_Click()
{
    m_countdown.cancel();
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

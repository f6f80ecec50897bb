#include "engine/Countdown.h"

const QString Countdown::ShutDownWord = QStringLiteral("关机");
const QString Countdown::RestartWord = QStringLiteral("重启");

namespace {
QString secondsCaption(quint8 seconds, const QString& word)
{
    return QString::number(seconds) + QStringLiteral(" 秒后") + word;
}
} // namespace

void Countdown::start(const QString& word)
{
    m_word = word;
    m_running = true;
    m_command7.caption = secondsCaption(StartSeconds, word);
    m_command8.caption = QStringLiteral("取消") + word;
    m_seconds = StartSeconds;
    m_command7.visible = true;
    m_command8.visible = true;
}

Countdown::Command Countdown::tick()
{
    if (m_seconds != 0) {
        --m_seconds;
        m_command7.caption = secondsCaption(m_seconds, m_word);
        return Command::None;
    }
    m_running = false;
    return m_word == ShutDownWord ? Command::ShutDown : Command::Restart;
}

Countdown::Command Countdown::runNow()
{
    m_command7.visible = false;
    m_seconds = 0;
    const Command command = tick();
    // Only a new run of the program enables them again.
    m_command7.enabled = false;
    m_command8.enabled = false;
    return command;
}

void Countdown::cancel()
{
    m_running = false;
    m_command7.visible = false;
    m_command8.visible = false;
}

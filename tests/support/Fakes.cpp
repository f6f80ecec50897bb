#include "support/Fakes.h"

bool FakeCommandRunner::startDetached(const QString& commandLine)
{
    if (failing.contains(commandLine) || commandLine.trimmed().isEmpty())
        return false;
    started.append(commandLine);
    return true;
}

void FakeSoundPlayer::setURL(const QString& fileName)
{
    calls.append(QStringLiteral("setURL:") + fileName);
    m_url = fileName;
}

void FakeSoundPlayer::close()
{
    calls.append(QStringLiteral("close"));
    m_url.clear();
}

void FakeOverlay::SetCap(const QString& text)
{
    calls.append(QStringLiteral("SetCap:") + text);
    if (!text.isEmpty())
        caption = text;
}

void FakeOverlay::showOverlay()
{
    calls.append(QStringLiteral("show"));
    visible = true;
}

void FakeOverlay::startSlideIn()
{
    calls.append(QStringLiteral("slideIn"));
    running = true;
}

void FakeOverlay::PosTop()
{
    calls.append(QStringLiteral("PosTop"));
}

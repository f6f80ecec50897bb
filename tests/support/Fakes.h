#pragma once

#include "engine/CommandRunner.h"
#include "engine/SoundPlayer.h"
#include "overlay/OverlayPort.h"

#include <QStringList>

// Records command lines instead of starting them; refuses those listed in `failing`.
class FakeCommandRunner : public CommandRunner
{
public:
    bool startDetached(const QString& commandLine) override;
    QStringList started;
    QStringList failing;
};

class FakeSoundPlayer : public SoundPlayer
{
public:
    QString URL() const override { return m_url; }
    void setURL(const QString& fileName) override;
    void close() override;
    QStringList calls; // "setURL:<file>" and "close", in order

private:
    QString m_url;
};

// Records what the main window asks of the strip.
class FakeOverlay : public OverlayPort
{
public:
    void SetCap(const QString& text) override;
    void showOverlay() override;
    bool cycleRunning() const override { return running; }
    void startSlideIn() override;
    void PosTop() override;

    bool running = false;
    bool visible = false;
    QString caption;
    QStringList calls; // "SetCap:<text>", "show", "slideIn", "PosTop"
};

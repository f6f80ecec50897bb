#pragma once

#include "appearance/Appearance.h"
#include "engine/CaptionQueue.h"
#include "engine/MediaSoundPlayer.h"
#include "engine/ProcessCommandRunner.h"
#include "engine/SystemClock.h"
#include "settings/QSettingsStore.h"

#include <QObject>
#include <memory>

class Form1;
class Form2;

// The stored appearance, kept for the strip until the appearance dialog takes it over.
class StoredAppearance : public AppearanceSource
{
public:
    Appearance appearance() const override { return m_appearance; }
    void set(const Appearance& appearance) { m_appearance = appearance; }

private:
    Appearance m_appearance;
};

// Builds the real program: the store on disk, the system clock, real processes and sound,
// and the three windows wired together.
class QuorvelApp : public QObject
{
    Q_OBJECT
public:
    QuorvelApp();
    ~QuorvelApp() override;

    void start();
    void raiseMainWindow();
    Form1& mainWindow() { return *m_form1; }

private:
    static void exitProgram();

    QSettingsStore m_store;
    SystemClock m_clock;
    ProcessCommandRunner m_runner;
    MediaSoundPlayer m_sound;
    CaptionQueue m_capList;
    StoredAppearance m_appearance;
    std::unique_ptr<Form2> m_overlay;
    std::unique_ptr<Form1> m_form1;
};

#pragma once

#include "appearance/AppearanceModel.h"
#include "engine/ProcessCommandRunner.h"
#include "engine/SystemClock.h"
#include "engine/ThreadedSoundPlayer.h"
#include "overlay/CaptionQueue.h"
#include "settings/QSettingsStore.h"

#include <QObject>
#include <QTimer>
#include <QTranslator>
#include <memory>

class AlarmEngine;
class Form1;
class Form2;
class Form3;

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

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void exitProgram();
    // The appearance dialog, made when it is first wanted.
    Form3& appearanceDialog();
    void installQtTranslations();

    // Qt's own texts (file and colour choosers, standard buttons) in the interface's language.
    QTranslator m_qtTranslations;
    QSettingsStore m_store;
    SystemClock m_clock;
    ProcessCommandRunner m_runner;
    ThreadedSoundPlayer m_sound;
    CaptionQueue m_capList;
    AppearanceModel m_appearance;
    // From the main window's hiding to the release of the memory it needed. Declared before the
    // windows, so it outlives the hiding of a window that is destroyed while shown.
    static constexpr int kSettleMs = 1000;
    QTimer m_restingTimer;
    std::unique_ptr<Form3> m_form3;
    std::unique_ptr<Form2> m_overlay;
    std::unique_ptr<AlarmEngine> m_engine;
    std::unique_ptr<Form1> m_form1;
};

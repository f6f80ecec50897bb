#pragma once

#include "app/AlarmListView.h"
#include "app/Form1.h"
#include "engine/AlarmEngine.h"
#include "engine/Clock.h"
#include "overlay/CaptionQueue.h"
#include "schedule/EditorController.h"
#include "settings/MemorySettingsStore.h"
#include "support/Fakes.h"

#include <QList>
#include <memory>

// The main window as start-up leaves it, over fakes. Header only: it needs quorvel_ui, which the
// support library does not link.
struct Harness
{
    MemorySettingsStore store;
    ManualClock clock;
    FakeCommandRunner runner;
    FakeSoundPlayer sound;
    FakeOverlay overlay;
    CaptionQueue capList;
    AlarmEngine engine{store, clock, runner, sound, overlay, capList};
    int appearanceLoads = 0;
    int exits = 0;
    QList<bool> autostartCalls;
    bool autostartWorks = true;
    std::unique_ptr<Form1> form;

    Form1& load()
    {
        Form1Services services{store,
                               clock,
                               engine,
                               overlay,
                               [this] { ++appearanceLoads; },
                               [this] { ++exits; },
                               [this](bool on) {
                                   autostartCalls.append(on);
                                   return autostartWorks;
                               }};
        form = std::make_unique<Form1>(services);
        form->Form_Load();
        return *form;
    }
    void seed(const QString& section, int slot, const QString& value)
    {
        store.SaveSetting(QStringLiteral("Horalis"), section, QString::number(slot), value);
    }
    // A switched-on alarm at `time` with its text, sound and action; every other field is absent.
    void seedAlarm(int slot, const QString& time, const QString& slogan, const QString& music = QString(),
                   const QString& action = QString())
    {
        seed(QStringLiteral("elect"), slot, QStringLiteral("1"));
        seed(QStringLiteral("time"), slot, time);
        seed(QStringLiteral("slogan"), slot, slogan);
        if (!music.isNull())
            seed(QStringLiteral("music"), slot, music);
        if (!action.isNull())
            seed(QStringLiteral("ml"), slot, action);
    }
    QString stored(const QString& section, int slot) const
    {
        return store.value(section, QString::number(slot));
    }
};

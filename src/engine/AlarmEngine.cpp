#include "engine/AlarmEngine.h"

#include "engine/RowBar.h"

#include <QListWidget>
#include <QPushButton>
#include <QTimer>

AlarmEngine::AlarmEngine(AlarmSlots& alarmSlots, SettingsStore& store, const Clock& clock,
                         CommandRunner& runner, SoundPlayer& sound, OverlayPort& overlay,
                         CaptionQueue& capList, const AlarmEngineWidgets& widgets,
                         const AlarmEngineWindow& window, QObject* parent)
    : QObject(parent), m_store(store), m_sound(sound), m_capList(capList), m_widgets(widgets),
      m_window(window), m_actions(runner, m_countdown, *this),
      m_firing(store, capList, overlay, sound, m_ringing, m_actions, *this), m_check(alarmSlots, store, clock)
{
    connect(m_widgets.Timer2, &QTimer::timeout, this, &AlarmEngine::Timer2_Timer);
    connect(m_widgets.Tclo, &QTimer::timeout, this, &AlarmEngine::Tclo_Timer);
    connect(m_widgets.Command7, &QPushButton::clicked, this, &AlarmEngine::Command7_Click);
    connect(m_widgets.Command8, &QPushButton::clicked, this, &AlarmEngine::Command8_Click);
    for (int slot = 0; slot < kSlotCount; ++slot)
        connect(m_widgets.Ptt[slot], &RowBar::clicked, this, [this, slot] { Ptt_Click(slot); });
}

void AlarmEngine::Timer1_Timer()
{
    m_check.run([this](int slot) {
        if (m_firing.fire(slot))
            return true;
        m_window.exitProgram();
        return false;
    });
}

void AlarmEngine::Timer2_Timer()
{
    for (int slot = 0; slot < kSlotCount; ++slot) {
        if (m_ringing.isRinging(slot))
            m_widgets.Ptt[slot]->setVisible(!m_widgets.Ptt[slot]->isVisible());
    }
}

void AlarmEngine::Ptt_Click(int slot)
{
    m_widgets.Ptt[slot]->hide();
    if (!dismissSlot(slot, m_store, m_ringing, m_capList, m_sound))
        m_widgets.Timer2->stop();
}

void AlarmEngine::countdownChanged()
{
    if (m_countdown.running())
        m_widgets.Tclo->start();
    else
        m_widgets.Tclo->stop();
    const auto apply = [](QPushButton* button, const CountdownButton& state) {
        button->setText(state.caption);
        button->setVisible(state.visible);
        button->setEnabled(state.enabled);
    };
    apply(m_widgets.Command7, m_countdown.Command7());
    apply(m_widgets.Command8, m_countdown.Command8());
}

void AlarmEngine::startBlinking()
{
    m_widgets.Timer2->start();
}

void AlarmEngine::paintRingingBar(int slot)
{
    m_widgets.Ptt[slot]->setLine(m_widgets.List1->item(slot)->text());
}

void AlarmEngine::slotFired(int slot)
{
    if (m_widgets.List1->item(slot)->isSelected())
        m_widgets.Command1->setEnabled(false);
}

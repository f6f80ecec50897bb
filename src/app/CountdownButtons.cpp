#include "app/CountdownButtons.h"

#include "engine/AlarmEngine.h"

#include <QPushButton>

CountdownButtons::CountdownButtons(AlarmEngine& engine, QPushButton* actNow, QPushButton* cancel)
    : QObject(actNow->parent()), m_engine(engine), Command7(actNow), Command8(cancel)
{
    Command7->hide();
    Command8->hide();
    connect(Command7, &QPushButton::clicked, &engine, &AlarmEngine::Command7_Click);
    connect(Command8, &QPushButton::clicked, &engine, &AlarmEngine::Command8_Click);
    connect(&engine, &AlarmEngine::countdownChanged, this, &CountdownButtons::applyCountdown);
}

void CountdownButtons::applyCountdown()
{
    const Countdown& countdown = m_engine.countdown();
    const auto apply = [](QPushButton* button, const CountdownButton& state) {
        button->setText(state.caption);
        button->setVisible(state.visible);
        button->setEnabled(state.enabled);
    };
    apply(Command7, countdown.Command7());
    apply(Command8, countdown.Command8());
}

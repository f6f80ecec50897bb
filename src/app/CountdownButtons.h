#pragma once

#include <QObject>

class AlarmEngine;
class QPushButton;

// The countdown's two buttons on the main window, Command7 (act now, showing the seconds left)
// and Command8 (cancel): they show what the engine's countdown holds and pass their clicks back.
class CountdownButtons : public QObject
{
    Q_OBJECT
public:
    // The window makes the buttons, so that they keep their place in its row of buttons.
    CountdownButtons(AlarmEngine& engine, QPushButton* actNow, QPushButton* cancel);

private:
    void applyCountdown();

    AlarmEngine& m_engine;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
};

#pragma once

#include <QString>

class SoundPlayer;

// Plays the file unless the player already holds exactly that text: a sound that plays goes on,
// and one whose plays are used up is not started again.
void StartAlarmSound(SoundPlayer& player, const QString& fileName);

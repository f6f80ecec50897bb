#include "engine/AlarmSound.h"

#include "engine/SoundPlayer.h"

void StartAlarmSound(SoundPlayer& player, const QString& fileName)
{
    if (fileName == player.URL())
        return;
    player.close();
    player.setURL(fileName);
}

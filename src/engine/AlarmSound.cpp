#include "engine/AlarmSound.h"

#include "engine/SoundPlayer.h"
#include "overlay/CaptionQueue.h"

void StartAlarmSound(SoundPlayer& player, const QString& fileName)
{
    if (fileName == player.URL())
        return;
    player.close();
    player.setURL(fileName);
}

void DismissCaption(const QString& text, const QString& music, CaptionQueue& queue, SoundPlayer& player)
{
    queue.remove(text);
    if (music == player.URL() && queue.isEmpty())
        player.close();
}

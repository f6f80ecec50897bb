#pragma once

#include <QString>

class CaptionQueue;
class SoundPlayer;

// Plays the file unless the player already holds exactly that text: a sound that plays goes on,
// and one whose plays are used up is not started again.
void StartAlarmSound(SoundPlayer& player, const QString& fileName);

// Takes a dismissed alarm's text out of the queue, then stops the sound when nothing is queued
// any more and the player holds this alarm's file.
void DismissCaption(const QString& text, const QString& music, CaptionQueue& queue, SoundPlayer& player);

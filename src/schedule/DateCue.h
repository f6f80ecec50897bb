#pragma once

#include "schedule/CueColour.h"

#include <QDate>
#include <QString>
#include <QStringList>

// The texts of the year, month and day fields, wherever they are shown or compared: the lists'
// items, today's value and the blue cue for it. "——" (any) is kAnyDate of the settings layout.
namespace DateCue {

enum class Field
{
    Year,
    Month,
    Day
};

// Today's value as the list writes it: "2026年", "6月", "7日" (no leading zeros).
QString todayText(Field field, const QDate& today);

// Blue when the list's text is today's value, black otherwise, so "——" is always black.
CueColour cue(Field field, const QString& listText, const QDate& today);

// "——" followed by 2001年 to 2200年, 1月 to 12月 or 1日 to 31日.
QStringList items(Field field);

} // namespace DateCue

#include "settings/SettingsLayout.h"

QString AlarmSection::weekday(int day)
{
    return QStringLiteral("WeekDay") + QString::number(day);
}

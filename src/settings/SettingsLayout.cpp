#include "settings/SettingsLayout.h"

QString AlarmSection::weekday(int day)
{
    return QStringLiteral("WeekDay") + QString::number(day);
}

namespace AppearanceKey {

QString colour(int swatch)
{
    return QStringLiteral("c") + QString::number(swatch);
}

QString noColour(int swatch)
{
    return QStringLiteral("v") + QString::number(swatch);
}

} // namespace AppearanceKey

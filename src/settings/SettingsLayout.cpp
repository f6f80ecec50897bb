#include "settings/SettingsLayout.h"

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

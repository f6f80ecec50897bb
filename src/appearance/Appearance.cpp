#include "appearance/Appearance.h"

#include "settings/SettingsValues.h"

namespace {
const QString kSet = QStringLiteral("set");
QString colourKey(int i)
{
    return QStringLiteral("c") + QString::number(i);
}
QString noColourKey(int i)
{
    return QStringLiteral("v") + QString::number(i);
}
} // namespace

Appearance Appearance::load(const SettingsStore& store)
{
    using namespace SettingsValues;
    Appearance appearance;
    for (int i = 0; i < 4; ++i) {
        appearance.colours[i] =
            quint32(readInt(store, kSet, colourKey(i), int(appearance.colours[i]), 0, 0xFFFFFF));
        appearance.noColour[i] = readBool(store, kSet, noColourKey(i), false);
    }
    appearance.opacity = readInt(store, kSet, QStringLiteral("tr"), 255, 1, 255);
    appearance.fontName = readText(store, kSet, QStringLiteral("font"), appearance.fontName);
    appearance.shadowSize = readInt(store, kSet, QStringLiteral("sh"), 3, -1, 9);
    return appearance;
}

SaveOutcome Appearance::save(SettingsStore& store) const
{
    QList<SettingsWrite> writes;
    const auto add = [&writes](const QString& key, const QString& value) {
        writes.append({kSet, key, value});
    };
    for (int i = 0; i < 4; ++i)
        add(colourKey(i), QString::number(colours[i]));
    add(QStringLiteral("tr"), QString::number(opacity));
    for (int i = 0; i < 4; ++i)
        add(noColourKey(i), SettingsValues::boolText(noColour[i]));
    add(QStringLiteral("font"), fontName);
    add(QStringLiteral("sh"), QString::number(shadowSize));
    return SettingsValues::saveAll(store, writes);
}

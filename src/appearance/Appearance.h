#pragma once

#include "settings/SettingsLayout.h"
#include "settings/SettingsStore.h"

#include <QString>
#include <array>

// How the strip's letters look: four layer colours (0x00BBGGRR values), each of which can be
// switched off, the strip's opacity, the font family and the ring layer's radius.
struct Appearance
{
    // Swatches 0..3: ring and diagonal layer of look P1, then ring and diagonal layer of look P2.
    std::array<quint32, AppearanceKey::kSwatchCount> colours = AppearanceDefault::Colours;
    std::array<bool, AppearanceKey::kSwatchCount> noColour{
        AppearanceDefault::NoColour, AppearanceDefault::NoColour, AppearanceDefault::NoColour,
        AppearanceDefault::NoColour};
    int opacity = AppearanceDefault::Opacity; // 1..255, 255 opaque
    QString fontName = AppearanceDefault::Font;
    int shadowSize = AppearanceDefault::ShadowSize; // 0..9; -1 when nothing is selected

    // Every stored value that is missing, malformed or out of range gives its default.
    static Appearance load(const SettingsStore& store);
    // Writes every field of the table below, in its order, in one store write.
    SaveOutcome save(SettingsStore& store) const;

    bool operator==(const Appearance& other) const
    {
        return colours == other.colours && noColour == other.noColour && opacity == other.opacity &&
               fontName == other.fontName && shadowSize == other.shadowSize;
    }
    bool operator!=(const Appearance& other) const { return !(*this == other); }
};

// One stored value of the appearance: its key, how the appearance takes it from the stored text
// (a text that does not fit leaves the value as it was) and how it is written.
struct AppearanceField
{
    QString key;
    void (*read)(Appearance& appearance, const QString& text);
    QString (*write)(const Appearance& appearance);
};

inline constexpr int kAppearanceFieldCount = 2 * AppearanceKey::kSwatchCount + 3;
// Every field, in the order a save writes them: c0..c3, tr, v0..v3, font, sh. Loading and saving
// both go through this table.
const std::array<AppearanceField, kAppearanceFieldCount>& appearanceFields();

// The 0x00BBGGRR colour values the store uses, to and from red, green and blue.
inline quint32 colourValue(int red, int green, int blue)
{
    return quint32(red) | (quint32(green) << 8) | (quint32(blue) << 16);
}
inline int redOf(quint32 value)
{
    return int(value & 0xFF);
}
inline int greenOf(quint32 value)
{
    return int((value >> 8) & 0xFF);
}
inline int blueOf(quint32 value)
{
    return int((value >> 16) & 0xFF);
}

#pragma once

#include "settings/SettingsStore.h"

#include <QString>
#include <array>

// How the strip's letters look: four layer colours (0x00BBGGRR values), each of which can be
// switched off, the strip's opacity, the font family and the ring layer's radius.
struct Appearance
{
    // Swatches 0..3: ring and diagonal layer of look P1, then ring and diagonal layer of look P2.
    std::array<quint32, 4> colours{0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000};
    std::array<bool, 4> noColour{false, false, false, false};
    int opacity = 255;                                 // 1..255, 255 opaque
    QString fontName = QStringLiteral("\u5b8b\u4f53"); // 宋体
    int shadowSize = 3;                                // 0..9; -1 when nothing is selected

    // Every stored value that is missing, malformed or out of range gives its default.
    static Appearance load(const SettingsStore& store);
    // Writes c0..c3, tr, v0..v3, font, sh, in this order, in one store write.
    SaveOutcome save(SettingsStore& store) const;

    bool operator==(const Appearance& other) const
    {
        return colours == other.colours && noColour == other.noColour && opacity == other.opacity &&
               fontName == other.fontName && shadowSize == other.shadowSize;
    }
    bool operator!=(const Appearance& other) const { return !(*this == other); }
};

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

#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// Every section, key and default the program stores, spelled here and nowhere else.

// ---- appearance: how the strip's letters look ----

namespace AppearanceKey {
inline const QString Section = QStringLiteral("set");
inline constexpr int kSwatchCount = 4;
// Swatch 0..3's colour: "c0".."c3".
QString colour(int swatch);
// Whether swatch 0..3 is switched off: "v0".."v3".
QString noColour(int swatch);
inline const QString Opacity = QStringLiteral("tr");
inline const QString Font = QStringLiteral("font");
inline const QString ShadowSize = QStringLiteral("sh");
} // namespace AppearanceKey

// What a reader gets for an appearance value that is missing or malformed.
namespace AppearanceDefault {
// 0x00BBGGRR: white, black, white, black.
inline constexpr std::array<quint32, AppearanceKey::kSwatchCount> Colours{0xFFFFFF, 0x000000, 0xFFFFFF,
                                                                          0x000000};
inline constexpr bool NoColour = false;
inline constexpr int Opacity = 255;
inline const QString Font = QStringLiteral("\u5b8b\u4f53"); // 宋体
inline constexpr int ShadowSize = 3;
} // namespace AppearanceDefault

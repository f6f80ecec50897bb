#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

// Everything the program stores: one application name, its sections, keys and the values a reader
// gets when a key is missing. No other file spells a section or a key.

// The one application name under which everything is stored.
inline const QString kAppName = QStringLiteral("Horalis");

// One stored integer: where it lives, what a missing or malformed value reads as, and the range
// a stored value must lie in to count.
struct IntSetting
{
    QString section;
    QString key;
    int defaultValue;
    int minimum;
    int maximum;
};

// One stored text and what a missing one reads as.
struct TextSetting
{
    QString section;
    QString key;
    QString defaultValue;
};

namespace SettingsLayout {
// Program options; the strip's appearance lives here too.
inline const QString OptionsSection = QStringLiteral("set");
// Whether the program starts with the desktop session: "0" or "1". Written only on the way out.
inline const IntSetting StartWithSession{OptionsSection, QStringLiteral("run"), 0, 0, 1};
// The id of the main window's native window, for a later second copy.
inline const TextSetting MainWindowId{QStringLiteral("hwnd"), QStringLiteral("main"), QStringLiteral("0")};
} // namespace SettingsLayout

// "Any" in the year, month and day fields: two U+2014 characters.
inline const QString kAnyDate = QStringLiteral("\u2014\u2014");

// Sections of the alarm fields; the key inside each is the slot's number, "0" to "9".
namespace AlarmSection {
inline const QString Time = QStringLiteral("time");
inline const QString Year = QStringLiteral("yy");
inline const QString Month = QStringLiteral("mm");
inline const QString Day = QStringLiteral("dd");
inline const QString Slogan = QStringLiteral("slogan");
inline const QString Music = QStringLiteral("music");
inline const QString Action = QStringLiteral("ml");
inline const QString Elect = QStringLiteral("elect");
// WeekDay0 (Sunday) to WeekDay6 (Saturday).
QString weekday(int day);
} // namespace AlarmSection

// What every reader gets for an alarm field that was never stored. The date fields read as
// kAnyDate; "elect" reads as off and a weekday flag as set.
namespace AlarmDefault {
inline const QString Time = QStringLiteral("12:00");
inline const QString Slogan = QStringLiteral("Harry Up!");
inline const QString Music = QStringLiteral("D:\\\u63d0\u793a\u97f3\u4e50.mp3");
inline const QString Action = QStringLiteral("[\u65e0]");
inline const QString Elect = QStringLiteral("0");
inline const QString Weekday = QStringLiteral("1");
} // namespace AlarmDefault

// ---- appearance: how the strip's letters look ----

namespace AppearanceKey {
inline const QString& Section = SettingsLayout::OptionsSection;
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

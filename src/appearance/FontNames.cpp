#include "appearance/FontNames.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <array>

namespace {

struct Kind
{
    QString name;
    QStringList faces; // most preferred first
};

// Song (Ming), Hei and Kai faces commonly found on Linux desktops.
std::array<Kind, 3> kinds()
{
    return {{
        {QStringLiteral("宋体"),
         {QStringLiteral("AR PL UMing CN"), QStringLiteral("Noto Serif CJK SC"),
          QStringLiteral("Source Han Serif SC"), QStringLiteral("Source Han Serif CN"),
          QStringLiteral("AR PL SungtiL GB"), QStringLiteral("AR PL UMing TW")}},
        {QStringLiteral("黑体"),
         {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
          QStringLiteral("Source Han Sans SC"), QStringLiteral("Source Han Sans CN"),
          QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Droid Sans Fallback")}},
        {QStringLiteral("楷体"),
         {QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL KaitiM GB"),
          QStringLiteral("AR PL UKai TW")}},
    }};
}

void appendInstalled(QStringList& into, const QStringList& faces)
{
    for (const QString& face : faces) {
        if (!into.contains(face) && QFontDatabase::hasFamily(face))
            into.append(face);
    }
}

} // namespace

void FontNames::installSubstitutes()
{
    const std::array<Kind, 3> all = kinds();
    // Any face that writes Simplified Chinese is better than none; Hei and Song faces of the
    // other kinds come before the rest, which Qt lists in alphabetical order.
    QStringList anyChinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    anyChinese.removeIf([](const QString& family) { return QFontDatabase::isPrivateFamily(family); });
    for (const Kind& kind : all) {
        if (QFontDatabase::hasFamily(kind.name))
            continue;
        QStringList faces;
        appendInstalled(faces, kind.faces);
        for (const Kind& other : all)
            appendInstalled(faces, other.faces);
        appendInstalled(faces, anyChinese);
        faces.removeAll(kind.name);
        if (!faces.isEmpty())
            QFont::insertSubstitutions(kind.name, faces);
    }
}

bool FontNames::resolves(const QString& family)
{
    if (QFontDatabase::hasFamily(family))
        return true;
    const QStringList substitutes = QFont::substitutes(family);
    return std::any_of(substitutes.begin(), substitutes.end(),
                       [](const QString& face) { return QFontDatabase::hasFamily(face); });
}

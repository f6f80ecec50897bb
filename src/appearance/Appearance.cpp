#include "appearance/Appearance.h"

#include "settings/SettingsValues.h"

#include <utility>

namespace {
using namespace SettingsValues;

template <int Appearance::*member, int minimum, int maximum> AppearanceField numberField(const QString& key)
{
    return {key,
            [](Appearance& appearance, const QString& text) {
                parseInt(text, minimum, maximum, &(appearance.*member));
            },
            [](const Appearance& appearance) { return QString::number(appearance.*member); }};
}

template <int swatch> AppearanceField colourField()
{
    return {AppearanceKey::colour(swatch),
            [](Appearance& appearance, const QString& text) {
                int value = 0;
                if (parseInt(text, 0, 0xFFFFFF, &value))
                    appearance.colours[swatch] = quint32(value);
            },
            [](const Appearance& appearance) { return QString::number(appearance.colours[swatch]); }};
}

template <int swatch> AppearanceField noColourField()
{
    return {
        AppearanceKey::noColour(swatch),
        [](Appearance& appearance, const QString& text) { parseBool(text, &appearance.noColour[swatch]); },
        [](const Appearance& appearance) { return boolText(appearance.noColour[swatch]); }};
}

template <int... swatches>
std::array<AppearanceField, kAppearanceFieldCount> makeFields(std::integer_sequence<int, swatches...>)
{
    return {
        colourField<swatches>()...,
        numberField<&Appearance::opacity, 1, 255>(AppearanceKey::Opacity),
        noColourField<swatches>()...,
        AppearanceField{AppearanceKey::Font,
                        [](Appearance& appearance, const QString& text) { appearance.fontName = text; },
                        [](const Appearance& appearance) { return appearance.fontName; }},
        numberField<&Appearance::shadowSize, -1, 9>(AppearanceKey::ShadowSize),
    };
}
} // namespace

const std::array<AppearanceField, kAppearanceFieldCount>& appearanceFields()
{
    static const auto fields = makeFields(std::make_integer_sequence<int, AppearanceKey::kSwatchCount>());
    return fields;
}

Appearance Appearance::load(const SettingsStore& store)
{
    Appearance appearance;
    const Appearance defaults;
    for (const AppearanceField& field : appearanceFields())
        field.read(appearance, readText(store, AppearanceKey::Section, field.key, field.write(defaults)));
    return appearance;
}

SaveOutcome Appearance::save(SettingsStore& store) const
{
    QList<SettingsWrite> writes;
    for (const AppearanceField& field : appearanceFields())
        writes.append({AppearanceKey::Section, field.key, field.write(*this)});
    return saveAll(store, writes);
}

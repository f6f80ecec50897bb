#pragma once

#include "appearance/AppearanceModel.h"

// The strip's appearance model, preset with the tests' values.
class FixedAppearance : public AppearanceModel
{
public:
    FixedAppearance() { set(preset()); }

    static Appearance preset()
    {
        Appearance value;
        value.fontName = QStringLiteral("WenQuanYi Micro Hei");
        // Distinct from each other and from both gradients (which have no blue).
        value.colours = {colourValue(0, 0, 255), colourValue(0, 255, 255), colourValue(255, 255, 255),
                         colourValue(10, 20, 30)};
        value.shadowSize = 3;
        return value;
    }
    // Changes the value as the function does, in one step.
    template <typename Edit> void edit(Edit change)
    {
        Appearance value = this->value();
        change(value);
        set(value);
    }
};

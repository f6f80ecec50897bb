#pragma once

#include "appearance/Appearance.h"

// The strip's appearance as a test sets it; read afresh at every rendering.
class FixedAppearance : public AppearanceSource
{
public:
    FixedAppearance()
    {
        value.fontName = QStringLiteral("WenQuanYi Micro Hei");
        // Distinct from each other and from both gradients (which have no blue).
        value.colours = {colourValue(0, 0, 255), colourValue(0, 255, 255), colourValue(255, 255, 255),
                         colourValue(10, 20, 30)};
        value.shadowSize = 3;
    }
    Appearance appearance() const override { return value; }

    Appearance value;
};

#pragma once

// The vertical colour ramps that fill the letters of the two looks: red to yellow to red for P1,
// black to green to black for P2. Every column of a look's image is the same.
namespace GradientTable {

constexpr int kRows = 80;
// Width of a look's bare image; wider captions get an image as wide as they are.
constexpr int kImageWidth = 1024;

struct RowColour
{
    int red;
    int green;
    int blue;
};

// The weight 0..255 of row 0..79 (0 outside the ramp and outside the image).
int weight(int row);
// Look 0 (P1): RGB(255, w, 0). Look 1 (P2): RGB(60·w/255 rounded, w, 0).
RowColour rowColour(int look, int row);

} // namespace GradientTable

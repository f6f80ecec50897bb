#include "overlay/GradientTable.h"

#include <QtGlobal>
#include <array>

namespace GradientTable {

namespace {
constexpr int kRampTop = 8;
// Rows 8..72: rising to 255 at row 40, then falling back to 0.
constexpr std::array<int, 65> kRamp{
    0,   4,   10,  16,  23,  30,  40,  49,  58,  67,  78,  88,  100, 110, 121, 132, 143,
    154, 165, 175, 185, 196, 204, 213, 221, 228, 235, 241, 246, 250, 252, 254, 255, // row 40
    254, 252, 249, 245, 239, 233, 225, 217, 208, 198, 189, 178, 167, 156, 144, 134, 123,
    113, 102, 92,  82,  72,  63,  54,  44,  37,  29,  21,  15,  9,   4,   0};
} // namespace

int weight(int row)
{
    const int index = row - kRampTop;
    if (index < 0 || index >= int(kRamp.size()))
        return 0;
    return kRamp[std::size_t(index)];
}

RowColour rowColour(int look, int row)
{
    const int w = weight(row);
    if (look == 0)
        return {255, w, 0};
    return {qRound(60.0 * w / 255.0), w, 0};
}

} // namespace GradientTable

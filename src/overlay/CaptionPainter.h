#pragma once

#include "appearance/Appearance.h"

#include <QFont>
#include <QImage>
#include <QRegion>
#include <QString>

class TextStamp;

// Draws a caption into the strip's two looks: a ring of copies and a short diagonal step of
// copies in the look's two layer colours, and the main letters filled with the look's gradient.
// Text is drawn without smoothing so the key colours stay exact.
namespace CaptionPainter {

// The strip's see-through colour, and the colour the main letters are printed in on the canvas.
constexpr QRgb kKeyColour = 0xFF800080;
constexpr QRgb kTextKey = 0xFFFE0000;
constexpr int kHeight = 80;
constexpr int kRingCopies = 31;

// Family at 48 pt, bold, without antialiasing: the overlay font for measuring and drawing.
QFont overlayFont(const QString& family);

// Which copies of the caption cover each pixel of a strip width logical columns wide, as bits of
// an 8-bit image in device pixels at the given ratio: the ring (unless the shadow size is 0), the
// diagonal step and the main letters. Both looks print the same copies and differ only in their
// colours, so they share it.
enum Cover : uchar
{
    kRingCover = 1,
    kDiagonalCover = 2,
    kMainCover = 4
};
QImage coverage(const TextStamp& text, int width, qreal ratio, int shadowSize);

// One look from the coverage. The canvas, if wanted, is what printing the look's copies in turn
// leaves: each pixel takes the colour of the last copy printed on it (the ring's, then the step's,
// then the main letters' TextKey), the key colour where none lies. The layer is the canvas
// copied over the look's gradient, skipping the TextKey pixels, which show the gradient.
QImage paintLook(const QImage& coverage, int look, const Appearance& appearance, QImage* canvas = nullptr);

// The pixels of the image that are not the key colour.
QRegion shapeOf(const QImage& image);

} // namespace CaptionPainter

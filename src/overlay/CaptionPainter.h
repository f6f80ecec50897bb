#pragma once

#include "appearance/Appearance.h"

#include <QFont>
#include <QImage>
#include <QRegion>
#include <QString>
#include <array>

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

// Both looks of a caption in a strip width logical columns wide, in device pixels.
struct Rendering
{
    // Each look as its layer shows it: ARGB32 premultiplied, opaque letters on transparent pixels
    // where the look leaves the key colour.
    std::array<QImage, 2> layers;
    // Each look's pixels that are not the key colour, in rectangles of y-x bands.
    std::array<QRegion, 2> shapes;
    // What printing look 1's copies in turn leaves, as RGB32: each pixel takes the colour of the
    // last copy printed on it (the ring's, then the diagonal step's, then the main letters'
    // TextKey), the key colour where none lies. The layers are the canvas over the look's
    // gradient, which shows through the TextKey pixels.
    QImage canvas;
};

// Both looks print the same copies: the ring (unless the shadow size is 0), the diagonal step and
// the main letters, and differ only in their colours, so they are worked out together.
Rendering render(const TextStamp& text, int width, qreal ratio, const Appearance& appearance);

} // namespace CaptionPainter

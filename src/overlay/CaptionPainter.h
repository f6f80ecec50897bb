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

// A look's bare gradient image, width logical columns wide (at least 1), in device pixels at the
// given ratio.
QImage gradientImage(int look, int width, qreal ratio = 1);

// Clears the canvas to the key colour and prints the ring, diagonal and main letters of one look.
void paintCanvas(QImage& canvas, const TextStamp& text, int look, const Appearance& appearance);

// Every canvas pixel overwrites the layer except those of exactly the TextKey colour.
void copySkippingTextKey(const QImage& canvas, QImage& layer);

// The pixels of the image that are not the key colour.
QRegion shapeOf(const QImage& image);

} // namespace CaptionPainter

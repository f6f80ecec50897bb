#include "overlay/CaptionPainter.h"

#include "overlay/GradientTable.h"
#include "overlay/TextStamp.h"

#include <QVector>
#include <QtMath>
#include <cmath>

namespace CaptionPainter {

namespace {

QRgb swatchColour(quint32 value)
{
    return qRgb(redOf(value), greenOf(value), blueOf(value));
}

// Runs of non-key pixels in one row, as [start, end) pairs.
void rowRuns(const QRgb* line, int width, QVector<int>& runs)
{
    runs.clear();
    int x = 0;
    while (x < width) {
        while (x < width && line[x] == kKeyColour)
            ++x;
        if (x == width)
            break;
        const int start = x;
        while (x < width && line[x] != kKeyColour)
            ++x;
        runs.append(start);
        runs.append(x);
    }
}

} // namespace

QFont overlayFont(const QString& family)
{
    QFont font(family, 48, QFont::Bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

QImage gradientImage(int look, int width, qreal ratio)
{
    QImage image(qCeil(qMax(width, 1) * ratio), qCeil(kHeight * ratio), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    for (int row = 0; row < image.height(); ++row) {
        const GradientTable::RowColour c =
            GradientTable::rowColour(look, qMin(int(row / ratio), kHeight - 1));
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(row));
        std::fill(line, line + image.width(), qRgb(c.red, c.green, c.blue));
    }
    return image;
}

void paintCanvas(QImage& canvas, const TextStamp& text, int look, const Appearance& appearance)
{
    canvas.fill(kKeyColour);
    const int ring = 2 * look;
    const int diagonal = ring + 1;
    const int s = appearance.shadowSize;
    if (s != 0 && !appearance.noColour[std::size_t(ring)]) {
        const QRgb colour = swatchColour(appearance.colours[std::size_t(ring)]);
        // j is an angle in radians: 31 copies wind round the circle almost five times.
        for (int j = 0; j < kRingCopies; ++j)
            text.print(canvas, 5 + s * std::cos(double(j)), 5 + s * std::sin(double(j)), colour);
    }
    if (!appearance.noColour[std::size_t(diagonal)]) {
        const QRgb colour = swatchColour(appearance.colours[std::size_t(diagonal)]);
        text.print(canvas, 6, 6, colour);
        text.print(canvas, 5, 5, colour);
        text.print(canvas, 4, 4, colour);
    }
    text.print(canvas, 3, 3, kTextKey);
}

void copySkippingTextKey(const QImage& canvas, QImage& layer)
{
    const int width = qMin(canvas.width(), layer.width());
    const int height = qMin(canvas.height(), layer.height());
    for (int y = 0; y < height; ++y) {
        const QRgb* source = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        QRgb* target = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (source[x] != kTextKey)
                target[x] = source[x];
        }
    }
}

QRegion shapeOf(const QImage& image)
{
    // Rows with the same runs as the row above extend its rectangles downwards, which keeps the
    // region small and in the banded order setRects expects.
    QVector<QRect> rects;
    QVector<int> previous;
    QVector<int> runs;
    qsizetype bandStart = 0;
    for (int y = 0; y < image.height(); ++y) {
        rowRuns(reinterpret_cast<const QRgb*>(image.constScanLine(y)), image.width(), runs);
        if (y > 0 && runs == previous) {
            for (qsizetype i = bandStart; i < rects.size(); ++i)
                rects[i].setBottom(y);
            continue;
        }
        bandStart = rects.size();
        for (qsizetype i = 0; i < runs.size(); i += 2)
            rects.append(QRect(runs[i], y, runs[i + 1] - runs[i], 1));
        previous.swap(runs);
    }
    QRegion region;
    if (!rects.isEmpty())
        region.setRects(rects.constData(), int(rects.size()));
    return region;
}

} // namespace CaptionPainter

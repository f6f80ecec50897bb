#include "overlay/CaptionPainter.h"

#include "overlay/GradientTable.h"
#include "overlay/TextStamp.h"

#include <QVarLengthArray>
#include <QVector>
#include <QtMath>
#include <algorithm>
#include <array>
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

QImage coverage(const TextStamp& text, int width, qreal ratio, int shadowSize)
{
    QImage cover(qCeil(qMax(width, 1) * ratio), qCeil(kHeight * ratio), QImage::Format_Grayscale8);
    cover.setDevicePixelRatio(ratio);
    cover.fill(0);
    if (shadowSize != 0) {
        // j is an angle in radians: 31 copies wind round the circle almost five times, and many
        // of them land on the same pixel, which needs marking once.
        QVarLengthArray<QPoint, kRingCopies> ring;
        for (int j = 0; j < kRingCopies; ++j) {
            const QPoint at =
                text.devicePoint(5 + shadowSize * std::cos(double(j)), 5 + shadowSize * std::sin(double(j)));
            if (!ring.contains(at))
                ring.append(at);
        }
        for (const QPoint& at : ring)
            text.mark(cover, at, kRingCover);
    }
    for (int step = 6; step >= 4; --step)
        text.mark(cover, text.devicePoint(step, step), kDiagonalCover);
    text.mark(cover, text.devicePoint(3, 3), kMainCover);
    return cover;
}

QImage paintLook(const QImage& coverage, int look, const Appearance& appearance, QImage* canvas)
{
    const std::size_t ring = std::size_t(2 * look);
    const std::size_t diagonal = ring + 1;
    const bool ringShown = appearance.shadowSize != 0 && !appearance.noColour[ring];
    const bool diagonalShown = !appearance.noColour[diagonal];
    // The canvas colour for each combination of copies: the one printed last wins.
    std::array<QRgb, 8> printed{};
    for (std::size_t cover = 0; cover < printed.size(); ++cover) {
        QRgb colour = kKeyColour;
        if (ringShown && (cover & kRingCover))
            colour = swatchColour(appearance.colours[ring]);
        if (diagonalShown && (cover & kDiagonalCover))
            colour = swatchColour(appearance.colours[diagonal]);
        if (cover & kMainCover)
            colour = kTextKey;
        printed[cover] = colour;
    }

    const qreal ratio = coverage.devicePixelRatio();
    QImage layer(coverage.size(), QImage::Format_RGB32);
    layer.setDevicePixelRatio(ratio);
    if (canvas) {
        *canvas = QImage(coverage.size(), QImage::Format_RGB32);
        canvas->setDevicePixelRatio(ratio);
    }
    const int width = coverage.width();
    for (int y = 0; y < coverage.height(); ++y) {
        const GradientTable::RowColour c = GradientTable::rowColour(look, qMin(int(y / ratio), kHeight - 1));
        const QRgb gradient = qRgb(c.red, c.green, c.blue);
        std::array<QRgb, 8> shown = printed;
        std::replace(shown.begin(), shown.end(), kTextKey, gradient);
        const uchar* cover = coverage.constScanLine(y);
        QRgb* target = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < width; ++x)
            target[x] = shown[cover[x]];
        if (canvas) {
            QRgb* line = reinterpret_cast<QRgb*>(canvas->scanLine(y));
            for (int x = 0; x < width; ++x)
                line[x] = printed[cover[x]];
        }
    }
    return layer;
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

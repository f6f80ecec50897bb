#include "overlay/CaptionPainter.h"

#include "overlay/GradientTable.h"
#include "overlay/TextStamp.h"

#include <QVarLengthArray>
#include <QVector>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace CaptionPainter {

namespace {

constexpr int kWordBits = 64;

// Which copies cover a pixel, as the bits of a combination 0..7.
enum Cover : uint
{
    kRingCover = 1,
    kDiagonalCover = 2,
    kMainCover = 4
};
constexpr uint kCombinations = 8;

QRgb swatchColour(quint32 value)
{
    return qRgb(redOf(value), greenOf(value), blueOf(value));
}

// Byte b of spread[bits] is bit b of bits: eight pixels' bits of a plane as eight bytes.
constexpr std::array<quint64, 256> spreadTable()
{
    std::array<quint64, 256> table{};
    for (uint bits = 0; bits < 256; ++bits)
        for (uint b = 0; b < 8; ++b)
            if (bits & (1u << b))
                table[bits] |= quint64(1) << (8 * b);
    return table;
}
constexpr std::array<quint64, 256> kSpread = spreadTable();

// The canvas colour of each combination of copies for a look: the one printed last wins.
std::array<QRgb, kCombinations> printedColours(int look, const Appearance& appearance)
{
    const std::size_t ring = std::size_t(2 * look);
    const std::size_t diagonal = ring + 1;
    const bool ringShown = appearance.shadowSize != 0 && !appearance.noColour[ring];
    const bool diagonalShown = !appearance.noColour[diagonal];
    std::array<QRgb, kCombinations> printed{};
    for (uint cover = 0; cover < kCombinations; ++cover) {
        QRgb colour = kKeyColour;
        if (ringShown && (cover & kRingCover))
            colour = swatchColour(appearance.colours[ring]);
        if (diagonalShown && (cover & kDiagonalCover))
            colour = swatchColour(appearance.colours[diagonal]);
        if (cover & kMainCover)
            colour = kTextKey;
        printed[cover] = colour;
    }
    return printed;
}

// Rectangles of a shape row by row. Rows with the same runs as the row above extend its
// rectangles downwards, which keeps the region small and in the banded order setRects expects.
class ShapeBuilder
{
public:
    void addRow(int y, const QVector<int>& runs)
    {
        if (y > 0 && runs == m_previous) {
            for (qsizetype i = m_bandStart; i < m_rects.size(); ++i)
                m_rects[i].setBottom(y);
            return;
        }
        m_bandStart = m_rects.size();
        for (qsizetype i = 0; i < runs.size(); i += 2)
            m_rects.append(QRect(runs[i], y, runs[i + 1] - runs[i], 1));
        m_previous = runs;
    }
    QRegion region() const
    {
        QRegion region;
        if (!m_rects.isEmpty())
            region.setRects(m_rects.constData(), int(m_rects.size()));
        return region;
    }

private:
    QVector<QRect> m_rects;
    QVector<int> m_previous;
    qsizetype m_bandStart = 0;
};

// Runs of set bits in a row of words, as [start, end) pairs; bits past the width are clear.
void bitRuns(const quint64* words, int wordCount, int width, QVector<int>& runs)
{
    runs.clear();
    bool inRun = false;
    int start = 0;
    for (int k = 0; k < wordCount; ++k) {
        // The bits that differ from the state carried into each position.
        quint64 changes = inRun ? ~words[k] : words[k];
        while (changes != 0) {
            const int at = k * kWordBits + int(qCountTrailingZeroBits(changes));
            if (inRun) {
                runs.append(start);
                runs.append(at);
            } else {
                start = at;
            }
            inRun = !inRun;
            // Past this change, look for the opposite one.
            const int bit = at % kWordBits;
            const quint64 passed = bit == kWordBits - 1 ? ~quint64(0) : (quint64(2) << bit) - 1;
            changes = ~changes & ~passed;
        }
    }
    if (inRun) {
        runs.append(start);
        runs.append(width);
    }
}

} // namespace

QFont overlayFont(const QString& family)
{
    QFont font(family, 48, QFont::Bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

Rendering render(const TextStamp& text, int width, qreal ratio, const Appearance& appearance)
{
    const int deviceWidth = qCeil(qMax(width, 1) * ratio);
    const int deviceHeight = qCeil(kHeight * ratio);
    const int words = (deviceWidth + kWordBits - 1) / kWordBits;
    const std::size_t planeSize = std::size_t(words) * std::size_t(deviceHeight);
    // One plane of bits for each kind of copy.
    std::vector<quint64> ring(planeSize, 0);
    std::vector<quint64> diagonal(planeSize, 0);
    std::vector<quint64> main(planeSize, 0);
    if (appearance.shadowSize != 0) {
        // j is an angle in radians: 31 copies wind round the circle almost five times, and many
        // of them land on the same pixel, which needs marking once.
        QVarLengthArray<QPoint, kRingCopies> at;
        for (int j = 0; j < kRingCopies; ++j) {
            const QPoint point = text.devicePoint(5 + appearance.shadowSize * std::cos(double(j)),
                                                  5 + appearance.shadowSize * std::sin(double(j)));
            if (!at.contains(point))
                at.append(point);
        }
        for (const QPoint& point : at)
            text.mark(ring.data(), deviceWidth, deviceHeight, point);
    }
    for (int step = 6; step >= 4; --step)
        text.mark(diagonal.data(), deviceWidth, deviceHeight, text.devicePoint(step, step));
    text.mark(main.data(), deviceWidth, deviceHeight, text.devicePoint(3, 3));

    std::array<std::array<QRgb, kCombinations>, 2> printed{printedColours(0, appearance),
                                                           printedColours(1, appearance)};
    // Which combinations leave a look's pixel opaque; looks that agree share one shape.
    std::array<uint, 2> opaque{};
    for (std::size_t look = 0; look < 2; ++look)
        for (uint cover = 0; cover < kCombinations; ++cover)
            if (printed[look][cover] != kKeyColour)
                opaque[look] |= 1u << cover;
    const int shapeCount = opaque[0] == opaque[1] ? 1 : 2;

    Rendering rendering;
    for (QImage& layer : rendering.layers) {
        layer = QImage(deviceWidth, deviceHeight, QImage::Format_ARGB32_Premultiplied);
        layer.setDevicePixelRatio(ratio);
    }
    rendering.canvas = QImage(deviceWidth, deviceHeight, QImage::Format_RGB32);
    rendering.canvas.setDevicePixelRatio(ratio);

    std::array<ShapeBuilder, 2> shapes;
    std::vector<uchar> cover(std::size_t(words) * std::size_t(kWordBits));
    std::vector<quint64> shown(static_cast<std::size_t>(words));
    QVector<int> runs;
    for (int y = 0; y < deviceHeight; ++y) {
        const quint64* ringRow = ring.data() + std::size_t(y) * std::size_t(words);
        const quint64* diagonalRow = diagonal.data() + std::size_t(y) * std::size_t(words);
        const quint64* mainRow = main.data() + std::size_t(y) * std::size_t(words);
        for (int k = 0; k < words; ++k) {
            for (int b = 0; b < 8; ++b) {
                const int shift = 8 * b;
                const quint64 bytes = kSpread[(ringRow[k] >> shift) & 0xFF] |
                                      kSpread[(diagonalRow[k] >> shift) & 0xFF] << 1 |
                                      kSpread[(mainRow[k] >> shift) & 0xFF] << 2;
                std::memcpy(cover.data() + k * kWordBits + shift, &bytes, sizeof bytes);
            }
        }

        // The layers show the gradient where the canvas holds the main letters, and nothing
        // where it holds the key colour.
        std::array<std::array<QRgb, kCombinations>, 2> layerColours{};
        for (std::size_t look = 0; look < 2; ++look) {
            const GradientTable::RowColour c =
                GradientTable::rowColour(int(look), qMin(int(y / ratio), kHeight - 1));
            for (uint combination = 0; combination < kCombinations; ++combination) {
                const QRgb colour = printed[look][combination];
                layerColours[look][combination] = colour == kTextKey     ? qRgb(c.red, c.green, c.blue)
                                                  : colour == kKeyColour ? QRgb(0)
                                                                         : colour;
            }
        }
        QRgb* layer0 = reinterpret_cast<QRgb*>(rendering.layers[0].scanLine(y));
        QRgb* layer1 = reinterpret_cast<QRgb*>(rendering.layers[1].scanLine(y));
        QRgb* canvas = reinterpret_cast<QRgb*>(rendering.canvas.scanLine(y));
        for (int x = 0; x < deviceWidth; ++x) {
            const uchar c = cover[std::size_t(x)];
            layer0[x] = layerColours[0][c];
            layer1[x] = layerColours[1][c];
            canvas[x] = printed[1][c];
        }

        for (int look = 0; look < shapeCount; ++look) {
            // A pixel is opaque when its combination is one of the look's opaque ones.
            for (int k = 0; k < words; ++k) {
                quint64 bits = 0;
                for (uint combination = 1; combination < kCombinations; ++combination) {
                    if (!(opaque[std::size_t(look)] & (1u << combination)))
                        continue;
                    bits |= (combination & kRingCover ? ringRow[k] : ~ringRow[k]) &
                            (combination & kDiagonalCover ? diagonalRow[k] : ~diagonalRow[k]) &
                            (combination & kMainCover ? mainRow[k] : ~mainRow[k]);
                }
                shown[std::size_t(k)] = bits;
            }
            bitRuns(shown.data(), words, deviceWidth, runs);
            shapes[std::size_t(look)].addRow(y, runs);
        }
    }
    rendering.shapes[0] = shapes[0].region();
    rendering.shapes[1] = shapeCount == 2 ? shapes[1].region() : rendering.shapes[0];
    return rendering;
}

} // namespace CaptionPainter

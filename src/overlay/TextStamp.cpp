#include "overlay/TextStamp.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QtMath>
#include <algorithm>

namespace {

constexpr int kWordBits = 64;

int wordsFor(int pixels)
{
    return (pixels + kWordBits - 1) / kWordBits;
}

// Sets bits [left, right) of a row.
void setBits(quint64* row, int left, int right)
{
    const int first = left / kWordBits;
    const int last = (right - 1) / kWordBits;
    const quint64 head = ~quint64(0) << (left % kWordBits);
    const quint64 tail = ~quint64(0) >> (kWordBits - 1 - (right - 1) % kWordBits);
    if (first == last) {
        row[first] |= head & tail;
        return;
    }
    row[first] |= head;
    std::fill(row + first + 1, row + last, ~quint64(0));
    row[last] |= tail;
}

} // namespace

TextStamp::TextStamp(const QFont& font, const QString& text, int width, int height, qreal ratio)
    : m_margin(qCeil(kMargin * ratio)), m_ratio(ratio)
{
    QImage sheet(qCeil(width * ratio) + 2 * m_margin, qCeil(height * ratio) + 2 * m_margin,
                 QImage::Format_RGB32);
    sheet.setDevicePixelRatio(ratio);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::black);
        // The painter wants the baseline; the text line's top-left corner goes to the margin.
        const qreal logicalMargin = m_margin / ratio;
        painter.drawText(
            QPointF(logicalMargin, logicalMargin + QFontMetricsF(painter.font(), &sheet).ascent()), text);
    }
    // Without smoothing every pixel is either ink or paper. (Painting on an 8-bit sheet would
    // take Qt's slower threaded glyph path.)
    const QRgb ink = qRgb(0, 0, 0);
    const int sheetWidth = sheet.width();
    m_words = wordsFor(sheetWidth);
    m_rows = sheet.height();
    m_bits.assign(std::size_t(m_words) * std::size_t(m_rows), 0);
    for (int y = 0; y < m_rows; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(sheet.constScanLine(y));
        quint64* row = m_bits.data() + std::size_t(y) * std::size_t(m_words);
        int x = 0;
        while (x < sheetWidth) {
            x = int(std::find(line + x, line + sheetWidth, ink) - line);
            if (x == sheetWidth)
                break;
            const int left = x;
            while (x < sheetWidth && line[x] == ink)
                ++x;
            setBits(row, left, x);
        }
    }
}

QPoint TextStamp::devicePoint(qreal x, qreal y) const
{
    return QPoint(qRound(x * m_ratio), qRound(y * m_ratio));
}

void TextStamp::mark(quint64* plane, int width, int rows, QPoint at) const
{
    const int words = wordsFor(width);
    // Pixel x of the plane shows pixel x + shift of the stamp's rows.
    const int shift = m_margin - at.x();
    const int wordShift = shift >= 0 ? shift / kWordBits : -((-shift + kWordBits - 1) / kWordBits);
    const int bitShift = shift - wordShift * kWordBits;
    const quint64 lastWord = width % kWordBits ? ~quint64(0) >> (kWordBits - width % kWordBits) : ~quint64(0);
    for (int y = 0; y < rows; ++y) {
        const int source = y - at.y() + m_margin;
        if (source < 0 || source >= m_rows)
            continue;
        const quint64* from = m_bits.data() + std::size_t(source) * std::size_t(m_words);
        const auto word = [&](int k) { return k >= 0 && k < m_words ? from[k] : quint64(0); };
        quint64* to = plane + std::size_t(y) * std::size_t(words);
        // Only the plane's words that some stamp word reaches.
        const int begin = std::max(0, -wordShift - 1);
        const int end = std::min(words, m_words - wordShift);
        for (int k = begin; k < end; ++k) {
            const int s = k + wordShift;
            quint64 bits = word(s) >> bitShift;
            if (bitShift != 0)
                bits |= word(s + 1) << (kWordBits - bitShift);
            to[k] |= bits;
        }
        if (end == words && words > 0)
            to[words - 1] &= lastWord;
    }
}

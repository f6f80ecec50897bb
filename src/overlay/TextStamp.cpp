#include "overlay/TextStamp.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QtMath>
#include <algorithm>

TextStamp::TextStamp(const QFont& font, const QString& text, int width, int height, qreal ratio)
    : m_ratio(ratio)
{
    const int margin = qCeil(kMargin * ratio);
    QImage sheet(qCeil(width * ratio) + 2 * margin, qCeil(height * ratio) + 2 * margin, QImage::Format_RGB32);
    sheet.setDevicePixelRatio(ratio);
    sheet.fill(Qt::white);
    {
        QPainter painter(&sheet);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::black);
        // The painter wants the baseline; the text line's top-left corner goes to the margin.
        const qreal logicalMargin = margin / ratio;
        painter.drawText(
            QPointF(logicalMargin, logicalMargin + QFontMetricsF(painter.font(), &sheet).ascent()), text);
    }
    // Without smoothing every pixel is either ink or paper. (Painting on an 8-bit sheet would
    // take Qt's slower threaded glyph path.)
    const QRgb ink = qRgb(0, 0, 0);
    const int sheetWidth = sheet.width();
    for (int y = 0; y < sheet.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(sheet.constScanLine(y));
        int x = 0;
        while (x < sheetWidth) {
            x = int(std::find(line + x, line + sheetWidth, ink) - line);
            if (x == sheetWidth)
                break;
            const int left = x;
            while (x < sheetWidth && line[x] == ink)
                ++x;
            if (x > left)
                m_runs.push_back({y - margin, left - margin, x - margin});
        }
    }
}

QPoint TextStamp::devicePoint(qreal x, qreal y) const
{
    return QPoint(qRound(x * m_ratio), qRound(y * m_ratio));
}

void TextStamp::mark(QImage& image, QPoint at, uchar bits) const
{
    const int width = image.width();
    const int height = image.height();
    uchar* data = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (const Run& run : m_runs) {
        const int row = run.y + at.y();
        if (row < 0 || row >= height)
            continue;
        const int left = std::max(run.left + at.x(), 0);
        const int right = std::min(run.right + at.x(), width);
        uchar* line = data + row * stride;
        for (int x = left; x < right; ++x)
            line[x] |= bits;
    }
}

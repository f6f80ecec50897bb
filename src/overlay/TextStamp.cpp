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
    const QRgb ink = qRgb(0, 0, 0);
    const int sheetWidth = sheet.width();
    for (int y = 0; y < sheet.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(sheet.constScanLine(y));
        int x = 0;
        while (x < sheetWidth) {
            while (x < sheetWidth && line[x] != ink)
                ++x;
            const int left = x;
            while (x < sheetWidth && line[x] == ink)
                ++x;
            if (x > left)
                m_runs.push_back({y - margin, left - margin, x - margin});
        }
    }
}

void TextStamp::print(QImage& image, qreal x, qreal y, QRgb colour) const
{
    const int dx = qRound(x * m_ratio);
    const int dy = qRound(y * m_ratio);
    const int width = image.width();
    const int height = image.height();
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (const Run& run : m_runs) {
        const int row = run.y + dy;
        if (row < 0 || row >= height)
            continue;
        const int left = std::max(run.left + dx, 0);
        const int right = std::min(run.right + dx, width);
        if (left >= right)
            continue;
        QRgb* line = reinterpret_cast<QRgb*>(bits + row * stride);
        std::fill(line + left, line + right, colour);
    }
}

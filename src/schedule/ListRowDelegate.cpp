#include "schedule/ListRowDelegate.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {

constexpr int kSmallestPixelSize = 6;
// Measured with the line, so that lines with and without descenders get the same size.
const QString kTallGlyphs = QStringLiteral("[关]gjpqy");

// The pixel lines the text's ink covers, relative to its baseline: the first above it (negative)
// and the last below it. Measured from the rendering, since a face's ascent and descent describe
// its tallest glyph and its bounding boxes miss antialiased edges.
struct Ink
{
    int top = 0;
    int bottom = -1;
    int height() const { return bottom - top + 1; }
};

Ink inkOf(const QFont& font, const QString& text)
{
    const QFontMetrics metrics(font);
    const int size = QFontInfo(font).pixelSize();
    const int baseline = 2 * size;
    QImage canvas(metrics.horizontalAdvance(text) + 2 * size, 4 * size, QImage::Format_Alpha8);
    canvas.fill(0);
    QPainter painter(&canvas);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPoint(size, baseline), text);
    painter.end();

    Ink ink;
    for (int y = 0; y < canvas.height(); ++y) {
        const uchar* line = canvas.constScanLine(y);
        if (std::any_of(line, line + canvas.width(), [](uchar alpha) { return alpha != 0; })) {
            if (ink.bottom < ink.top)
                ink.top = y - baseline;
            ink.bottom = y - baseline;
        }
    }
    return ink;
}

} // namespace

void ListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QWidget* widget = item.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    // Where the style would put the text, with the margin it leaves inside that rectangle.
    const QRect textArea = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const QString text = item.text;
    item.text.clear();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    QPalette::ColorGroup group = QPalette::Normal;
    if (!(item.state & QStyle::State_Enabled))
        group = QPalette::Disabled;
    else if (!(item.state & QStyle::State_Active))
        group = QPalette::Inactive;
    painter->save();
    painter->setPen(item.palette.color(group, item.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                  : QPalette::Text));
    painter->setFont(item.font);
    drawLine(*painter,
             QRect(textArea.left() + margin, item.rect.top(), textArea.width() - 2 * margin, kRowHeight),
             text);
    painter->restore();
}

void ListRowDelegate::drawLine(QPainter& painter, const QRect& row, const QString& text)
{
    if (text.isEmpty())
        return;
    const int room = kRowHeight - 1;
    QFont font = painter.font();
    Ink ink;
    for (int size = QFontInfo(font).pixelSize(); size >= kSmallestPixelSize; --size) {
        font.setPixelSize(size);
        ink = inkOf(font, kTallGlyphs + text);
        if (ink.height() <= room)
            break;
    }
    painter.setFont(font);
    const int baseline = row.top() + (room - ink.height()) / 2 - ink.top;
    painter.drawText(QPoint(row.left(), baseline),
                     QFontMetrics(font).elidedText(text, Qt::ElideRight, row.width()));
}

#include "widgets/ListRowDelegate.h"

#include <QApplication>
#include <QCache>
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

namespace {

struct Fit
{
    int pixelSize = 0;
    Ink ink;
};

// The largest pixel size at which the line's ink fits the row, with that ink. Measuring renders the
// line, so each font and text is measured once rather than on every repaint and blink.
Fit fitOf(const QFont& rowFont, const QString& text, int room)
{
    static QCache<QString, Fit> fits(64);
    const QString key = rowFont.key() + QChar(0) + text;
    if (const Fit* known = fits.object(key))
        return *known;
    QFont font = rowFont;
    Fit fit;
    for (int size = QFontInfo(font).pixelSize(); size >= kSmallestPixelSize; --size) {
        font.setPixelSize(size);
        fit = {size, inkOf(font, kTallGlyphs + text)};
        if (fit.ink.height() <= room)
            break;
    }
    fits.insert(key, new Fit(fit));
    return fit;
}

} // namespace

void ListRowDelegate::drawLine(QPainter& painter, const QRect& row, const QString& text)
{
    if (text.isEmpty())
        return;
    const int room = kRowHeight - 1;
    const Fit fit = fitOf(painter.font(), text, room);
    QFont font = painter.font();
    if (fit.pixelSize > 0)
        font.setPixelSize(fit.pixelSize);
    painter.setFont(font);
    const int baseline = row.top() + (room - fit.ink.height()) / 2 - fit.ink.top;
    painter.drawText(QPoint(row.left(), baseline),
                     QFontMetrics(font).elidedText(text, Qt::ElideRight, row.width()));
}

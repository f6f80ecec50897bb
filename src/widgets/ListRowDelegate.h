#pragma once

#include <QStyledItemDelegate>

// Draws the alarm list's lines into rows 12 pixels high without cutting a glyph, whatever face
// the list font resolves to: a face too tall for the row is drawn at a smaller pixel size, and
// each line keeps the row's last pixel line free, so neighbouring rows never touch.
class ListRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    static constexpr int kRowHeight = 12;

    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // Draws `text` in the painter's font and pen into the top kRowHeight pixels of `row`.
    static void drawLine(QPainter& painter, const QRect& row, const QString& text);
};

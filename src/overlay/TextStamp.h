#pragma once

#include <QFont>
#include <QPoint>
#include <QString>
#include <QtGlobal>
#include <vector>

// A caption printed once without smoothing and kept as one bit a pixel, so that the many copies
// of one rendering are shifted word-wide ORs instead of a text layout each.
class TextStamp
{
public:
    // Room kept around the text for strokes that reach out of its line box.
    static constexpr int kMargin = 32;

    // width and height are logical pixels; the stamp holds device pixels at the given ratio, so
    // the letters are as fine as the screen shows them.
    TextStamp(const QFont& font, const QString& text, int width, int height, qreal ratio = 1);

    // The device pixel the text line's top-left corner goes to for the logical point (x, y).
    QPoint devicePoint(qreal x, qreal y) const;
    // Marks the text's pixels with its top-left corner at the device point, clipped to a plane of
    // bits `width` pixels wide and `rows` high: row y holds (width + 63) / 64 words, and bit b of
    // its word k is pixel 64 k + b. Bits past the width stay clear.
    void mark(quint64* plane, int width, int rows, QPoint at) const;

private:
    std::vector<quint64> m_bits;
    int m_words = 0;
    int m_rows = 0;
    int m_margin = 0;
    qreal m_ratio = 1;
};

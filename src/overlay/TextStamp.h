#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <vector>

// A caption printed once without smoothing and kept as runs of pixels per row, so that the
// many copies of one rendering are plain fills instead of a text layout each.
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
    // Marks the text's pixels with its top-left corner at the device point: ORs the bits into
    // the 8-bit image, clipped to it.
    void mark(QImage& image, QPoint at, uchar bits) const;

private:
    struct Run
    {
        int y;
        int left;
        int right; // one past the last pixel
    };
    std::vector<Run> m_runs;
    qreal m_ratio = 1;
};

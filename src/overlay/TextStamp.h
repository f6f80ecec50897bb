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

    TextStamp(const QFont& font, const QString& text, int width, int height);

    // Prints the text with the top-left corner of its line at (x, y), rounded to whole pixels,
    // clipped to the image.
    void print(QImage& image, qreal x, qreal y, QRgb colour) const;

private:
    struct Run
    {
        int y;
        int left;
        int right; // one past the last pixel
    };
    std::vector<Run> m_runs;
};

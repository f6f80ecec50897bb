#pragma once

#include <QFont>
#include <QRect>

// Window and control geometry is laid out in twips, 15 to the pixel.
namespace Twips {

inline constexpr int kPerPixel = 15;

constexpr int toPixels(int twips)
{
    return twips / kPerPixel;
}

inline QRect rect(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

// Point sizes are turned into pixels at 96 dpi, so the layout does not depend on the screen's dpi.
inline QFont font(const QString& family, double points)
{
    QFont result(family);
    result.setPixelSize(qRound(points * 96.0 / 72.0));
    return result;
}

} // namespace Twips

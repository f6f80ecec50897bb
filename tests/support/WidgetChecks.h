#pragma once

#include <QColor>
#include <QFile>
#include <QImage>
#include <QWidget>

// Small checks shared by the widget tests.
namespace WidgetChecks {

const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);
const QColor kRed(255, 0, 0);

inline QColor textColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::Text);
}

inline void createFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(path));
}

inline bool hasColour(const QImage& image, QRgb colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                return true;
    return false;
}

} // namespace WidgetChecks

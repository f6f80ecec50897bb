#include "overlay/ScreenLayout.h"

#include "overlay/CaptionPainter.h"

#include <QGuiApplication>
#include <QScreen>

namespace ScreenLayout {

QPoint primaryTopLeft()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry().topLeft() : QPoint();
}

QRect stripBand()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect area = primary ? primary->geometry() : QRect();
    return QRect(area.x(), area.y() + kStripTop, area.width(), CaptionPainter::kHeight);
}

void onChange(QObject* context, const std::function<void()>& react)
{
    const auto watch = [context, react](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, context, react);
    };
    for (QScreen* screen : QGuiApplication::screens())
        watch(screen);
    QObject::connect(qApp, &QGuiApplication::screenAdded, context, [watch, react](QScreen* screen) {
        watch(screen);
        react();
    });
    QObject::connect(qApp, &QGuiApplication::screenRemoved, context, react);
    QObject::connect(qApp, &QGuiApplication::primaryScreenChanged, context, react);
}

} // namespace ScreenLayout

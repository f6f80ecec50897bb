#include "overlay/StyleLayer.h"

#include "overlay/CaptionPainter.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

StyleLayer::StyleLayer(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void StyleLayer::setImage(const QImage& shown)
{
    m_shown = shown;
    update();
}

QImage StyleLayer::image() const
{
    if (m_shown.isNull())
        return QImage();
    // Opaque pixels are the same premultiplied or not; only the transparent ones change.
    QImage image(m_shown.size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(m_shown.devicePixelRatio());
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* source = reinterpret_cast<const QRgb*>(m_shown.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        std::replace_copy(source, source + image.width(), line, QRgb(0), CaptionPainter::kKeyColour);
    }
    return image;
}

void StyleLayer::setLit(bool lit)
{
    if (lit == m_lit)
        return;
    m_lit = lit;
    // An unlit layer must not hide the layer below it from Qt's painting.
    setAttribute(Qt::WA_OpaquePaintEvent, lit);
    setAttribute(Qt::WA_TransparentForMouseEvents, !lit);
    update();
}

void StyleLayer::paintEvent(QPaintEvent* event)
{
    if (!m_lit)
        return;
    QPainter painter(this);
    // Transparent pixels replace what lies below instead of blending with it.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect area = event->rect();
    const qreal ratio = m_shown.devicePixelRatio();
    painter.drawImage(
        QRectF(area), m_shown,
        QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio));
}

void StyleLayer::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = (event->position() * m_shown.devicePixelRatio()).toPoint();
    if (!m_shown.valid(at) || qAlpha(m_shown.pixel(at)) == 0) {
        event->ignore();
        return;
    }
    emit pressed(event->button());
}

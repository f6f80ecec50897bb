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

void StyleLayer::setImage(const QImage& image)
{
    m_image = image;
    // Opaque pixels are the same premultiplied, so one pass clears the key and copies the rest.
    const QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    m_shown = QImage(opaque.size(), QImage::Format_ARGB32_Premultiplied);
    m_shown.setDevicePixelRatio(opaque.devicePixelRatio());
    for (int y = 0; y < m_shown.height(); ++y) {
        const QRgb* source = reinterpret_cast<const QRgb*>(opaque.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(m_shown.scanLine(y));
        std::replace_copy(source, source + opaque.width(), line, CaptionPainter::kKeyColour, QRgb(0));
    }
    update();
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
    const QPoint at = (event->position() * m_image.devicePixelRatio()).toPoint();
    if (!m_image.valid(at) || m_image.pixel(at) == CaptionPainter::kKeyColour) {
        event->ignore();
        return;
    }
    emit pressed(event->button());
}

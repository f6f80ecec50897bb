#include "overlay/StyleLayer.h"

#include "overlay/CaptionPainter.h"

#include <QMouseEvent>
#include <QPainter>

StyleLayer::StyleLayer(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
}

void StyleLayer::setImage(const QImage& image)
{
    m_image = image;
    update();
}

void StyleLayer::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.drawImage(area.topLeft(), m_image, area);
}

void StyleLayer::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (!m_image.valid(at) || m_image.pixel(at) == CaptionPainter::kKeyColour) {
        event->ignore();
        return;
    }
    emit pressed(event->button());
}

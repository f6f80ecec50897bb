#include "engine/RowBar.h"

#include "schedule/Twips.h"

#include <QMouseEvent>
#include <QPainter>

RowBar::RowBar(QWidget* parent) : QWidget(parent)
{
    setFont(Twips::font(QStringLiteral("宋体"), 9));
    setCursor(Qt::PointingHandCursor);
}

void RowBar::setLine(const QString& line)
{
    m_line = line;
    update();
}

void RowBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(QColor(255, 0, 255));
    painter.drawText(rect().adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     m_line);
}

void RowBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

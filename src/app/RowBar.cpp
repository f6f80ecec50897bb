#include "app/RowBar.h"

#include "schedule/ListRowDelegate.h"
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
    // Drawn as the list draws the row it covers; a bar below the first is a pixel taller than a row.
    ListRowDelegate::drawLine(painter, QRect(2, 0, width() - 2, ListRowDelegate::kRowHeight), m_line);
}

void RowBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit clicked();
}

#include "app/AppIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {

// Draws the clock when a size is asked for, rather than keeping a pixmap of every size for as
// long as the program runs: the window manager and the tray each take one size, once.
class DrawnIconEngine : public QIconEngine
{
public:
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const QPixmap drawn = AppIcon::draw(qMin(size.width(), size.height()));
        if (mode == QIcon::Normal || mode == QIcon::Active || !qobject_cast<QApplication*>(qApp))
            return drawn;
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(mode, drawn, &option);
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size() * painter->device()->devicePixelRatio(), mode, state));
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        const int side = qMin(size.width(), size.height());
        return {side, side};
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> result;
        for (int size : AppIcon::sizes())
            result.append(QSize(size, size));
        return result;
    }
    QIconEngine* clone() const override { return new DrawnIconEngine; }
    QString key() const override { return QStringLiteral("DrawnIconEngine"); }
};

} // namespace

QPixmap AppIcon::draw(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);

    const QColor bell(196, 32, 32);
    painter.setPen(Qt::NoPen);
    painter.setBrush(bell);
    painter.drawPie(QRectF(1, 1, 12, 12), 45 * 16, 180 * 16);   // left bell
    painter.drawPie(QRectF(19, 1, 12, 12), -45 * 16, 180 * 16); // right bell
    painter.setPen(QPen(bell, 2.5, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(8, 29), QPointF(10, 26)); // feet
    painter.drawLine(QPointF(24, 29), QPointF(22, 26));

    painter.setPen(QPen(bell, 2.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(5, 6, 22, 22)); // face

    painter.setPen(QPen(Qt::black, 2, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre(16, 17);
    painter.drawLine(centre, QPointF(16, 10)); // minute hand
    painter.drawLine(centre, QPointF(21, 17)); // hour hand
    painter.end();
    return pixmap;
}

QList<int> AppIcon::sizes()
{
    return {16, 24, 32, 48, 64, 128, 256};
}

QIcon AppIcon::make()
{
    return QIcon(new DrawnIconEngine);
}

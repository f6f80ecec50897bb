#include "app/RowBar.h"

#include "widgets/ListRowDelegate.h"
#include "widgets/Twips.h"

#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Assistive technologies see the bar as neither visible nor showing, so they pass over it.
class DecorationInterface : public QAccessibleWidget
{
public:
    explicit DecorationInterface(QWidget* widget) : QAccessibleWidget(widget) {}
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        state.focusable = false;
        return state;
    }
};

QAccessibleInterface* decorationFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("RowBar") && object && object->isWidgetType())
        return new DecorationInterface(static_cast<QWidget*>(object));
    return nullptr;
}

} // namespace

RowBar::RowBar(QWidget* parent) : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(decorationFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setFont(Twips::font(QStringLiteral("宋体"), 9));
    setLit(false);
}

void RowBar::setLine(const QString& line)
{
    m_line = line;
    update();
}

void RowBar::setLit(bool lit)
{
    m_lit = lit;
    setAttribute(Qt::WA_TransparentForMouseEvents, !lit);
    if (lit)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    update();
}

void RowBar::setRinging(bool ringing)
{
    m_ringing = ringing;
    if (!ringing)
        setLit(false);
}

void RowBar::paintEvent(QPaintEvent*)
{
    if (!m_lit)
        return;
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

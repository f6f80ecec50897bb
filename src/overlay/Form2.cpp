#include "overlay/Form2.h"

#include "appearance/AppearanceModel.h"
#include "overlay/AccessibleRole.h"
#include "overlay/CaptionPainter.h"
#include "overlay/CaptionQueue.h"
#include "overlay/CaptionStep.h"
#include "overlay/GradientTable.h"
#include "overlay/ScreenLayout.h"
#include "overlay/StyleLayer.h"
#include "overlay/TextStamp.h"
#include "platform/UnmanagedWindow.h"
#include "platform/WidgetMask.h"
#include "platform/WindowShape.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QtMath>
#include <climits>

namespace {
constexpr int kStripTop = ScreenLayout::kStripTop;
constexpr int kStripHeight = CaptionPainter::kHeight;
// Room for the copies right of and below the letters.
constexpr int kCaptionMargin = 16;
// Far enough to stand for "no end" on a desktop, small enough not to overflow when moved.
constexpr int kOpenEnd = 1 << 24;

// The key colour names the see-through background; the window itself is cleared to transparent,
// so nothing paints it.
void nameKeyColour(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(CaptionPainter::kKeyColour));
    widget->setPalette(palette);
}

QRect scaled(const QRect& rect, qreal ratio)
{
    const QPoint topLeft(qFloor(rect.left() * ratio), qFloor(rect.top() * ratio));
    const QPoint end(qCeil((rect.right() + 1) * ratio), qCeil((rect.bottom() + 1) * ratio));
    return QRect(topLeft, QSize(end.x() - topLeft.x(), end.y() - topLeft.y()));
}
} // namespace

Form2::Form2(CaptionQueue& CapList, const AppearanceModel& appearance, QWidget* parent)
    // Window managers keep the windows they manage on screen, stack a fullscreen window above
    // "keep above" ones and may decorate, maximise or focus them. The strip stays out of their
    // hands: the program alone places and raises it.
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus | Qt::BypassWindowManagerHint),
      m_capList(CapList), m_appearance(appearance), m_cycle(*this)
{
    setObjectName(QStringLiteral("Form2"));
    // Its own title, so that no desktop numbers the main window's "Quorvel".
    setWindowTitle(QStringLiteral("Quorvel 提醒字幕"));
    // A notice, named after the caption it shows, not an anonymous filler.
    AccessibleRole::give("Form2", QAccessible::Notification);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // See-through also where the window system ignores the shape, as some compositors do.
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);
    nameKeyColour(this);
    m_font = CaptionPainter::overlayFont(m_appearance.value().fontName);
    m_window = new UnmanagedWindow(this);
    connect(m_window, &UnmanagedWindow::covered, this, &Form2::onCovered);
    connect(m_window, &UnmanagedWindow::compositingChanged, this, [this] {
        m_shapeSent = false;
        applyShape();
    });
    buildChildren();
    connect(&m_appearance, &AppearanceModel::changed, this, &Form2::onAppearanceChanged);
    ScreenLayout::onChange(this, [this] { followScreens(); });
    Form_Load();
}

void Form2::buildChildren()
{
    Picture3 = new QWidget(this);
    Picture3->setObjectName(QStringLiteral("Picture3"));
    nameKeyColour(Picture3);

    for (std::size_t i = 0; i < Picture2.size(); ++i) {
        StyleLayer* layer = new StyleLayer(Picture3);
        layer->setObjectName(QStringLiteral("Picture2(%1)").arg(i));
        // Nothing to show before the first rendering.
        layer->setGeometry(0, 0, 0, kStripHeight);
        connect(layer, &StyleLayer::pressed, this, &Form2::onLayerPressed);
        Picture2[i] = layer;
    }
    Picture2[1]->setLit(false);

    Label1 = new QLabel(QStringLiteral("11111111111"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setFont(m_font);
    Label1->hide();

    const auto makeTimer = [this](const char* name, int interval) {
        QTimer* timer = new QTimer(this);
        timer->setObjectName(QString::fromLatin1(name));
        timer->setInterval(interval);
        return timer;
    };
    Timer1 = makeTimer("Timer1", 10);
    Timer2 = makeTimer("Timer2", 100);
    Timer3 = makeTimer("Timer3", 10);
    connect(Timer1, &QTimer::timeout, this, &Form2::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &Form2::Timer2_Timer);
    connect(Timer3, &QTimer::timeout, this, &Form2::Timer3_Timer);
}

void Form2::Form_Load()
{
    placeStrip();
    const int width = m_strip.width();
    m_cycle.load(width);
    Picture2[0]->move(0, 0);
    Picture2[1]->move(0, 0);
    SetTr();
    placeWindow();
    show();
    raise();
}

void Form2::followScreens()
{
    placeStrip();
    // An idle panel takes the new width at once, so that its letters stay past the strip's end.
    if (!m_cycle.running() && m_cycle.panelWidth() != m_strip.width()) {
        m_cycle.load(m_strip.width());
        for (StyleLayer* layer : Picture2)
            layer->move((m_strip.width() - m_capWidth) / 2, 0);
        m_shapePanelWidth = -1;
    }
    placeWindow();
}

void Form2::placeStrip()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect area = primary ? primary->geometry() : QRect(0, 0, GradientTable::kImageWidth, 768);
    m_strip = QRect(area.x(), area.y() + kStripTop, area.width(), kStripHeight);
    bool neighbourLeft = false;
    bool neighbourRight = false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect other = screen->geometry();
        if (screen == primary || other.bottom() < m_strip.top() || other.top() > m_strip.bottom())
            continue;
        neighbourLeft = neighbourLeft || other.right() < m_strip.left();
        neighbourRight = neighbourRight || other.left() > m_strip.right();
    }
    m_showArea = m_strip;
    m_shapeFollowsPlace = neighbourLeft || neighbourRight;
    m_shapeStale = true;
    if (!neighbourLeft)
        m_showArea.setLeft(m_strip.left() - kOpenEnd);
    if (!neighbourRight)
        m_showArea.setRight(m_strip.right() + kOpenEnd);
}

void Form2::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        // A new native window starts without the shape.
        m_shapeSent = false;
        applyShape();
    }
    QWidget::showEvent(event);
}

void Form2::SetTr()
{
    setWindowOpacity(qBound(1, m_appearance.value().opacity, 255) / 255.0);
}

void Form2::PosTop()
{
    // The stays-on-top hint keeps the strip in the window manager's top layer; raising puts it
    // above the other windows there. Neither activates it.
    raise();
    flushWindowSystem();
}

void Form2::onCovered()
{
    // Nothing keeps an unmanaged window on top: whatever goes above the moving letters, a
    // fullscreen window among them, goes below them again at once.
    if (m_cycle.running())
        PosTop();
}

void Form2::showOverlay()
{
    show();
}

bool Form2::cycleRunning() const
{
    return m_cycle.running();
}

void Form2::startSlideIn()
{
    m_cycle.startSlideIn();
}

void Form2::onAppearanceChanged()
{
    RenderMark = QStringLiteral("c");
    SetTr();
    // Measuring and drawing take the new font together; the letters follow at the next rendering.
    const QString& family = m_appearance.value().fontName;
    if (family != m_font.family()) {
        m_font = CaptionPainter::overlayFont(family);
        Label1->setFont(m_font);
    }
}

void Form2::SetCap(const QString& text)
{
    if (text.isEmpty())
        return;
    Label1->setText(text);
    setAccessibleName(text);
    Label1->adjustSize();
    m_capWidth = qint16(qMin(Label1->width() + kCaptionMargin, int(SHRT_MAX)));

    const Appearance& appearance = m_appearance.value();
    // Rendered in device pixels, so the letters are as sharp as the screen shows them.
    m_ratio = renderRatio();
    const int left = (m_cycle.panelWidth() - m_capWidth) / 2;
    const TextStamp stamp(m_font, text, m_capWidth, kStripHeight, m_ratio);
    const CaptionPainter::Rendering rendering =
        CaptionPainter::render(stamp, m_capWidth, m_ratio, appearance);
    // The canvas kept is the one the last look leaves.
    Picture1 = rendering.canvas;
    for (std::size_t look = 0; look < 2; ++look) {
        m_letterShapes[look] = rendering.shapes[look];
        StyleLayer* style = Picture2[look];
        style->setImage(rendering.layers[look]);
        style->setGeometry(left, 0, m_capWidth, kStripHeight);
    }
    clipShapesToPanel();
    placeWindow();
}

qreal Form2::renderRatio() const
{
    return devicePixelRatioF();
}

QImage Form2::layerImage(int look) const
{
    return Picture2[std::size_t(look)]->image();
}

void Form2::Timer1_Timer()
{
    m_cycle.Timer1_Timer();
    placeWindow();
}

void Form2::Timer2_Timer()
{
    m_cycle.Timer2_Timer();
    placeWindow();
}

void Form2::Timer3_Timer()
{
    m_cycle.Timer3_Timer();
    placeWindow();
}

void Form2::holdStill(bool held)
{
    m_held = held;
    QTimer* timer = timerOf(m_cycle.phase());
    if (timer && held)
        timer->stop();
    else if (timer)
        timer->start();
}

QTimer* Form2::timerOf(OverlayCycle::Phase phase) const
{
    switch (phase) {
    case OverlayCycle::Phase::SlidingIn:
        return Timer1;
    case OverlayCycle::Phase::Blinking:
        return Timer2;
    case OverlayCycle::Phase::SlidingOut:
        return Timer3;
    case OverlayCycle::Phase::Idle:
        break;
    }
    return nullptr;
}

void Form2::phaseChanged(OverlayCycle::Phase from, OverlayCycle::Phase to)
{
    if (QTimer* timer = timerOf(from))
        timer->stop();
    if (QTimer* timer = timerOf(to); timer && !m_held)
        timer->start();
    m_window->setSliding(to == OverlayCycle::Phase::SlidingIn || to == OverlayCycle::Phase::SlidingOut);
    // The stacking matters only while the letters show; a cycle starts on top.
    m_window->watchStacking(to != OverlayCycle::Phase::Idle);
    if (from == OverlayCycle::Phase::Idle)
        PosTop();
}

int Form2::screenWidth() const
{
    return m_strip.width();
}

bool Form2::captionStep()
{
    const CaptionStep step = CaptionStep::next(Label1->text(), m_capList.texts(), RenderMark);
    if (step.action == CaptionStep::Action::RenderText) {
        SetCap(step.text);
        RenderMark = QStringLiteral("s");
    }
    return step.action != CaptionStep::Action::GoIdle;
}

void Form2::onLayerPressed(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        emit appearanceDialogRequested();
    else if (button == Qt::LeftButton)
        emit mainWindowRequested();
}

void Form2::placeWindow()
{
    if (m_cycle.panelWidth() != m_shapePanelWidth)
        clipShapesToPanel();
    const QRect target = m_box.translated(m_strip.x() + m_cycle.panelLeft(), m_strip.y());
    if (target != m_placed)
        m_window->place(target);
    m_placed = target;
    const bool p2 = m_cycle.p2Visible();
    if (Picture2[1]->isLit() != p2) {
        Picture2[1]->setLit(p2);
        m_shapeStale = true;
    }
    if (m_shapeStale || m_shapeFollowsPlace)
        applyShape();
}

void Form2::clipShapesToPanel()
{
    m_shapeStale = true;
    m_shapePanelWidth = m_cycle.panelWidth();
    const QRect panel(0, 0, m_shapePanelWidth, kStripHeight);
    // The window covers only the letters' box inside the panel, and the panel lies around it.
    m_box = panel & Picture2[0]->geometry();
    if (m_box.isEmpty())
        m_box = QRect(0, 0, 1, kStripHeight);
    Picture3->setGeometry(-m_box.x(), 0, m_shapePanelWidth, kStripHeight);
    const QRect devicePanel = scaled(panel, m_ratio);
    const int boxLeft = qRound(m_box.x() * m_ratio);
    for (std::size_t look = 0; look < 2; ++look)
        m_panelShapes[look] =
            (m_letterShapes[look].translated(qRound(Picture2[look]->x() * m_ratio), 0) & devicePanel)
                .translated(-boxLeft, 0);
    // Most looks share their outline.
    if (m_panelShapes[1] == m_panelShapes[0])
        m_panelShapes[1] = m_panelShapes[0];
}

void Form2::applyShape()
{
    QRegion letters = m_panelShapes[m_cycle.p2Visible() ? 1 : 0];
    // Letters past the strip's end are cut off only where another screen lies beyond it, so
    // the shape stays the same while the window moves.
    const QPoint at = m_box.topLeft() + QPoint(m_strip.x() + m_cycle.panelLeft(), m_strip.y());
    const QRect showArea = scaled(m_showArea.translated(-at), m_ratio);
    const bool cut = !showArea.contains(letters.boundingRect());
    if (cut)
        letters &= showArea;
    m_shapeStale = false;
    if (m_shapeSent && letters == m_shownDevicePixels) {
        // Sharing the region sent keeps each later comparison, one per blink, a pointer's.
        m_shownDevicePixels = letters;
        return;
    }
    m_shownDevicePixels = letters;
    m_shape = toLogicalPixels(letters, m_ratio);
    m_shapeSent = true;
    // A compositor shows the transparent pixels as such; only letters cut off at a neighbouring
    // screen need the outline then.
    setWindowShape(this, letters, cut || !m_window->seeThroughByAlpha());
}

#include "FixedAppearance.h"
#include "QuietPlatform.h"

#include "overlay/CaptionPainter.h"
#include "overlay/CaptionQueue.h"
#include "overlay/Form2.h"
#include "overlay/StyleLayer.h"
#include "support/WidgetChecks.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

using Phase = OverlayCycle::Phase;

using WidgetChecks::hasColour;

namespace {

int screenWidth()
{
    return QGuiApplication::primaryScreen()->geometry().width();
}

QRgb swatch(const Appearance& appearance, int index)
{
    const quint32 v = appearance.colours[std::size_t(index)];
    return qRgb(redOf(v), greenOf(v), blueOf(v));
}

QPoint firstLetterPixel(const QImage& layer)
{
    for (int x = 0; x < layer.width(); ++x)
        for (int y = 0; y < layer.height(); ++y)
            if (layer.pixel(x, y) != CaptionPainter::kKeyColour)
                return QPoint(x, y);
    return QPoint(-1, -1);
}

} // namespace

class Form2Test : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { silenceUnsupportedPlatformWarnings(); }
    void init();
    void cleanup();
    void startsAsAnIdleStripPastTheRightEdge();
    void opacityAndFontComeFromTheAppearance();
    void shapeIsTheVisibleLookAndMovesWithTheWindow();
    void captionWiderThanTheScreenKeepsToThePanel();
    void oneTimerAtATimeThroughAWholeCycle();
    void emptiedQueueEndsTheCycleAndIdles();
    void changedAppearanceRendersOnceAtTheNextCycle();
    void newAlarmDuringACycleLeavesTheTimersAlone();
    void aHeldStripKeepsItsPhase();
    void pressesOnLettersAskForTheOtherWindows();
    void realTimersRunTheCycle();

private:
    QTimer* timer(int n) const { return m_form->findChild<QTimer*>(QStringLiteral("Timer%1").arg(n)); }
    QWidget* child(const char* name) const { return m_form->findChild<QWidget*>(QString::fromLatin1(name)); }
    StyleLayer* layer(int look) const
    {
        return m_form->findChild<StyleLayer*>(QStringLiteral("Picture2(%1)").arg(look));
    }
    // The letters' pixels that lie inside the strip, on the desktop.
    QRegion shownInStrip() const
    {
        return m_form->shape().translated(m_form->pos()) & m_form->stripGeometry();
    }
    QString caption() const { return m_form->findChild<QLabel*>(QStringLiteral("Label1"))->text(); }
    // What the alarm trigger does when an alarm with this text fires.
    // Fires `slot` with the text, as the engine does.
    void fire(const QString& text, int slot = 0);
    // Calls the handler of the one running timer; false when none or several run.
    bool tick();
    // Ticks until the phase changes; returns the number of ticks.
    int runPhase();

    CaptionQueue m_queue;
    FixedAppearance m_appearance;
    std::unique_ptr<Form2> m_form;
};

void Form2Test::init()
{
    m_queue = CaptionQueue();
    m_appearance.set(FixedAppearance::preset());
    m_form = std::make_unique<Form2>(m_queue, m_appearance);
}

void Form2Test::cleanup()
{
    m_form.reset();
}

void Form2Test::fire(const QString& text, int slot)
{
    if (m_queue.append(slot, text))
        m_form->SetCap(text);
    m_form->showOverlay();
    if (!m_form->cycleRunning())
        m_form->startSlideIn();
}

bool Form2Test::tick()
{
    QList<int> running;
    for (int n = 1; n <= 3; ++n)
        if (timer(n)->isActive())
            running.append(n);
    if (running.size() != 1)
        return false;
    if (running[0] == 1)
        m_form->Timer1_Timer();
    else if (running[0] == 2)
        m_form->Timer2_Timer();
    else
        m_form->Timer3_Timer();
    return true;
}

int Form2Test::runPhase()
{
    const Phase start = m_form->phase();
    int ticks = 0;
    while (m_form->phase() == start && ticks < 100000 && tick())
        ++ticks;
    return ticks;
}

void Form2Test::startsAsAnIdleStripPastTheRightEdge()
{
    const int width = screenWidth();
    QVERIFY(m_form->isVisible());
    QCOMPARE(m_form->stripGeometry(), QRect(0, 400, width, 80));
    // Nothing rendered: the window is a sliver at the panel's left edge, past the strip's end.
    QCOMPARE(m_form->geometry(), QRect(width, 400, 1, 80));
    const Qt::WindowFlags flags = m_form->windowFlags();
    QVERIFY(flags.testFlag(Qt::FramelessWindowHint));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::WindowDoesNotAcceptFocus));
    QVERIFY(flags.testFlag(Qt::BypassWindowManagerHint));
    QVERIFY(m_form->windowTitle() != QStringLiteral("Quorvel"));
    QVERIFY(m_form->testAttribute(Qt::WA_ShowWithoutActivating));
    QCOMPARE(m_form->palette().color(QPalette::Window), QColor(128, 0, 128));

    QCOMPARE(m_form->panelLeft(), width);
    QCOMPARE(child("Picture3")->geometry(), QRect(0, 0, width, 80));
    QVERIFY(child("Picture2(0)")->isVisibleTo(m_form.get()));
    QVERIFY(!layer(1)->isLit());
    QCOMPARE(child("Picture2(1)")->parentWidget(), child("Picture3"));
    QVERIFY(!child("Label1")->isVisibleTo(m_form.get()));
    QCOMPARE(caption(), QStringLiteral("11111111111"));

    const QList<int> intervals{10, 100, 10};
    for (int n = 1; n <= 3; ++n) {
        QCOMPARE(timer(n)->interval(), intervals[n - 1]);
        QVERIFY(!timer(n)->isActive());
    }
    QVERIFY(!m_form->cycleRunning());
    QCOMPARE(m_form->BlinkCount(), qint16(0));
    // Nothing rendered yet: the shape holds no pixel of the strip, yet is not "unshaped".
    QVERIFY(!m_form->mask().isEmpty());
    QVERIFY(m_form->mask().intersected(m_form->rect()).isEmpty());
}

void Form2Test::opacityAndFontComeFromTheAppearance()
{
    QCOMPARE(m_form->windowOpacity(), 1.0);
    m_appearance.setOpacity(51);
    QCOMPARE(m_form->windowOpacity(), 0.2);

    const QFont initial = child("Label1")->font();
    QCOMPARE(initial.family(), QStringLiteral("WenQuanYi Micro Hei"));
    m_appearance.setFontName(QStringLiteral("WenQuanYi Micro Hei Mono"));
    const QFont font = child("Label1")->font();
    QCOMPARE(font.family(), QStringLiteral("WenQuanYi Micro Hei Mono"));
    QCOMPARE(font.pointSize(), 48);
    QVERIFY(font.bold());
    QCOMPARE(font.styleStrategy(), QFont::NoAntialias);
}

void Form2Test::shapeIsTheVisibleLookAndMovesWithTheWindow()
{
    fire(QStringLiteral("提醒 Shape"));
    QVERIFY(shownInStrip().isEmpty()); // panel still past the edge
    for (int i = 0; i < 20; ++i)
        m_form->Timer1_Timer();
    const QRegion before = m_form->shape();
    const QPoint at = m_form->pos();
    m_form->Timer1_Timer();
    QCOMPARE(m_form->shape(), before);
    QCOMPARE(m_form->pos(), at - QPoint(5, 0));
    QCOMPARE(m_form->mask(), before);

    runPhase();
    QCOMPARE(m_form->phase(), Phase::Blinking);
    QCOMPARE(m_form->panelLeft(), -5);
    // The window is the letters' box, centred in the panel that rests at -5.
    const int capWidth = m_form->CapWidth();
    QCOMPARE(m_form->geometry(), QRect(-5 + (screenWidth() - capWidth) / 2, 400, capWidth, 80));
    // Every window pixel is in the shape exactly when the visible look shows a letter there.
    const auto checkShape = [&](int look) {
        const QImage layer = m_form->layerImage(look);
        const int offset =
            child(look == 0 ? "Picture2(0)" : "Picture2(1)")->mapTo(m_form.get(), QPoint()).x();
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < m_form->width(); ++x) {
                const QPoint at(x - offset, y);
                const bool letter = layer.valid(at) && layer.pixel(at) != CaptionPainter::kKeyColour;
                if (m_form->shape().contains(QPoint(x, y)) != letter)
                    return false;
            }
        }
        return true;
    };
    QVERIFY(checkShape(0));
    m_form->Timer2_Timer(); // P2 shows
    QVERIFY(layer(1)->isLit());
    QVERIFY(checkShape(1));
}

void Form2Test::captionWiderThanTheScreenKeepsToThePanel()
{
    QString text;
    while (m_form->CapWidth() <= screenWidth()) {
        text += QStringLiteral("很长的提醒");
        m_form->SetCap(text);
    }
    fire(text);
    runPhase();
    // Both ends lie outside the panel; the window is the panel and shows no letter beyond it.
    QCOMPARE(m_form->geometry(), QRect(-5, 400, screenWidth(), 80));
    QVERIFY(QRect(0, 0, screenWidth(), 80).contains(m_form->shape().boundingRect()));
}

void Form2Test::oneTimerAtATimeThroughAWholeCycle()
{
    const int width = screenWidth();
    fire(QStringLiteral("A"));
    QVERIFY(timer(1)->isActive());
    runPhase();
    QCOMPARE(m_form->panelLeft(), -5);
    QVERIFY(timer(2)->isActive());

    QCOMPARE(runPhase(), 22);
    QVERIFY(timer(3)->isActive());
    QVERIFY(!layer(1)->isLit());
    QCOMPARE(m_form->BlinkCount(), qint16(0));

    runPhase();
    QVERIFY(timer(1)->isActive());
    QVERIFY(!timer(2)->isActive() && !timer(3)->isActive());
    QCOMPARE(m_form->panelLeft(), width - 8);
    QCOMPARE(m_form->width(), m_form->CapWidth());
}

void Form2Test::emptiedQueueEndsTheCycleAndIdles()
{
    fire(QStringLiteral("A"));
    const QImage letters = m_form->layerImage(0);
    runPhase();
    for (int i = 0; i < 5; ++i)
        m_form->Timer2_Timer();
    m_queue.remove(0);
    runPhase();
    runPhase();

    QCOMPARE(m_form->phase(), Phase::Idle);
    QVERIFY(!m_form->cycleRunning());
    QCOMPARE(m_form->panelLeft(), screenWidth() - 8);
    QCOMPARE(caption(), QStringLiteral("A"));
    QCOMPARE(m_form->layerImage(0), letters);
    // The strip shows none of the letters any more.
    QVERIFY(shownInStrip().isEmpty());
}

void Form2Test::changedAppearanceRendersOnceAtTheNextCycle()
{
    fire(QStringLiteral("A"));
    const Appearance old = m_appearance.value();
    m_appearance.setColour(1, colourValue(200, 100, 50));
    // The letters change only at the cycle's end.
    QVERIFY(hasColour(m_form->layerImage(0), swatch(old, 1)));

    for (int i = 0; i < 3; ++i)
        runPhase();
    QCOMPARE(m_form->phase(), Phase::SlidingIn);
    QCOMPARE(caption(), QStringLiteral("A"));
    QVERIFY(hasColour(m_form->layerImage(0), swatch(m_appearance.value(), 1)));
    QVERIFY(!hasColour(m_form->layerImage(0), swatch(old, 1)));

    // Without a change the same text is not rendered again.
    const qint64 rendered = m_form->canvas().cacheKey();
    for (int i = 0; i < 3; ++i)
        runPhase();
    QCOMPARE(m_form->phase(), Phase::SlidingIn);
    QCOMPARE(m_form->canvas().cacheKey(), rendered);

    // A rendering by the alarm trigger keeps the change pending: the next cycle renders again.
    m_appearance.setColour(1, colourValue(1, 2, 3));
    fire(QStringLiteral("B"), 1);
    QVERIFY(hasColour(m_form->layerImage(0), qRgb(1, 2, 3)));
    m_queue.remove(0);
    const qint64 byTrigger = m_form->canvas().cacheKey();
    for (int i = 0; i < 3; ++i)
        runPhase();
    QCOMPARE(caption(), QStringLiteral("B"));
    QVERIFY(m_form->canvas().cacheKey() != byTrigger);
}

void Form2Test::newAlarmDuringACycleLeavesTheTimersAlone()
{
    fire(QStringLiteral("A"));
    runPhase();
    for (int i = 0; i < 7; ++i)
        m_form->Timer2_Timer();
    const int left = m_form->panelLeft();

    fire(QStringLiteral("B"), 1);
    QVERIFY(!timer(1)->isActive() && timer(2)->isActive() && !timer(3)->isActive());
    QCOMPARE(m_form->panelLeft(), left);
    QCOMPARE(m_form->BlinkCount(), qint16(7));
    QCOMPARE(caption(), QStringLiteral("B")); // new letters at once
    // The already queued text is neither queued nor rendered again.
    const QImage letters = m_form->layerImage(0);
    fire(QStringLiteral("A"));
    QCOMPARE(caption(), QStringLiteral("B"));
    QCOMPARE(m_form->layerImage(0), letters);
    QCOMPARE(m_queue.texts(), (QStringList{"A", "B"}));
}

void Form2Test::aHeldStripKeepsItsPhase()
{
    fire(QStringLiteral("A"));
    m_form->holdStill(true);
    QVERIFY(!timer(1)->isActive());
    while (m_form->phase() == Phase::SlidingIn)
        m_form->Timer1_Timer();
    // Stepped by hand through a change of phase, the strip still runs its cycle, no timer ticks.
    QCOMPARE(m_form->phase(), Phase::Blinking);
    QVERIFY(m_form->cycleRunning());
    QVERIFY(!timer(1)->isActive() && !timer(2)->isActive() && !timer(3)->isActive());
    fire(QStringLiteral("B"), 1);
    QCOMPARE(m_form->phase(), Phase::Blinking);

    m_form->holdStill(false);
    QVERIFY(!timer(1)->isActive() && timer(2)->isActive() && !timer(3)->isActive());
}

void Form2Test::pressesOnLettersAskForTheOtherWindows()
{
    fire(QStringLiteral("点我"));
    QSignalSpy dialog(m_form.get(), &Form2::appearanceDialogRequested);
    QSignalSpy mainWindow(m_form.get(), &Form2::mainWindowRequested);
    QWidget* p1 = child("Picture2(0)");
    const QPoint letter = firstLetterPixel(m_form->layerImage(0));
    QVERIFY(letter.x() >= 0);

    QTest::mouseClick(p1, Qt::RightButton, {}, letter);
    QCOMPARE(dialog.count(), 1);
    QCOMPARE(mainWindow.count(), 0);
    QTest::mouseClick(p1, Qt::LeftButton, {}, letter);
    QCOMPARE(mainWindow.count(), 1);
    QTest::mouseClick(p1, Qt::MiddleButton, {}, letter);
    // A see-through pixel takes no click.
    QTest::mouseClick(p1, Qt::RightButton, {}, QPoint(0, 0));
    QTest::mouseClick(p1, Qt::LeftButton, {}, QPoint(0, 0));
    QCOMPARE(dialog.count(), 1);
    QCOMPARE(mainWindow.count(), 1);

    // The P2 look takes clicks the same way while it shows.
    runPhase();
    m_form->Timer2_Timer();
    QTest::mouseClick(child("Picture2(1)"), Qt::RightButton, {}, firstLetterPixel(m_form->layerImage(1)));
    QCOMPARE(dialog.count(), 2);
}

void Form2Test::realTimersRunTheCycle()
{
    fire(QStringLiteral("A"));
    QTRY_VERIFY_WITH_TIMEOUT(timer(2)->isActive(), 20000);
    QCOMPARE(m_form->panelLeft(), -5);
    m_queue.remove(0);
    QTRY_VERIFY_WITH_TIMEOUT(!m_form->cycleRunning(), 20000);
    QCOMPARE(m_form->panelLeft(), screenWidth() - 8);
}

QTEST_MAIN(Form2Test)
#include "tst_form2.moc"

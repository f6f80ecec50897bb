#include "overlay/CaptionQueue.h"
#include "overlay/CaptionStep.h"
#include "overlay/OverlayCycle.h"

#include <QTest>

using Phase = OverlayCycle::Phase;

namespace {

// Plays the window's part: the caption step over a real queue, recording what it rendered.
class FakeCycleHost : public OverlayCycle::Host
{
public:
    int screenWidth() const override { return width; }
    void PosTop() override { ++posTops; }
    bool captionStep() override
    {
        ++steps;
        const CaptionStep step = CaptionStep::next(current, queue.texts(), mark);
        if (step.action == CaptionStep::Action::RenderText) {
            current = step.text;
            rendered.append(step.text);
            mark = QStringLiteral("s");
        }
        return step.action != CaptionStep::Action::GoIdle;
    }
    void phaseChanged(Phase from, Phase to) override { changes.append({from, to}); }

    int width = 1280;
    QList<QPair<Phase, Phase>> changes;
    int posTops = 0;
    int steps = 0;
    CaptionQueue queue;
    QString current = QStringLiteral("11111111111");
    QString mark;
    QStringList rendered;
};

// Fires the timer of the running phase, as the event loop would; false when idle.
bool tick(OverlayCycle& cycle)
{
    switch (cycle.phase()) {
    case Phase::SlidingIn:
        cycle.Timer1_Timer();
        return true;
    case Phase::Blinking:
        cycle.Timer2_Timer();
        return true;
    case Phase::SlidingOut:
        cycle.Timer3_Timer();
        return true;
    case Phase::Idle:
        break;
    }
    return false;
}

// Ticks until the phase changes; returns the number of ticks.
int runPhase(OverlayCycle& cycle)
{
    const Phase start = cycle.phase();
    int ticks = 0;
    while (cycle.phase() == start && ticks < 100000) {
        if (!tick(cycle))
            break;
        ++ticks;
    }
    return ticks;
}

} // namespace

class OverlayCycleTest : public QObject
{
    Q_OBJECT

private slots:
    void slideInRestsAtMinusFive_data();
    void slideInRestsAtMinusFive();
    void blinkTogglesTwentyOneTimes();
    void slideOutRestartsAtWidthMinusEight();
    void goesIdleWhenTheQueueEmpties();
    void cyclesThroughTheQueue();
    void restartTakesTheNewScreenWidth();
};

void OverlayCycleTest::slideInRestsAtMinusFive_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("startLeft");
    QTest::addColumn<int>("ticks");
    QTest::newRow("1280 from load") << 1280 << 1280 << 257;
    QTest::newRow("1283 from load") << 1283 << 1283 << 258;
    QTest::newRow("1366 after a cycle") << 1366 << 1358 << 273;
    QTest::newRow("3 from load") << 3 << 3 << 2;
}

void OverlayCycleTest::slideInRestsAtMinusFive()
{
    QFETCH(int, width);
    QFETCH(int, startLeft);
    QFETCH(int, ticks);
    FakeCycleHost host;
    host.width = width;
    OverlayCycle cycle(host);
    cycle.load(width);
    if (startLeft != width) {
        // Run one empty cycle so the panel ends at width - 8.
        cycle.startSlideIn();
        while (cycle.running())
            tick(cycle);
    }
    QCOMPARE(cycle.panelLeft(), startLeft);

    cycle.startSlideIn();
    QCOMPARE(cycle.phase(), Phase::SlidingIn);
    QCOMPARE(runPhase(cycle), ticks);
    QCOMPARE(cycle.phase(), Phase::Blinking);
    QCOMPARE(cycle.panelLeft(), -5);
}

void OverlayCycleTest::blinkTogglesTwentyOneTimes()
{
    FakeCycleHost host;
    OverlayCycle cycle(host);
    cycle.load(1280);
    cycle.startSlideIn();
    runPhase(cycle);
    QCOMPARE(cycle.phase(), Phase::Blinking);

    for (int toggle = 1; toggle <= 21; ++toggle) {
        cycle.Timer2_Timer();
        QCOMPARE(cycle.p2Visible(), toggle % 2 == 1);
        QCOMPARE(cycle.BlinkCount(), qint16(toggle));
        QCOMPARE(cycle.phase(), Phase::Blinking);
    }
    cycle.Timer2_Timer();
    QCOMPARE(cycle.phase(), Phase::SlidingOut);
    QVERIFY(!cycle.p2Visible());
    QCOMPARE(cycle.BlinkCount(), qint16(0));
    QCOMPARE(cycle.panelLeft(), -5);
}

void OverlayCycleTest::slideOutRestartsAtWidthMinusEight()
{
    FakeCycleHost host;
    host.queue.append(0, QStringLiteral("A"));
    host.current = QStringLiteral("A");
    OverlayCycle cycle(host);
    cycle.load(1280);
    cycle.startSlideIn();
    runPhase(cycle);
    runPhase(cycle);
    QCOMPARE(cycle.phase(), Phase::SlidingOut);

    // From -5 in steps of 8: -1277 is the last position right of -1280, then -1285.
    QCOMPARE(runPhase(cycle), 161);
    QCOMPARE(cycle.phase(), Phase::SlidingIn);
    QCOMPARE(cycle.panelLeft(), 1280 - 8);
    QCOMPARE(cycle.panelWidth(), 1280);
    QCOMPARE(host.posTops, 1);
    QCOMPARE(host.steps, 1);
    QVERIFY(host.rendered.isEmpty()); // the only text is already shown
    // The host heard each change once, the restart as one step.
    using Change = QPair<Phase, Phase>;
    QCOMPARE(host.changes, (QList<Change>{{Phase::Idle, Phase::SlidingIn},
                                          {Phase::SlidingIn, Phase::Blinking},
                                          {Phase::Blinking, Phase::SlidingOut},
                                          {Phase::SlidingOut, Phase::SlidingIn}}));
}

void OverlayCycleTest::goesIdleWhenTheQueueEmpties()
{
    FakeCycleHost host;
    host.queue.append(0, QStringLiteral("A"));
    host.current = QStringLiteral("A");
    host.width = 1000;
    OverlayCycle cycle(host);
    cycle.load(1000);
    cycle.startSlideIn();
    runPhase(cycle);
    host.queue.remove(0); // dismissed while blinking
    runPhase(cycle);
    QCOMPARE(cycle.phase(), Phase::SlidingOut); // the cycle runs to its end
    runPhase(cycle);

    QCOMPARE(cycle.phase(), Phase::Idle);
    QVERIFY(!cycle.running());
    QCOMPARE(host.changes.last(), qMakePair(Phase::SlidingOut, Phase::Idle));
    QCOMPARE(cycle.panelLeft(), 1000 - 8);
    QCOMPARE(host.posTops, 1);
    QCOMPARE(host.current, QStringLiteral("A")); // the letters stay as they were
}

void OverlayCycleTest::cyclesThroughTheQueue()
{
    FakeCycleHost host;
    for (const char* text : {"A", "B", "C"})
        host.queue.append(text[0] - 'A', QString::fromLatin1(text));
    host.current = QStringLiteral("A");
    OverlayCycle cycle(host);
    cycle.load(800);
    cycle.startSlideIn();
    for (int i = 0; i < 4 * 3; ++i)
        runPhase(cycle); // four whole cycles

    QCOMPARE(host.rendered, (QStringList{"B", "C", "A", "B"}));
    QCOMPARE(cycle.phase(), Phase::SlidingIn);
}

void OverlayCycleTest::restartTakesTheNewScreenWidth()
{
    FakeCycleHost host;
    host.queue.append(0, QStringLiteral("A"));
    OverlayCycle cycle(host);
    cycle.load(1280);
    cycle.startSlideIn();
    runPhase(cycle);
    runPhase(cycle);
    host.width = 1920;
    runPhase(cycle);
    QCOMPARE(cycle.panelWidth(), 1920);
    QCOMPARE(cycle.panelLeft(), 1920 - 8);
}

QTEST_APPLESS_MAIN(OverlayCycleTest)
#include "tst_overlaycycle.moc"

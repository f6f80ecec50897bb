#include "overlay/CaptionStep.h"
#include "overlay/GradientTable.h"

#include <QTest>

using Action = CaptionStep::Action;
Q_DECLARE_METATYPE(CaptionStep::Action)

class CaptionStepTest : public QObject
{
    Q_OBJECT

private slots:
    void step_data();
    void step();
    void gradientWeightsFollowTheRamp();
    void rowColoursOfBothLooks();
};

void CaptionStepTest::step_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QStringList>("queue");
    QTest::addColumn<QString>("mark");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("text");

    const QStringList abc{"A", "B", "C"};
    QTest::newRow("A then B") << "A" << abc << "" << Action::RenderText << "B";
    QTest::newRow("B then C") << "B" << abc << "s" << Action::RenderText << "C";
    QTest::newRow("C wraps to A") << "C" << abc << "" << Action::RenderText << "A";
    QTest::newRow("first rendering") << "11111111111" << abc << "" << Action::RenderText << "A";
    QTest::newRow("dismissed current gives first")
        << "B" << QStringList{"A", "C"} << "" << Action::RenderText << "A";
    QTest::newRow("whole match, not suffix")
        << "B" << QStringList{"AB", "B"} << "" << Action::RenderText << "AB";
    QTest::newRow("prefix is not queued")
        << "A" << QStringList{"AB", "C"} << "" << Action::RenderText << "AB";
    QTest::newRow("case-sensitive") << "a" << QStringList{"A"} << "" << Action::RenderText << "A";
    QTest::newRow("alone keeps its letters") << "A" << QStringList{"A"} << "s" << Action::KeepLetters << "";
    QTest::newRow("alone, appearance changed") << "A" << QStringList{"A"} << "c" << Action::RenderText << "A";
    QTest::newRow("changed mark with another text") << "A" << abc << "c" << Action::RenderText << "B";
    QTest::newRow("empty queue") << "A" << QStringList{} << "c" << Action::GoIdle << "";
    QTest::newRow("empty queue at start") << "11111111111" << QStringList{} << "" << Action::GoIdle << "";
    // "/" is an ordinary character of a text.
    const QStringList withSlash{"会议 3/15", "Z"};
    QTest::newRow("slash text, then the next") << "会议 3/15" << withSlash << "" << Action::RenderText << "Z";
    QTest::newRow("wraps to a slash text") << "Z" << withSlash << "" << Action::RenderText << "会议 3/15";
    QTest::newRow("slash text alone keeps its letters")
        << "a/b" << QStringList{"a/b"} << "s" << Action::KeepLetters << "";
    QTest::newRow("a piece is no queued text")
        << "15" << withSlash << "" << Action::RenderText << "会议 3/15";
    QTest::newRow("Chinese texts") << QStringLiteral("起床") << QStringList{"起床", "开会"} << ""
                                   << Action::RenderText << QStringLiteral("开会");
}

void CaptionStepTest::step()
{
    QFETCH(QString, current);
    QFETCH(QStringList, queue);
    QFETCH(QString, mark);
    QFETCH(Action, action);
    QFETCH(QString, text);

    const CaptionStep result = CaptionStep::next(current, queue, mark);
    QCOMPARE(result.action, action);
    if (action == Action::RenderText)
        QCOMPARE(result.text, text);
}

void CaptionStepTest::gradientWeightsFollowTheRamp()
{
    const QList<int> rising{0,   4,   10,  16,  23,  30,  40,  49,  58,  67,  78,
                            88,  100, 110, 121, 132, 143, 154, 165, 175, 185, 196,
                            204, 213, 221, 228, 235, 241, 246, 250, 252, 254, 255};
    const QList<int> falling{255, 254, 252, 249, 245, 239, 233, 225, 217, 208, 198,
                             189, 178, 167, 156, 144, 134, 123, 113, 102, 92,  82,
                             72,  63,  54,  44,  37,  29,  21,  15,  9,   4,   0};
    for (int row = 0; row < 8; ++row)
        QCOMPARE(GradientTable::weight(row), 0);
    for (int i = 0; i < rising.size(); ++i)
        QCOMPARE(GradientTable::weight(8 + i), rising[i]);
    for (int i = 0; i < falling.size(); ++i)
        QCOMPARE(GradientTable::weight(40 + i), falling[i]);
    for (int row = 73; row < 80; ++row)
        QCOMPARE(GradientTable::weight(row), 0);
    QCOMPARE(GradientTable::weight(-1), 0);
    QCOMPARE(GradientTable::weight(80), 0);
}

void CaptionStepTest::rowColoursOfBothLooks()
{
    const auto rgb = [](GradientTable::RowColour c) { return QList<int>{c.red, c.green, c.blue}; };
    QCOMPARE(rgb(GradientTable::rowColour(0, 0)), (QList<int>{255, 0, 0}));
    QCOMPARE(rgb(GradientTable::rowColour(0, 40)), (QList<int>{255, 255, 0}));
    QCOMPARE(rgb(GradientTable::rowColour(0, 19)), (QList<int>{255, 88, 0}));
    QCOMPARE(rgb(GradientTable::rowColour(1, 0)), (QList<int>{0, 0, 0}));
    QCOMPARE(rgb(GradientTable::rowColour(1, 40)), (QList<int>{60, 255, 0}));
    // 60 * 88 / 255 = 20.7 and 60 * 44 / 255 = 10.35: rounded to nearest.
    QCOMPARE(rgb(GradientTable::rowColour(1, 19)), (QList<int>{21, 88, 0}));
    QCOMPARE(rgb(GradientTable::rowColour(1, 65)), (QList<int>{10, 44, 0}));
}

QTEST_APPLESS_MAIN(CaptionStepTest)
#include "tst_captionstep.moc"

#include "ProgramSession.h"

#include <QImage>
#include <QProcess>
#include <QTest>
#include <QTime>

using namespace XDesktop;

namespace {

const QPoint kRow0(60, 16);
const QPoint kChange(48, 152); // "更改"
const QPoint kSlogan(150, 41); // Tslogan, inside the editor panel
const QPoint kOk(272, 152);    // "好"

// Long enough that the strip's letters reach past the main window on either side.
const QString kOld = QString(24, QLatin1Char('A'));
const QString kNew = QString(24, QLatin1Char('B'));

void xdotool(const QStringList& arguments)
{
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

void clickMain(const QPoint& point)
{
    click(mainWindow()->geometry.topLeft() + point);
}

// Pixels of the band that differ from the empty screen, outside the main window.
int letterPixels(const QImage& empty, const QRect& band, const QRect& mainWindow)
{
    const QImage shot = screenshot();
    int count = 0;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            if (!mainWindow.contains(x, y) && shot.pixel(x, y) != empty.pixel(x, y))
                ++count;
    return count;
}

} // namespace

// An alarm that rings while the user edits it: what the strip shows follows what rings.
class TestRingingDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void savedTextOfARingingAlarmLeavesTheStrip();
};

void TestRingingDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
}

// The editor is open on the alarm when it fires; its text is changed and saved, then the blinking
// row is clicked. Once the strip's cycle has ended, the band stays empty.
void TestRingingDesktop::savedTextOfARingingAlarmLeavesTheStrip()
{
    // Far enough from the minute's end to open the editor before the alarm is due.
    QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().second() < 45, 20000);
    ProgramSession session;
    session.seed(QStringLiteral("elect"), QStringLiteral("0"), QStringLiteral("1"));
    const QString due = QTime::currentTime().addSecs(60).toString(QStringLiteral("HH:mm"));
    session.seed(QStringLiteral("time"), QStringLiteral("0"), due);
    session.seed(QStringLiteral("slogan"), QStringLiteral("0"), kOld);
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    clickMain(kRow0);
    clickMain(kChange);
    const QRect main = mainWindow()->geometry;
    const QImage empty = screenshot();

    QTRY_VERIFY_WITH_TIMEOUT(strip() && strip()->viewable, 90000);
    const QRect band(0, strip()->geometry.top(), empty.width(), 80);
    // The letters enter from the right edge; on a loaded machine each picture takes a while.
    QTRY_VERIFY_WITH_TIMEOUT(letterPixels(empty, band, main) > 100, 40000);

    // Saved within its minute, the alarm would fire again with the new text.
    QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().toString(QStringLiteral("HH:mm")) != due, 65000);
    clickMain(kSlogan);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("50"), kNew});
    clickMain(kOk);
    QTRY_COMPARE_WITH_TIMEOUT(session.setting(QStringLiteral("slogan"), QStringLiteral("0")), kNew, 10000);
    clickMain(kRow0);

    // The cycle under way ends; no later one brings a text back.
    QTRY_COMPARE_WITH_TIMEOUT(letterPixels(empty, band, main), 0, 40000);
    for (int shot = 0; shot < 20; ++shot) {
        QCOMPARE(letterPixels(empty, band, main), 0);
        QTest::qWait(1000);
    }
    QVERIFY(session.isRunning());
}

QTEST_GUILESS_MAIN(TestRingingDesktop)
#include "tst_ringing_desktop.moc"

#include "ProgramSession.h"
#include "SessionBus.h"

#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <QTime>
#include <array>

using namespace XDesktop;

namespace {

const QPoint kRow0(60, 16);
const QPoint kRow1(60, 28);
const QString kText = QStringLiteral("起床啦");

bool has(const QList<QJsonObject>& events, const QString& type, const QString& role, const QString& name)
{
    for (const QJsonObject& event : events) {
        if (event.value("type").toString() == type && event.value("role").toString() == role &&
            event.value("name").toString() == name &&
            (event.value("detail1").toInt() == 1 || !type.contains(QLatin1String("showing"))))
            return true;
    }
    return false;
}

QJsonObject node(const QList<QJsonObject>& tree, const QString& role, const QString& name)
{
    for (const QJsonObject& node : tree) {
        if (node.value("role").toString() == role && node.value("name").toString() == name)
            return node;
    }
    return {};
}

// Whether row 0 of the list shows the bar's line, magenta on white (its smoothed edges paler).
bool barLit()
{
    const QRect row(mainWindow()->geometry.topLeft() + QPoint(12, 10), QSize(300, 12));
    const QImage shot = screenshot();
    for (int y = row.top(); y <= row.bottom(); ++y) {
        for (int x = row.left(); x <= row.right(); ++x) {
            const QRgb pixel = shot.pixel(x, y);
            if (qRed(pixel) == 255 && qBlue(pixel) == 255 && qGreen(pixel) < 160)
                return true;
        }
    }
    return false;
}

} // namespace

// The program as a screen reader hears it while an alarm rings and is dismissed by keyboard.
class TestScreenReaderDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void ringingAlarmIsHeard();
};

void TestScreenReaderDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
}

void TestScreenReaderDesktop::ringingAlarmIsHeard()
{
    // Far enough from the minute's end to be listening before the alarm is due.
    QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().second() < 45, 20000);
    SessionBus bus;
    QVERIFY(bus.start());
    QVERIFY(bus.startScreenReader());
    ProgramSession session;
    const QString due = QTime::currentTime().addSecs(60).toString(QStringLiteral("HH:mm"));
    session.seed(QStringLiteral("elect"), QStringLiteral("0"), QStringLiteral("1"));
    session.seed(QStringLiteral("time"), QStringLiteral("0"), due);
    session.seed(QStringLiteral("slogan"), QStringLiteral("0"), kText);
    session.setEnvironment(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    QVERIFY(session.start());
    const qint64 pid = session.process().processId();
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 10000);
    // A click on a row keeps the window from hiding into the tray.
    click(mainWindow()->geometry.topLeft() + kRow1);

    // Every field of the main window and the editor has its name, once the program is on the bus.
    QList<QJsonObject> tree;
    QTRY_VERIFY_WITH_TIMEOUT(
        !node(tree = bus.accessibleTree(pid), QStringLiteral("frame"), QStringLiteral("Quorvel")).isEmpty(),
        20000);
    QSet<QString> names;
    for (const QJsonObject& node : tree)
        names.insert(node.value("name").toString());
    for (const char* name : {"闹钟列表", "时间", "年", "月", "日", "小时", "分钟", "提示语", "铃声", "操作",
                             "星期日", "星期三", "星期六", "开启", "开机启动", "好", "取消", "更改"})
        QVERIFY2(names.contains(QString::fromUtf8(name)), name);
    QVERIFY(!node(tree, QStringLiteral("text"), QStringLiteral("时间")).isEmpty());
    QVERIFY(!node(tree, QStringLiteral("combo box"), QStringLiteral("年")).isEmpty());

    const qsizetype steady = bus.screenReaderEvents().size();
    const QString rings = QStringLiteral("闹钟响铃：%1 %2").arg(due, kText);
    QTRY_VERIFY_WITH_TIMEOUT(has(bus.screenReaderEvents(), "object:state-changed:showing", "alert", rings),
                             90000);
    const QString line = QStringLiteral("[开 %1] %2").arg(due, kText);
    QTRY_VERIFY_WITH_TIMEOUT(
        has(bus.screenReaderEvents(), "object:property-change:accessible-description", "list item", line),
        10000);
    QCOMPARE(node(bus.accessibleTree(pid), QStringLiteral("list item"), line).value("description").toString(),
             QStringLiteral("正在响铃"));
    QVERIFY(!node(bus.accessibleTree(pid), QStringLiteral("notification"), kText).isEmpty());

    // The row blinks on screen. Pictures take about as long as a blink, so their spacing varies:
    // they cannot keep step with it.
    std::array<bool, 2> seen{};
    for (int shot = 0; shot < 60 && !(seen[0] && seen[1]); ++shot) {
        seen[barLit()] = true;
        QTest::qWait(37 * (shot % 11));
    }
    QVERIFY(seen[0] && seen[1]);
    // The keyboard moves onto the ringing row.
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Up")});
    QTRY_VERIFY_WITH_TIMEOUT(has(bus.screenReaderEvents(), "object:state-changed:showing", "alert",
                                 QStringLiteral("闹钟已停止：%1 %2").arg(due, kText)),
                             10000);
    QCOMPARE(node(bus.accessibleTree(pid), QStringLiteral("list item"), line).value("description").toString(),
             QStringLiteral("已停止"));

    // Nothing in the main window showed or hid, and no decoration anywhere: the blinking bars and
    // the strip's flashing letters were silent.
    const QList<QJsonObject> events = bus.screenReaderEvents().mid(steady);
    for (const QJsonObject& event : events) {
        if (!event.value("type").toString().endsWith(QLatin1String("showing")))
            continue;
        const QString role = event.value("role").toString();
        QVERIFY2(event.value("window").toString() != QLatin1String("Quorvel"), qPrintable(role));
        QVERIFY2(role != QLatin1String("filler"), qPrintable(event.value("name").toString()));
    }
    QVERIFY(session.isRunning());
}

QTEST_GUILESS_MAIN(TestScreenReaderDesktop)
#include "tst_screenreader_desktop.moc"

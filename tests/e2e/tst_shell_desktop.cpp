#include "ProgramSession.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace XDesktop;

namespace {

// Client-area points of the main window's controls, in pixels.
const QPoint kRow0(60, 16);
const QPoint kChange(48, 152);  // "更改"
const QPoint kExit(288, 152);   // "退出"
const QPoint kCheck2(30, 152);  // "开机启动", inside the editor panel
const QPoint kCancel(160, 152); // "取消", inside the editor panel

// The frame's top-left corner lies at (350, 350); the client area starts inside the decoration.
bool placedAtTheUsualPoint()
{
    const QPoint client = mainWindow()->geometry.topLeft();
    return client.x() >= 350 && client.x() <= 360 && client.y() >= 350 && client.y() <= 380;
}

void clickMain(const QPoint& point)
{
    click(mainWindow()->geometry.topLeft() + point);
}

// Opens the editor on the first row, flips "开机启动" and closes the editor without saving.
void toggleAutostartBox()
{
    clickMain(kRow0);
    clickMain(kChange);
    clickMain(kCheck2);
    clickMain(kCancel);
}

} // namespace

// The real program in the test desktop: tray, hiding, the second copy and closing.
class TestShellDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void hidesIntoTrayAndComesBack();
    void secondCopyHandsOver();
    void closingStoresChangedAutostart();
    void exitStoresNothing();
};

void TestShellDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
}

void TestShellDesktop::hidesIntoTrayAndComesBack()
{
    ProgramSession session;
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    QVERIFY(placedAtTheUsualPoint());
    QVERIFY(!iconShown());
    QVERIFY(!otherWindow());

    // Left alone, it hides into the tray after 3 s.
    QTRY_VERIFY_WITH_TIMEOUT(!mainShown(), 6000);
    QTRY_VERIFY_WITH_TIMEOUT(iconShown(), 2000);

    click(trayIcon()->geometry.center());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!iconShown(), 2000);
    QVERIFY(session.isRunning());
}

void TestShellDesktop::secondCopyHandsOver()
{
    ProgramSession session;
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    const QPoint placed = mainWindow()->geometry.topLeft();
    const QString shown = mainWindow()->id;
    QTRY_VERIFY_WITH_TIMEOUT(iconShown() && !mainShown(), 8000);
    // The published handle is the window that was on screen, not one Qt replaced on the way.
    const QString handle = session.setting(QStringLiteral("hwnd"), QStringLiteral("main"));
    QCOMPARE(handle, QString::number(shown.toULongLong(nullptr, 16)));
    QFile file(session.settingsFile());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    QCOMPARE(session.runSecondCopy(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(mainRestored(), 5000);
    QCOMPARE(mainWindow()->geometry.topLeft(), placed);
    // The first copy's icon stays; the second wrote nothing.
    QVERIFY(iconShown());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void TestShellDesktop::closingStoresChangedAutostart()
{
    ProgramSession session;
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    toggleAutostartBox();
    closeWindow(mainWindow()->id);
    QTRY_VERIFY_WITH_TIMEOUT(!session.isRunning(), 5000);

    QCOMPARE(session.setting(QStringLiteral("set"), QStringLiteral("run")), QStringLiteral("1"));
    QFile entry(session.autostartFile());
    QVERIFY(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    QVERIFY(
        text.contains(QStringLiteral("Exec=\"%1/quorvel\"").arg(qEnvironmentVariable("QUORVEL_BUILD_DIR"))));

    // Unticked at the next run: the entry goes away.
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    toggleAutostartBox();
    closeWindow(mainWindow()->id);
    QTRY_VERIFY_WITH_TIMEOUT(!session.isRunning(), 5000);
    QCOMPARE(session.setting(QStringLiteral("set"), QStringLiteral("run")), QStringLiteral("0"));
    QVERIFY(!QFileInfo::exists(session.autostartFile()));
}

void TestShellDesktop::exitStoresNothing()
{
    ProgramSession session;
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    toggleAutostartBox();
    clickMain(kExit);
    QTRY_VERIFY_WITH_TIMEOUT(!session.isRunning(), 5000);
    QCOMPARE(session.process().exitCode(), 0);
    QVERIFY(session.setting(QStringLiteral("set"), QStringLiteral("run")).isNull());
    QVERIFY(!QFileInfo::exists(session.autostartFile()));
}

QTEST_GUILESS_MAIN(TestShellDesktop)
#include "tst_shell_desktop.moc"

#include "support/FormHarness.h"

#include <QApplication>
#include <QTest>
#include <QWindow>

// The main window on a real X server, where the native window can be replaced under Qt.
class Form1DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void publishedHandleFollowsARecreatedWindow();
};

void Form1DesktopTest::publishedHandleFollowsARecreatedWindow()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("needs the xcb platform");
    Harness h;
    Form1& form = h.load();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const auto published = [&h] { return h.store.value(QStringLiteral("hwnd"), QStringLiteral("main")); };
    const QString first = QString::number(form.windowHandle()->winId());
    QCOMPARE(published(), first);

    // X11 replaces the native window when the stays-on-top flag changes.
    form.setWindowFlag(Qt::WindowStaysOnTopHint, false);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(QString::number(form.windowHandle()->winId()) != first);
    QTRY_COMPARE(published(), QString::number(form.windowHandle()->winId()));
}

int main(int argc, char* argv[])
{
    // Without a display the test is skipped rather than failing to start.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Form1DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_form1_desktop.moc"

#include "ProgramSession.h"

#include <QProcess>
#include <QTest>

using namespace XDesktop;

namespace {

void keys(const QStringList& names)
{
    QProcess::execute(QStringLiteral("xdotool"),
                      QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100")} +
                          names);
}

void type(const QString& text)
{
    QProcess::execute(QStringLiteral("xdotool"),
                      {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("50"), text});
}

} // namespace

// The program driven by the keyboard alone, from start to a saved alarm.
class TestKeyboardDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void rowOpenedEditedAndSavedByKeys();
};

void TestKeyboardDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
}

// Enter on a row opens it with the time selected, Enter in the time saves; Esc leaves without
// saving and hands the keyboard back to the list, whose next row Enter opens.
void TestKeyboardDesktop::rowOpenedEditedAndSavedByKeys()
{
    ProgramSession session;
    session.seed(QStringLiteral("time"), QStringLiteral("2"), QStringLiteral("06:15"));
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainRestored(), 10000);

    // The list has the focus first; a key on it keeps the window from hiding into the tray.
    keys({QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Return")});
    type(QStringLiteral("07:45"));
    keys({QStringLiteral("Return")});
    QTRY_COMPARE_WITH_TIMEOUT(session.setting(QStringLiteral("time"), QStringLiteral("2")),
                              QStringLiteral("07:45"), 10000);

    keys({QStringLiteral("Return")});
    type(QStringLiteral("09:00"));
    keys({QStringLiteral("Escape"), QStringLiteral("Down"), QStringLiteral("Return")});
    type(QStringLiteral("05:05"));
    keys({QStringLiteral("Return")});
    QTRY_COMPARE_WITH_TIMEOUT(session.setting(QStringLiteral("time"), QStringLiteral("3")),
                              QStringLiteral("05:05"), 10000);
    QCOMPARE(session.setting(QStringLiteral("time"), QStringLiteral("2")), QStringLiteral("07:45"));
    QVERIFY(session.isRunning());
}

QTEST_GUILESS_MAIN(TestKeyboardDesktop)
#include "tst_keyboard_desktop.moc"

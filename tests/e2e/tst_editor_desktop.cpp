#include "ProgramSession.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

using namespace XDesktop;

namespace {

// Client-area points of the main window's controls, in pixels; the editor panel starts at x 8.
const QPoint kRow0(60, 16);
const QPoint kChange(48, 152);      // "更改"
const QPoint kTimeHours(91, 17);    // Ttime, before its first character
const QPoint kSpinnerTrack(96, 90); // VScroll1's track, over Cml
const QPoint kSpinnerDown(96, 124); // VScroll1's lower arrow, over "星期:"
const QPoint kYear(150, 18);        // Cyy's text
const QPoint kAction(150, 90);      // Cml's text
const QPoint kChooseSound(284, 64); // "设定"
const QPoint kOk(272, 152);         // "好"

void xdotool(const QStringList& arguments)
{
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

// Presses keys one after the other, such as "Tab End".
void keys(const QString& keys)
{
    xdotool(QStringList{QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("100")} +
            keys.split(QLatin1Char(' ')));
}

// xdotool maps each Chinese character to a spare key for a moment; typed faster, Qt may read the
// keyboard map after it was given back and lose the character.
void type(const QString& text)
{
    xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("120"), text});
}

void clickMain(const QPoint& point)
{
    click(mainWindow()->geometry.topLeft() + point);
}

// Clicks a field and replaces its text by typing.
void retype(const QPoint& field, const QString& text)
{
    clickMain(field);
    keys(QStringLiteral("ctrl+a"));
    type(text);
}

bool windowNamed(const QString& name)
{
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                  QLatin1Char('^') + name + QLatin1Char('$')});
    search.waitForFinished(5000);
    return !search.readAllStandardOutput().trimmed().isEmpty();
}

void touch(const QString& file)
{
    QFile f(file);
    f.open(QIODevice::WriteOnly);
}

} // namespace

// The editor panel in the user's hands: keyboard, spinners, typed lists and the file chooser.
class TestEditorDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void keyboardStaysInsideThePanel();
    void spinnersTakeTheirClicks();
    void typedTextStaysAsTyped();
    void soundChooserSpeaksChineseOpensInMusicListsEveryFile();

private:
    void openEditorOnRow0();
    std::unique_ptr<ProgramSession> m_session;
};

void TestEditorDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
}

void TestEditorDesktop::init()
{
    m_session = std::make_unique<ProgramSession>();
}

void TestEditorDesktop::cleanup()
{
    m_session.reset();
}

void TestEditorDesktop::openEditorOnRow0()
{
    QVERIFY(m_session->start());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    clickMain(kRow0);
    clickMain(kChange);
}

void TestEditorDesktop::keyboardStaysInsideThePanel()
{
    ProgramSession& session = *m_session;
    session.seed(QStringLiteral("time"), QStringLiteral("0"), QStringLiteral("08:25"));
    openEditorOnRow0();

    // Once round the panel's nineteen controls and back in the time field, past the hidden list
    // and buttons; the Tab that once reached "退出" is among them.
    keys(QStringList(19, QStringLiteral("Tab")).join(QLatin1Char(' ')));
    type(QStringLiteral("09:41"));
    keys(QStringLiteral("Return"));
    QTRY_COMPARE_WITH_TIMEOUT(session.setting(QStringLiteral("time"), QStringLiteral("0")),
                              QStringLiteral("09:41"), 3000);
    QVERIFY(session.isRunning());
    QVERIFY(mainShown());

    // Closed again, the list takes the keyboard as before: Down selects the second row.
    clickMain(kRow0);
    keys(QStringLiteral("Down"));
    clickMain(kChange);
    keys(QStringLiteral("ctrl+a"));
    type(QStringLiteral("10:05"));
    keys(QStringLiteral("Return"));
    QTRY_COMPARE_WITH_TIMEOUT(session.setting(QStringLiteral("time"), QStringLiteral("1")),
                              QStringLiteral("10:05"), 3000);
}

void TestEditorDesktop::spinnersTakeTheirClicks()
{
    ProgramSession& session = *m_session;
    session.seed(QStringLiteral("time"), QStringLiteral("0"), QStringLiteral("08:25"));
    openEditorOnRow0();

    clickMain(kTimeHours);
    clickMain(kSpinnerTrack); // large step: 11
    clickMain(kSpinnerDown);  // small step: 12
    clickMain(kOk);
    QTRY_COMPARE_WITH_TIMEOUT(session.setting(QStringLiteral("time"), QStringLiteral("0")),
                              QStringLiteral("12:25"), 3000);
    QVERIFY(session.setting(QStringLiteral("ml"), QStringLiteral("0")).isNull());
}

void TestEditorDesktop::typedTextStaysAsTyped()
{
    ProgramSession& session = *m_session;
    openEditorOnRow0();

    // Each is the start of an item ("2001年", "关机"), and Tab leaves the list.
    retype(kYear, QStringLiteral("20"));
    keys(QStringLiteral("Tab"));
    retype(kAction, QStringLiteral("关"));
    keys(QStringLiteral("Tab"));
    clickMain(kOk);
    QTRY_COMPARE_WITH_TIMEOUT(session.setting(QStringLiteral("ml"), QStringLiteral("0")),
                              QStringLiteral("关"), 3000);
    QCOMPARE(session.setting(QStringLiteral("yy"), QStringLiteral("0")), QStringLiteral("20"));

    // An item's text in other letter case, ended with Enter, keeps its case.
    clickMain(kChange);
    retype(kAction, QStringLiteral("运行：xxx"));
    keys(QStringLiteral("Return"));
    clickMain(kOk);
    QTRY_COMPARE_WITH_TIMEOUT(session.setting(QStringLiteral("ml"), QStringLiteral("0")),
                              QStringLiteral("运行：xxx"), 3000);
}

void TestEditorDesktop::soundChooserSpeaksChineseOpensInMusicListsEveryFile()
{
    ProgramSession& session = *m_session;
    // The default sound path is a Windows one, with no folder here: the chooser opens in Music.
    const QString music = session.path(QStringLiteral("music"));
    QDir().mkpath(music);
    touch(music + QStringLiteral("/tune.wav"));
    touch(music + QStringLiteral("/zz-ring"));
    QFile dirs(session.configHome() + QStringLiteral("/user-dirs.dirs"));
    QVERIFY(dirs.open(QIODevice::WriteOnly));
    dirs.write(QStringLiteral("XDG_MUSIC_DIR=\"%1\"\n").arg(music).toUtf8());
    dirs.close();
    openEditorOnRow0();

    clickMain(kChooseSound);
    QTRY_VERIFY_WITH_TIMEOUT(windowNamed(QStringLiteral("打开")), 5000);
    // From the file name to the type list, its last type "所有类型", back to the file list and
    // its last file, the one without an extension.
    keys(QStringLiteral("Tab End shift+Tab shift+Tab End Return"));
    QTRY_VERIFY_WITH_TIMEOUT(!windowNamed(QStringLiteral("打开")), 5000);
    clickMain(kOk);
    QTRY_COMPARE_WITH_TIMEOUT(session.setting(QStringLiteral("music"), QStringLiteral("0")),
                              music + QStringLiteral("/zz-ring"), 3000);
}

QTEST_GUILESS_MAIN(TestEditorDesktop)
#include "tst_editor_desktop.moc"

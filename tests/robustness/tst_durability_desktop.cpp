#include "e2e/ProgramSession.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTest>
#include <QThread>

using namespace XDesktop;

namespace {

// Client-area points of the main window's controls, in pixels.
const QPoint kRow0(60, 16);
const QPoint kChange(48, 152); // "更改"
const QPoint kSlogan(150, 41); // Tslogan, inside the editor panel

void xdotool(const QStringList& arguments)
{
    QProcess::execute(QStringLiteral("xdotool"), arguments);
}

// Sound as the program writes files: valid UTF-8 without NUL, ending in a line break, parsed cleanly.
QString damageIn(const QString& file)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("unreadable");
    const QByteArray bytes = in.readAll();
    if (bytes.contains('\0') || !QByteArrayView(bytes).isValidUtf8())
        return QStringLiteral("not text");
    if (!bytes.endsWith('\n'))
        return QStringLiteral("cut short");
    const QSettings settings(file, QSettings::IniFormat);
    return settings.status() == QSettings::NoError ? QString() : QStringLiteral("unparsable");
}

} // namespace

// A saved entry survives the program being killed the moment it is saved.
class TestDurabilityDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void savedTextSurvivesAKill();
};

void TestDurabilityDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
}

void TestDurabilityDesktop::savedTextSurvivesAKill()
{
    ProgramSession session;
    session.seed(QStringLiteral("time"), QStringLiteral("0"), QStringLiteral("07:30"));
    session.seed(QStringLiteral("music"), QStringLiteral("3"), QStringLiteral("/snd/bell.wav"));
    const QString slogan = QStringLiteral("slogan");
    const QString slot = QStringLiteral("0");

    for (int attempt = 0; attempt < 20; ++attempt) {
        QElapsedTimer took;
        took.start();
        QVERIFY(session.start());
        QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
        const QPoint client = mainWindow()->geometry.topLeft();
        click(client + kRow0);
        click(client + kChange);
        click(client + kSlogan);
        const QString text = QStringLiteral("durable-%1").arg(attempt);
        xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("0"), text});
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});

        // Keys reach the program some time after xdotool returns, so the kill follows the moment its
        // save lands on disk, without a pause in between.
        QElapsedTimer sinceEnter;
        sinceEnter.start();
        QDeadlineTimer deadline(3000);
        while (session.setting(slogan, slot) != text && !deadline.hasExpired())
            QThread::usleep(500);
        session.process().kill();
        const qint64 landed = sinceEnter.elapsed();
        QVERIFY(session.process().waitForFinished(5000));

        QCOMPARE(session.setting(slogan, slot), text);
        QCOMPARE(damageIn(session.settingsFile()), QString());
        QCOMPARE(session.setting(QStringLiteral("time"), slot), QStringLiteral("07:30"));
        QCOMPARE(session.setting(QStringLiteral("music"), QStringLiteral("3")),
                 QStringLiteral("/snd/bell.wav"));
        qInfo("attempt %d: killed %lld ms after Enter, %lld ms in all", attempt + 1, landed, took.elapsed());
    }
}

QTEST_GUILESS_MAIN(TestDurabilityDesktop)
#include "tst_durability_desktop.moc"

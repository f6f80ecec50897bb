#include "e2e/ProgramSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <unistd.h>

using namespace XDesktop;

namespace {

QByteArray readFile(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<unreadable>");
}

void writeFile(const QString& file, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file));
}

} // namespace

// The real program started on a damaged settings file.
class TestDamagedSettingsDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void startsOnADamagedFile_data();
    void startsOnADamagedFile();
    void keepsAHandEditedFile();
};

void TestDamagedSettingsDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
}

void TestDamagedSettingsDesktop::startsOnADamagedFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("earlierCopies");
    QTest::addColumn<bool>("unreadable");

    QByteArray garbage;
    for (int i = 0; i < 2048; ++i)
        garbage.append(char((i * 40503 + 7) % 251));
    const QByteArray sound =
        QByteArrayLiteral("[elect]\n0=1\n\n[slogan]\n0=\xe8\xb5\xb7\xe5\xba\x8a\n\n[time]\n0=08:25\n");

    QTest::newRow("binary garbage") << garbage << 0 << false;
    // A copy from an earlier damage stays as it is; this one takes the next number.
    QTest::newRow("cut inside a section line") << sound.left(sound.indexOf("[time]") + 5) << 1 << false;
    QTest::newRow("invalid UTF-8") << QByteArray(sound).replace("\xe5\xba\x8a", "\xe5\xba") << 0 << false;
    QTest::newRow("no read permission") << sound << 0 << true;
}

void TestDamagedSettingsDesktop::startsOnADamagedFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, earlierCopies);
    QFETCH(bool, unreadable);
    if (unreadable && geteuid() == 0)
        QSKIP("running as root, which reads any file; tst_damagedsettings checks an unreadable file "
              "through the store");

    ProgramSession session;
    const QString file = session.settingsFile();
    writeFile(file, bytes);
    if (unreadable)
        QVERIFY(QFile::setPermissions(file, QFileDevice::WriteOwner));
    QString copy = file + QStringLiteral(".damaged");
    for (int i = 0; i < earlierCopies; ++i) {
        writeFile(copy, "earlier damage");
        copy = file + QStringLiteral(".damaged.%1").arg(i + 1);
    }

    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    // The user is told, by a notice that does not stop the program.
    QTRY_VERIFY_WITH_TIMEOUT(XDesktop::noticeWindow(), 8000);
    if (unreadable)
        QVERIFY(QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(readFile(copy), bytes);
    if (earlierCopies > 0)
        QCOMPARE(readFile(file + QStringLiteral(".damaged")), QByteArray("earlier damage"));
    // The new file took the program's first write and nothing of the damaged one.
    QVERIFY(!session.setting(QStringLiteral("hwnd"), QStringLiteral("main")).isEmpty());
    QVERIFY(session.setting(QStringLiteral("time"), QStringLiteral("0")).isNull());

    // Still at work: it hides into the tray on its own timer.
    QTRY_VERIFY_WITH_TIMEOUT(iconShown() && !mainShown(), 8000);
    QVERIFY(session.isRunning());
}

void TestDamagedSettingsDesktop::keepsAHandEditedFile()
{
    ProgramSession session;
    const QString file = session.settingsFile();
    // Saved by a Windows editor: byte order mark, CRLF, comments, spaces, no final line break.
    writeFile(file, "\xef\xbb\xbf; \xe6\x88\x91\xe7\x9a\x84\xe9\x97\xb9\xe9\x92\x9f\r\n\r\n"
                    "[slogan]\r\n0 = \xe8\xaf\xa5\xe8\xb5\xb7\xe5\xba\x8a\xe4\xba\x86\xef\xbc\x81\r\n"
                    "[mine]\r\nnote=kept\r\n# by hand\r\n[time]\r\n0=08:25");
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    // Start-up is over once it has written its window handle; nothing was taken for damage.
    QTRY_VERIFY_WITH_TIMEOUT(!session.setting(QStringLiteral("hwnd"), QStringLiteral("main")).isEmpty(),
                             3000);
    QVERIFY(!otherWindow());
    QVERIFY(!QFileInfo::exists(file + QStringLiteral(".damaged")));
    QCOMPARE(session.setting(QStringLiteral("slogan"), QStringLiteral("0")), QStringLiteral("该起床了！"));
    QCOMPARE(session.setting(QStringLiteral("time"), QStringLiteral("0")), QStringLiteral("08:25"));
    QCOMPARE(session.setting(QStringLiteral("mine"), QStringLiteral("note")), QStringLiteral("kept"));
}

QTEST_GUILESS_MAIN(TestDamagedSettingsDesktop)
#include "tst_damagedsettings_desktop.moc"

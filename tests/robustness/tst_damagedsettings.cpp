#include "settings/QSettingsStore.h"
#include "settings/SettingsValues.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTest>
#include <unistd.h>

namespace {

const QString kSection = QStringLiteral("slogan");
const QString kKey = QStringLiteral("0");
const QString kDefault = QStringLiteral("Harry Up!");

void writeFile(const QString& file, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(file));
}

QByteArray readFile(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<unreadable>");
}

// What a later run would read: a copy of the file under a name no QSettings has cached.
QString readFresh(const QString& file, const QString& section, const QString& key)
{
    static int copies = 0;
    const QString copy = QDir::temp().filePath(
        QStringLiteral("quorvel-fresh-%1-%2.conf").arg(QCoreApplication::applicationPid()).arg(++copies));
    QFile::remove(copy);
    if (!QFile::copy(file, copy))
        return QStringLiteral("<no file>");
    QString value;
    {
        QSettings settings(copy, QSettings::IniFormat);
        value = settings.value(section + QLatin1Char('/') + key).toString();
    }
    QFile::remove(copy);
    return value;
}

// A file as the program writes it.
QByteArray soundFile()
{
    return QByteArrayLiteral("[slogan]\n0=\xe8\xb5\xb7\xe5\xba\x8a\n\n[time]\n0=08:25\n");
}

// Opening the file for the check fails, as it does for a file the user may not read.
class UnreadableStore : public QSettingsStore
{
protected:
    bool readWhole(const QString&, QByteArray*) const override { return false; }
};

} // namespace

class TestDamagedSettings : public QObject
{
    Q_OBJECT

private slots:
    void soundFilesAreKept_data();
    void soundFilesAreKept();
    void unknownGroupsAndKeysSurviveASave();
    void damagedFileIsSetAside_data();
    void damagedFileIsSetAside();
    void earlierDamagedCopiesAreNeverReplaced();
    void unreadableFileIsSetAside();
    void unreadableByPermission();
    void brokenFallbackFileLeavesOursAlone();
    void cannotSetAsideKeepsChangesInMemory();
};

void TestDamagedSettings::soundFilesAreKept_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("slogan");
    QTest::addColumn<QString>("time");
    const QString wake = QStringLiteral("起床");
    const QString at = QStringLiteral("08:25");
    QTest::newRow("as written") << soundFile() << wake << at;
    QTest::newRow("empty") << QByteArray() << kDefault << QStringLiteral("12:00");
    // Files as people edit them by hand.
    QTest::newRow("no final line break") << soundFile().chopped(1) << wake << at;
    QTest::newRow("windows line ends") << QByteArray(soundFile()).replace("\n", "\r\n") << wake << at;
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf" + soundFile()) << wake << at;
    QTest::newRow("comment lines")
        << QByteArrayLiteral(
               "; alarms\n# edited\n[slogan]\n; morning\n0=\xe8\xb5\xb7\xe5\xba\x8a\n#\n[time]\n0=08:25\n")
        << wake << at;
    QTest::newRow("blank lines and spaces")
        << QByteArrayLiteral("\n\n[slogan]\n\n  0 = \xe8\xb5\xb7\xe5\xba\x8a  \n\n[time]\n0\t=\t08:25\n\n\n")
        << wake << at;
    QTest::newRow("any order")
        << QByteArrayLiteral("[time]\n1=09:00\n0=08:25\n[elect]\n0=1\n[slogan]\n0=\xe8\xb5\xb7\xe5\xba\x8a\n")
        << wake << at;
    const QString text = QStringLiteral("该起床了，上课！（第一节：数学）");
    QTest::newRow("chinese punctuation")
        << QByteArray("[slogan]\r\n0=" + text.toUtf8() + "\r\n[time]\r\n0=08:25") << text << at;
    QTest::newRow("all at once")
        << QByteArrayLiteral(
               "\xef\xbb\xbf; mine\r\n\r\n[time]\r\n 0 = 08:25\r\n[slogan]\r\n0=\xe8\xb5\xb7\xe5\xba\x8a")
        << wake << at;
}

void TestDamagedSettings::soundFilesAreKept()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, slogan);
    QFETCH(QString, time);
    TestDirs dirs;
    writeFile(dirs.settingsFile(), bytes);
    QSettingsStore store;
    QCOMPARE(store.GetSetting(kAppName, kSection, kKey, kDefault), slogan);
    QCOMPARE(store.GetSetting(kAppName, QStringLiteral("time"), kKey, QStringLiteral("12:00")), time);
    QVERIFY(store.recoveryMessage(kAppName).isEmpty());
    QVERIFY(store.damagedCopy(kAppName).isEmpty());
    QVERIFY(!QFileInfo::exists(dirs.settingsFile() + QStringLiteral(".damaged")));
    QCOMPARE(readFile(dirs.settingsFile()), bytes);
}

void TestDamagedSettings::unknownGroupsAndKeysSurviveASave()
{
    TestDirs dirs;
    writeFile(dirs.settingsFile(), "[mine]\nnote=\xe8\x87\xaa\xe5\xb7\xb1\n[time]\nlater=1\n0=08:25");
    {
        QSettingsStore store;
        store.SaveSetting(kAppName, kSection, kKey, QStringLiteral("new"));
    }
    const QString file = dirs.settingsFile();
    QCOMPARE(readFresh(file, QStringLiteral("mine"), QStringLiteral("note")), QStringLiteral("自己"));
    QCOMPARE(readFresh(file, QStringLiteral("time"), QStringLiteral("later")), QStringLiteral("1"));
    QCOMPARE(readFresh(file, QStringLiteral("time"), kKey), QStringLiteral("08:25"));
    QCOMPARE(readFresh(file, kSection, kKey), QStringLiteral("new"));
}

void TestDamagedSettings::damagedFileIsSetAside_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919 + 13) % 256));
    QTest::newRow("binary garbage") << garbage;
    QTest::newRow("NUL inside a value") << QByteArray("[slogan]\n0=ab\0cd\n", 17);
    QTest::newRow("invalid UTF-8") << QByteArrayLiteral("[slogan]\n0=\xe8\xb5\n[time]\n0=08:25\n");
    QTest::newRow("cut inside a section line") << soundFile().left(soundFile().indexOf("[time]") + 5);
    QTest::newRow("broken section line") << QByteArrayLiteral("[slogan\n0=x\n");
}

void TestDamagedSettings::damagedFileIsSetAside()
{
    QFETCH(QByteArray, bytes);
    TestDirs dirs;
    const QString file = dirs.settingsFile();
    writeFile(file, bytes);
    const QString copy = file + QStringLiteral(".damaged");
    {
        QSettingsStore store;
        // Nothing of the damaged file is read.
        QCOMPARE(store.GetSetting(kAppName, kSection, kKey, kDefault), kDefault);
        QCOMPARE(store.GetSetting(kAppName, QStringLiteral("time"), kKey, QStringLiteral("12:00")),
                 QStringLiteral("12:00"));
        QCOMPARE(store.damagedCopy(kAppName), copy);
        QCOMPARE(readFile(copy), bytes);
        QCOMPARE(store.recoveryMessage(kAppName),
                 QStringLiteral("设置文件已损坏，已使用默认设置。损坏的文件保存在：") + copy);
        QVERIFY(QFileInfo::exists(file));

        store.SaveSetting(kAppName, kSection, kKey, QStringLiteral("new"));
        QCOMPARE(readFresh(file, kSection, kKey), QStringLiteral("new"));
        QVERIFY(!readFile(file).contains("08:25"));
        // The check is made once: asking again moves nothing more.
        QCOMPARE(store.damagedCopy(kAppName), copy);
        QVERIFY(!QFileInfo::exists(copy + QStringLiteral(".1")));
    }
    // The next run finds a sound file and its own value.
    QSettingsStore next;
    QVERIFY(next.recoveryMessage(kAppName).isEmpty());
    QCOMPARE(next.GetSetting(kAppName, kSection, kKey, kDefault), QStringLiteral("new"));
    QCOMPARE(readFile(copy), bytes);
}

void TestDamagedSettings::earlierDamagedCopiesAreNeverReplaced()
{
    TestDirs dirs;
    const QString file = dirs.settingsFile();
    const QString copy = file + QStringLiteral(".damaged");
    writeFile(copy, "first");
    writeFile(copy + QStringLiteral(".1"), "second");
    // A dangling link occupies a name just as a file does.
    QVERIFY(QFile::link(dirs.configHome() + QStringLiteral("/nowhere"), copy + QStringLiteral(".2")));

    writeFile(file, "[slogan\n0=third");
    QSettingsStore store;
    QCOMPARE(store.damagedCopy(kAppName), copy + QStringLiteral(".3"));
    QCOMPARE(readFile(copy), QByteArray("first"));
    QCOMPARE(readFile(copy + QStringLiteral(".1")), QByteArray("second"));
    QVERIFY(QFileInfo(copy + QStringLiteral(".2")).isSymLink());
    QCOMPARE(readFile(copy + QStringLiteral(".3")), QByteArray("[slogan\n0=third"));
    QCOMPARE(store.GetSetting(kAppName, kSection, kKey, kDefault), kDefault);
}

void TestDamagedSettings::unreadableFileIsSetAside()
{
    TestDirs dirs;
    writeFile(dirs.settingsFile(), soundFile());
    UnreadableStore store;
    QCOMPARE(store.GetSetting(kAppName, kSection, kKey, kDefault), kDefault);
    QCOMPARE(readFile(store.damagedCopy(kAppName)), soundFile());
    QVERIFY(!store.recoveryMessage(kAppName).isEmpty());
    store.SaveSetting(kAppName, kSection, kKey, QStringLiteral("new"));
    QCOMPARE(readFresh(dirs.settingsFile(), kSection, kKey), QStringLiteral("new"));
}

void TestDamagedSettings::unreadableByPermission()
{
    if (geteuid() == 0)
        QSKIP("running as root, which reads any file; unreadableFileIsSetAside covers the check");
    TestDirs dirs;
    writeFile(dirs.settingsFile(), soundFile());
    QVERIFY(QFile::setPermissions(dirs.settingsFile(), QFileDevice::WriteOwner));
    QSettingsStore store;
    QCOMPARE(store.GetSetting(kAppName, kSection, kKey, kDefault), kDefault);
    const QString copy = store.damagedCopy(kAppName);
    QVERIFY(QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QCOMPARE(readFile(copy), soundFile());
}

void TestDamagedSettings::brokenFallbackFileLeavesOursAlone()
{
    // QSettings also reads the organisation-wide file beside our folder; its faults are not ours.
    TestDirs dirs;
    writeFile(dirs.settingsFile(), soundFile());
    writeFile(dirs.configHome() + QStringLiteral("/Horalis.conf"), "[broken\nx=1\n");
    QSettingsStore store;
    QVERIFY(store.recoveryMessage(kAppName).isEmpty());
    QCOMPARE(store.GetSetting(kAppName, kSection, kKey, kDefault), QStringLiteral("起床"));
    QCOMPARE(readFile(dirs.settingsFile()), soundFile());
}

void TestDamagedSettings::cannotSetAsideKeepsChangesInMemory()
{
    if (geteuid() == 0)
        QSKIP("running as root, which may write into any folder, so the move cannot be made to fail");
    TestDirs dirs;
    const QString file = dirs.settingsFile();
    const QByteArray bytes("[slogan\n0=cut");
    writeFile(file, bytes);
    const QString folder = QFileInfo(file).path();
    QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    {
        QSettingsStore store;
        QCOMPARE(store.GetSetting(kAppName, kSection, kKey, kDefault), kDefault);
        store.SaveSetting(kAppName, kSection, kKey, QStringLiteral("new"));
        QCOMPARE(store.GetSetting(kAppName, kSection, kKey, kDefault), QStringLiteral("new"));
        QVERIFY(store.recoveryMessage(kAppName).contains(QStringLiteral("不会保存")));
    }
    QVERIFY(QFile::setPermissions(folder,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    QCOMPARE(readFile(file), bytes);
}

QTEST_GUILESS_MAIN(TestDamagedSettings)
#include "tst_damagedsettings.moc"

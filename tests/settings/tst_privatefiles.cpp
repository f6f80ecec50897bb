#include "platform/Autostart.h"
#include "settings/QSettingsStore.h"
#include "settings/SettingsValues.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTest>
#include <sys/stat.h>

namespace {

int modeOf(const QString& path)
{
    struct stat info;
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? int(info.st_mode & 07777) : -1;
}

// Writes the file as another program would, under the current umask, and replaces the old one.
void replaceFrom(const QString& file, const QByteArray& bytes)
{
    const QString temporary = file + QStringLiteral(".new");
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(temporary));
    out.close();
    QFile::remove(file);
    if (!QFile::rename(temporary, file))
        qFatal("cannot replace %s", qPrintable(file));
}

} // namespace

// The settings are for their owner only, the autostart entry for everyone to read, whatever the umask.
class TestPrivateFiles : public QObject
{
    Q_OBJECT

private slots:
    void modesHoldWhateverTheUmask_data()
    {
        QTest::addColumn<int>("mask");
        QTest::newRow("022") << 022;
        QTest::newRow("002") << 002;
    }

    void modesHoldWhateverTheUmask()
    {
        QFETCH(int, mask);
        const mode_t previous = ::umask(mode_t(mask));
        const auto restore = qScopeGuard([previous] { ::umask(previous); });
        TestDirs dirs;
        const QString file = dirs.settingsFile();
        const QString folder = QFileInfo(file).path();
        const QString section = QStringLiteral("ml");
        const QString key = QStringLiteral("0");
        {
            QSettingsStore store;
            store.SaveSetting(kAppName, section, key, QStringLiteral("运行：backup.sh"));
            QCOMPARE(modeOf(folder), 0700);
            QCOMPARE(modeOf(file), 0600);
            // Each later write replaces the file with a new one.
            store.SaveSetting(kAppName, section, key, QStringLiteral("[无]"));
            QCOMPARE(modeOf(file), 0600);
            // A file put in place by another program lends its mode to the next rewrite.
            replaceFrom(file, "[ml]\n0=x\n");
            QCOMPARE(modeOf(file), 0666 & ~mask);
            store.SaveSetting(kAppName, section, key, QStringLiteral("y"));
            QCOMPARE(modeOf(file), 0600);
        }

        // Folder and file as an earlier version left them; the file is damaged.
        QVERIFY(QFile::setPermissions(folder, QFileDevice::Permissions(0x7755)));
        replaceFrom(file, "[ml\n0=x\n");
        {
            QSettingsStore store;
            QCOMPARE(store.GetSetting(kAppName, section, key, QString()), QString());
            QCOMPARE(modeOf(folder), 0700);
            QCOMPARE(modeOf(store.damagedCopy(kAppName)), 0600);
            QCOMPARE(modeOf(file), 0600);
        }

        const QString program = QStringLiteral("/usr/bin/quorvel");
        QVERIFY(Autostart::setEnabled(true, program));
        QCOMPARE(modeOf(Autostart::entryLocation(program)), 0644);
    }
};

QTEST_GUILESS_MAIN(TestPrivateFiles)
#include "tst_privatefiles.moc"

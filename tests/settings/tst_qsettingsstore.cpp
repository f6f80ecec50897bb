#include "settings/QSettingsStore.h"
#include "settings/SettingsValues.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Texts a user may type into a slogan, a path or a command line.
QList<QPair<const char*, QString>> awkwardTexts()
{
    return {
        {"plain", QStringLiteral("Harry Up!")},
        {"empty", QString()},
        {"chinese", QStringLiteral("该起床了，上课！")},
        {"any date", QStringLiteral("——")},
        {"comma", QStringLiteral("a,b")},
        {"comma and space", QStringLiteral("one, two, three")},
        {"double quotes", QStringLiteral("say \"hi\"")},
        {"quoted whole", QStringLiteral("\"x\"")},
        {"single quote", QStringLiteral("it's")},
        {"backslashes", QStringLiteral("D:\\提示音乐.mp3 \\\\server\\share\\")},
        {"leading at", QStringLiteral("@home")},
        {"at variant", QStringLiteral("@Variant(\\0\\0\\0\\x7f)")},
        {"at invalid", QStringLiteral("@Invalid()")},
        {"at string list", QStringLiteral("@StringList()")},
        {"lone at", QStringLiteral("@")},
        {"equals", QStringLiteral("a=b=c")},
        {"semicolon", QStringLiteral("a;b ; c")},
        {"hash", QStringLiteral("#not a comment")},
        {"brackets", QStringLiteral("[section]")},
        {"leading and trailing spaces", QStringLiteral("  padded  ")},
        {"only spaces", QStringLiteral("   ")},
        {"tab and newlines", QStringLiteral("a\tb\nc\r\nd")},
        {"run action", QStringLiteral("运行：notepad.exe \"C:\\a b.txt\"")},
        {"outside the basic plane", QStringLiteral("⏰ 😀 𠀀")},
        {"number-like", QStringLiteral("007")},
        {"bool-like", QStringLiteral("true")},
    };
}

// Reads a settings file as a new process would: a path this process has never opened,
// so nothing can come from QSettings' in-memory cache.
QString readFresh(const QString& file, const QString& section, const QString& key, QTemporaryDir& scratch)
{
    static int copies = 0;
    const QString copy = scratch.filePath(QStringLiteral("copy%1.conf").arg(++copies));
    if (!QFile::copy(file, copy))
        return QStringLiteral("<no file>");
    QSettings settings(copy, QSettings::IniFormat);
    const QVariant value = settings.value(section + QLatin1Char('/') + key);
    return value.typeId() == QMetaType::QString ? value.toString() : QStringLiteral("<not a text>");
}
} // namespace

class TestQSettingsStore : public QObject
{
    Q_OBJECT

    // Set before the first QSettings exists: Qt reads the configuration folder once per process.
    TestDirs m_dirs;
    QTemporaryDir m_scratch;

private slots:
    void storesUnderTheUsersConfigFolder()
    {
        QSettingsStore store;
        QCOMPARE(store.fileName(kAppName), m_dirs.settingsFile());
        store.SaveSetting(kAppName, QStringLiteral("time"), QStringLiteral("3"), QStringLiteral("08:25"));
        QFile file(m_dirs.settingsFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString contents = QString::fromUtf8(file.readAll());
        // One group per section, the slot digit as the key.
        QVERIFY2(contents.contains(QStringLiteral("[time]\n3=08:25\n")), qPrintable(contents));
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("text");
        for (const auto& [name, text] : awkwardTexts())
            QTest::newRow(name) << text;
    }

    void roundTrips()
    {
        QFETCH(QString, text);
        const QString section = QStringLiteral("slogan");
        const QString key = QString::fromLatin1(QTest::currentDataTag());
        {
            QSettingsStore store;
            store.SaveSetting(kAppName, section, key, text);
            QCOMPARE(store.GetSetting(kAppName, section, key, QStringLiteral("<default>")), text);
            // On disk before SaveSetting returned, while this store is still alive.
            QCOMPARE(readFresh(m_dirs.settingsFile(), section, key, m_scratch), text);
        }
        QSettingsStore restarted;
        QCOMPARE(restarted.GetSetting(kAppName, section, key, QStringLiteral("<default>")), text);
    }

    void laterWriteReplacesEarlier()
    {
        QSettingsStore store;
        const QString section = QStringLiteral("ml");
        store.SaveSetting(kAppName, section, QStringLiteral("4"), QStringLiteral("关机"));
        store.SaveSetting(kAppName, section, QStringLiteral("4"), QStringLiteral("[无]"));
        QCOMPARE(store.GetSetting(kAppName, section, QStringLiteral("4"), QString()), QStringLiteral("[无]"));
        QCOMPARE(readFresh(m_dirs.settingsFile(), section, QStringLiteral("4"), m_scratch),
                 QStringLiteral("[无]"));
    }

    void writesOfSeveralStoresAllSurvive()
    {
        QSettingsStore first;
        QSettingsStore second;
        first.SaveSetting(kAppName, QStringLiteral("yy"), QStringLiteral("1"), QStringLiteral("2030年"));
        second.SaveSetting(kAppName, QStringLiteral("mm"), QStringLiteral("1"), QStringLiteral("5月"));
        QSettingsStore restarted;
        QCOMPARE(restarted.GetSetting(kAppName, QStringLiteral("yy"), QStringLiteral("1"), QString()),
                 QStringLiteral("2030年"));
        QCOMPARE(restarted.GetSetting(kAppName, QStringLiteral("mm"), QStringLiteral("1"), QString()),
                 QStringLiteral("5月"));
    }

    // A save whose file cannot be replaced says where and why, keeps its values for this run,
    // and the next save that works writes them with its own.
    void failedSaveIsToldAndWrittenLater()
    {
        QSettingsStore store;
        QVERIFY(
            store.SaveSetting(kAppName, QStringLiteral("time"), QStringLiteral("1"), QStringLiteral("07:00"))
                .saved);
        const QString folder = QFileInfo(m_dirs.settingsFile()).path();
        QVERIFY(QDir().rename(folder, folder + QStringLiteral(".away")));
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be

        const SaveOutcome failed = store.SaveSettings(
            kAppName, {{QStringLiteral("time"), QStringLiteral("1"), QStringLiteral("08:00")},
                       {QStringLiteral("slogan"), QStringLiteral("1"), QStringLiteral("起床")}});
        QVERIFY(!failed.saved);
        QCOMPARE(failed.file, m_dirs.settingsFile());
        QVERIFY2(!failed.reason.isEmpty(), qPrintable(failed.reason));
        QCOMPARE(store.GetSetting(kAppName, QStringLiteral("slogan"), QStringLiteral("1"), QString()),
                 QStringLiteral("起床"));
        QVERIFY(!store.SaveSettings(kAppName, {}).saved);

        QVERIFY(blocker.remove());
        QVERIFY(QDir().rename(folder + QStringLiteral(".away"), folder));
        QVERIFY(store.SaveSetting(kAppName, QStringLiteral("dd"), QStringLiteral("1"), QStringLiteral("7日"))
                    .saved);
        QCOMPARE(readFresh(m_dirs.settingsFile(), QStringLiteral("time"), QStringLiteral("1"), m_scratch),
                 QStringLiteral("08:00"));
        QCOMPARE(readFresh(m_dirs.settingsFile(), QStringLiteral("slogan"), QStringLiteral("1"), m_scratch),
                 QStringLiteral("起床"));
    }

    void missingGivesDefault()
    {
        QSettingsStore store;
        store.SaveSetting(kAppName, QStringLiteral("dd"), QStringLiteral("0"), QStringLiteral("1日"));
        const QString fallback = QStringLiteral("——");
        QCOMPARE(store.GetSetting(kAppName, QStringLiteral("dd"), QStringLiteral("9"), fallback), fallback);
        QCOMPARE(store.GetSetting(kAppName, QStringLiteral("never"), QStringLiteral("0"), fallback),
                 fallback);
        QCOMPARE(
            store.GetSetting(QStringLiteral("OtherApp"), QStringLiteral("dd"), QStringLiteral("0"), fallback),
            fallback);
        // Keys are case-sensitive: "DD" is another section.
        QCOMPARE(store.GetSetting(kAppName, QStringLiteral("DD"), QStringLiteral("0"), fallback), fallback);

        QCOMPARE(SettingsValues::readInt(store, QStringLiteral("set"), QStringLiteral("sh"), 3, -1, 9), 3);
        QCOMPARE(SettingsValues::readBool(store, QStringLiteral("set"), QStringLiteral("v2"), false), false);
        QCOMPARE(SettingsValues::readBool(store, QStringLiteral("set"), QStringLiteral("v2"), true), true);
        QCOMPARE(SettingsValues::readText(store, QStringLiteral("set"), QStringLiteral("font"),
                                          QStringLiteral("宋体")),
                 QStringLiteral("宋体"));
    }

    void emptyTextIsNotMissing()
    {
        QSettingsStore store;
        store.SaveSetting(kAppName, QStringLiteral("music"), QStringLiteral("2"), QString());
        QSettingsStore restarted;
        const QString got = restarted.GetSetting(kAppName, QStringLiteral("music"), QStringLiteral("2"),
                                                 QStringLiteral("D:\\提示音乐.mp3"));
        QVERIFY(got.isEmpty());
    }

    void readsTextEditedByHand()
    {
        // A user editing the file writes plain UTF-8 without QSettings' quoting.
        const QString file = m_scratch.filePath(QStringLiteral("Edited/Edited.conf"));
        QVERIFY(QDir().mkpath(QFileInfo(file).path()));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("[slogan]\n0=\xe8\xb5\xb7\xe5\xba\x8a Wake up\n[set]\ntr=128\nv1=True\n");
        out.close();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_scratch.path());
        QSettingsStore store;
        QCOMPARE(store.fileName(QStringLiteral("Edited")), file);
        QCOMPARE(store.GetSetting(QStringLiteral("Edited"), QStringLiteral("slogan"), QStringLiteral("0"),
                                  QString()),
                 QStringLiteral("起床 Wake up"));
        QCOMPARE(store.GetSetting(QStringLiteral("Edited"), QStringLiteral("set"), QStringLiteral("tr"),
                                  QString()),
                 QStringLiteral("128"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dirs.configHome());
    }

    void laterTestDirsRedirectTheStore()
    {
        {
            TestDirs second;
            QSettingsStore store;
            QCOMPARE(store.fileName(kAppName), second.settingsFile());
            store.SaveSetting(kAppName, QStringLiteral("time"), QStringLiteral("0"), QStringLiteral("06:00"));
            QVERIFY(QFile::exists(second.settingsFile()));
        }
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dirs.configHome());
    }
};

QTEST_GUILESS_MAIN(TestQSettingsStore)
#include "tst_qsettingsstore.moc"

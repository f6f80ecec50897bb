#include "schedule/SoundCue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

Q_DECLARE_METATYPE(CueColour)

class SoundCueTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    void touch(const QString& name)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        touch(QStringLiteral("song.wav"));
        touch(QStringLiteral("song"));
        touch(QStringLiteral(".hidden.mid"));
        touch(QStringLiteral("a[1].mp3"));
        touch(QStringLiteral("铃声.mp3"));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("music.d")));
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("sub")));
        QVERIFY(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.wav"))).constData(), 0600) == 0);
    }

    void cue_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<CueColour>("colour");
        QTest::newRow("existing file") << "song.wav" << CueColour::Black;
        QTest::newRow("chinese name") << "铃声.mp3" << CueColour::Black;
        QTest::newRow("brackets are plain characters") << "a[1].mp3" << CueColour::Black;
        QTest::newRow("existing file without dot") << "song" << CueColour::Red;
        QTest::newRow("hidden file") << ".hidden.mid" << CueColour::Red;
        QTest::newRow("folder") << "music.d" << CueColour::Red;
        QTest::newRow("pipe") << "pipe.wav" << CueColour::Red;
        QTest::newRow("missing file") << "other.wav" << CueColour::Red;
        QTest::newRow("star matches") << "*.wav" << CueColour::Black;
        QTest::newRow("question mark matches") << "so?g.wav" << CueColour::Black;
        QTest::newRow("star matches nothing") << "*.ogg" << CueColour::Red;
        QTest::newRow("star matches only a hidden file") << "*.mid" << CueColour::Red;
        QTest::newRow("star matches only a folder") << "*.d" << CueColour::Red;
        QTest::newRow("star matches only a pipe") << "pipe*" << CueColour::Red;
        QTest::newRow("star with brackets") << "a[1]*.mp3" << CueColour::Black;
        QTest::newRow("brackets are not a set") << "[as]*.wav" << CueColour::Red;
        QTest::newRow("wildcard in the folder") << "s*/../song.wav" << CueColour::Red;
        QTest::newRow("folder that does not exist") << "nowhere/song.wav" << CueColour::Red;
        QTest::newRow("ends in a slash") << "music.d/" << CueColour::Red;
    }

    void cue()
    {
        QFETCH(QString, name);
        QFETCH(CueColour, colour);
        QCOMPARE(SoundCue::cue(path(name)), colour);
    }

    void fileWithoutDotIsFoundButRed()
    {
        QVERIFY(SoundCue::findsFile(path(QStringLiteral("song"))));
        QVERIFY(SoundCue::findsFile(path(QStringLiteral("s*"))));
        QCOMPARE(SoundCue::cue(path(QStringLiteral("s*"))), CueColour::Red);
    }

    void pathsThatCannotBeSearched()
    {
        QCOMPARE(SoundCue::cue(QString()), CueColour::Red);
        QCOMPARE(SoundCue::cue(QStringLiteral("/nonexistent/x.mp3")), CueColour::Red);
        QCOMPARE(SoundCue::cue(QStringLiteral("/nonexistent/*.mp3")), CueColour::Red);
        QCOMPARE(SoundCue::cue(QStringLiteral("D:\\提示音乐.mp3")), CueColour::Red);
        QCOMPARE(SoundCue::cue(path(QStringLiteral("song.wav")) + QChar(0)), CueColour::Red);
        QCOMPARE(
            SoundCue::cue(QStringLiteral("/") + QString(5000, QLatin1Char('x')) + QStringLiteral(".mp3")),
            CueColour::Red);
        QCOMPARE(SoundCue::cue(QStringLiteral("*")), CueColour::Red);
    }

    void relativePathFromCurrentFolder()
    {
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_dir.path()));
        const CueColour plain = SoundCue::cue(QStringLiteral("song.wav"));
        const CueColour wildcard = SoundCue::cue(QStringLiteral("*.wav"));
        const CueColour missing = SoundCue::cue(QStringLiteral("sub/song.wav"));
        QVERIFY(QDir::setCurrent(before));
        QCOMPARE(plain, CueColour::Black);
        QCOMPARE(wildcard, CueColour::Black);
        QCOMPARE(missing, CueColour::Red);
    }
};

QTEST_APPLESS_MAIN(SoundCueTest)
#include "tst_soundcue.moc"

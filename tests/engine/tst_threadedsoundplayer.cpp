#include "engine/SoundWorker.h"
#include "engine/ThreadedSoundPlayer.h"
#include "platform/SoundLoop.h"
#include "schedule/AlarmTable.h"

#include <QDataStream>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A tenth of a second of 8 kHz 8-bit mono silence. Another format tag than PCM (1) names a codec
// the header does not match, which only matters when no decoder for it is installed.
bool writeSilentWav(const QString& path, quint16 formatTag = 1)
{
    const quint32 samples = 800;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << formatTag << quint16(1) << quint32(8000) << quint32(8000) << quint16(1)
        << quint16(8);
    out.writeRawData("data", 4);
    out << samples;
    for (quint32 i = 0; i < samples; ++i)
        out << quint8(128);
    return out.status() == QDataStream::Ok;
}
// Plays in real time into nothing, so the test needs no sound server.
const QString kOutput = QStringLiteral("fakesink sync=true");

// Plays nothing; the test reports for it what the player would.
class StubLoop : public SoundLoop
{
public:
    void setOutput(const QString&) override {}
    void start(const QUrl& source, int) override { started.append(source); }
    void resume() override {}
    void stop() override {}
    int playsBegun() const override { return started.isEmpty() ? 0 : 1; }

    QList<QUrl> started;
};
} // namespace

class TestThreadedSoundPlayer : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_tone;     // a playable file
    QString m_fallback; // a playable stand-in for the desktop's alarm sound

private slots:
    void initTestCase()
    {
        m_tone = m_dir.filePath(QStringLiteral("tone.wav"));
        m_fallback = m_dir.filePath(QStringLiteral("fallback.wav"));
        QVERIFY(writeSilentWav(m_tone));
        QVERIFY(writeSilentWav(m_fallback));
        QVERIFY(writeSilentWav(m_dir.filePath(QStringLiteral("wma.wav")), 0x0161));
    }

    void sourceForPathsAndUrls()
    {
        QCOMPARE(SoundLoop::sourceFor(QStringLiteral("/tmp/a b.wav")), QUrl::fromLocalFile("/tmp/a b.wav"));
        QCOMPARE(SoundLoop::sourceFor(QStringLiteral("D:\\提示音乐.mp3")).scheme(), QStringLiteral("file"));
        QCOMPARE(SoundLoop::sourceFor(QStringLiteral("file:///tmp/x.wav")), QUrl("file:///tmp/x.wav"));
        QCOMPARE(SoundLoop::sourceFor(QString()), QUrl());
    }

    void playsAndClosesTheChosenFile()
    {
        ThreadedSoundPlayer player(m_fallback, AlarmDefault::Music, nullptr, kOutput);
        QSignalSpy problems(&player, &ThreadedSoundPlayer::playbackProblem);
        player.close();
        QVERIFY(!player.started()); // nothing loaded until a sound plays

        player.setURL(m_tone);
        QCOMPARE(player.URL(), m_tone);
        QTRY_COMPARE(player.soundingFile(), m_tone);
        player.close();
        QCOMPARE(player.URL(), QString());
        QTRY_COMPARE(player.soundingFile(), QString());
        QCOMPARE(problems.count(), 0);
    }

    void unplayableFileGivesTheFallback_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << m_dir.filePath(QStringLiteral("gone.mp3")) << "找不到";
        QTest::newRow("a folder") << m_dir.path() << "无法读取";
        QTest::newRow("not audio") << m_dir.filePath(QStringLiteral("notes.mp3")) << "无法播放";
        // Windows Media Audio in a WAV file: Debian's GStreamer packages bring no decoder for it.
        QTest::newRow("no decoder") << m_dir.filePath(QStringLiteral("wma.wav")) << "解码器";
    }
    void unplayableFileGivesTheFallback()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, reason);
        QFile notAudio(m_dir.filePath(QStringLiteral("notes.mp3")));
        QVERIFY(notAudio.open(QIODevice::WriteOnly));
        notAudio.write(QByteArray("just some words, no sound\n").repeated(200));
        notAudio.close();

        ThreadedSoundPlayer player(m_fallback, AlarmDefault::Music, nullptr, kOutput);
        QSignalSpy problems(&player, &ThreadedSoundPlayer::playbackProblem);
        player.setURL(chosen);
        QTRY_COMPARE(player.soundingFile(), m_fallback);
        QCOMPARE(player.URL(), chosen); // the same-file rule still sees the chosen file
        QTRY_COMPARE(problems.count(), 1);
        const QString message = problems.at(0).at(0).toString();
        QVERIFY2(message.contains(reason) && message.contains(chosen), qPrintable(message));

        // Told once: the same file again rings the fallback without a second message.
        player.close();
        QTRY_COMPARE(player.soundingFile(), QString());
        player.setURL(chosen);
        QTRY_COMPARE(player.soundingFile(), m_fallback);
        QCOMPARE(problems.count(), 1);
    }

    // The slots' default names no file the user chose: it rings the desktop's sound, untold.
    void defaultSoundRingsTheFallbackQuietly()
    {
        ThreadedSoundPlayer player(m_fallback, AlarmDefault::Music, nullptr, kOutput);
        QSignalSpy problems(&player, &ThreadedSoundPlayer::playbackProblem);
        player.setURL(AlarmDefault::Music);
        QTRY_COMPARE(player.soundingFile(), m_fallback);
        player.close();
        QTRY_COMPARE(player.soundingFile(), QString()); // after any message the worker sent
        QCOMPARE(problems.count(), 0);
    }

    // A sound server that does not answer is told as such, not blamed on the file.
    void lostServerIsNotAFileProblem()
    {
        ThreadedSoundPlayer player(m_fallback, AlarmDefault::Music, nullptr,
                                   QStringLiteral("pulsesink server=unix:/nonexistent"));
        QSignalSpy problems(&player, &ThreadedSoundPlayer::playbackProblem);
        player.setURL(m_tone);
        QTRY_COMPARE(problems.count(), 1);
        const QString message = problems.at(0).at(0).toString();
        QVERIFY2(message.contains(QStringLiteral("声音服务器")) && !message.contains(m_tone),
                 qPrintable(message));
    }

    // What the player reports is what the user reads: only a bad file is blamed on the file.
    void loopFailuresAreToldAsTheyAre_data()
    {
        QTest::addColumn<int>("failure");
        QTest::addColumn<QString>("told");
        QTest::addColumn<bool>("fallbackTried");
        QTest::newRow("bad file") << 0 << "无法播放声音文件" << true;
        QTest::newRow("no decoder") << 1 << "缺少播放声音文件" << true;
        QTest::newRow("no player") << 2 << "声音播放器无法启动" << false;
    }
    void loopFailuresAreToldAsTheyAre()
    {
        QFETCH(int, failure);
        QFETCH(QString, told);
        QFETCH(bool, fallbackTried);
        auto* loop = new StubLoop;
        SoundWorker worker(m_fallback, AlarmDefault::Music, loop);
        QSignalSpy problems(&worker, &SoundWorker::cannotPlay);
        worker.play(m_tone);
        const QString detail = QStringLiteral("detail %1").arg(failure);
        const std::array<void (SoundLoop::*)(const QString&), 3> report{
            &SoundLoop::fileFailed, &SoundLoop::decoderMissing, &SoundLoop::startFailed};
        (loop->*report[std::size_t(failure)])(detail);
        QCOMPARE(loop->started.size(), fallbackTried ? 2 : 1);
        if (fallbackTried)
            emit loop->playing(); // the fallback is heard
        QCOMPARE(problems.count(), 1);
        const QString message = problems.at(0).at(1).toString();
        QVERIFY2(message.contains(told) && message.contains(detail), qPrintable(message));
        if (failure != 0)
            QVERIFY2(!message.contains(QStringLiteral("无法播放声音文件")), qPrintable(message));
    }

    void missingFallbackIsToldInTheSameMessage()
    {
        const QString noFallback = m_dir.filePath(QStringLiteral("no-fallback.oga"));
        ThreadedSoundPlayer player(noFallback, AlarmDefault::Music, nullptr, kOutput);
        QSignalSpy problems(&player, &ThreadedSoundPlayer::playbackProblem);
        player.setURL(m_dir.filePath(QStringLiteral("gone.mp3")));
        QTRY_COMPARE(problems.count(), 1);
        const QString message = problems.at(0).at(0).toString();
        QVERIFY2(message.contains(noFallback) && message.contains(QStringLiteral("也找不到")),
                 qPrintable(message));
        QCOMPARE(player.soundingFile(), QString());
    }
};

QTEST_MAIN(TestThreadedSoundPlayer)
#include "tst_threadedsoundplayer.moc"

#include "engine/MediaSoundPlayer.h"

#include <QDataStream>
#include <QFile>
#include <QMediaPlayer>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A tenth of a second of 8 kHz 8-bit mono silence.
bool writeSilentWav(const QString& path)
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
    out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(8000) << quint16(1)
        << quint16(8);
    out.writeRawData("data", 4);
    out << samples;
    for (quint32 i = 0; i < samples; ++i)
        out << quint8(128);
    return out.status() == QDataStream::Ok;
}
} // namespace

class TestMediaSoundPlayer : public QObject
{
    Q_OBJECT

private slots:
    void sourceForPathsAndUrls()
    {
        QCOMPARE(MediaSoundPlayer::sourceFor(QStringLiteral("/tmp/a b.wav")),
                 QUrl::fromLocalFile("/tmp/a b.wav"));
        QCOMPARE(MediaSoundPlayer::sourceFor(QStringLiteral("D:\\提示音乐.mp3")).scheme(),
                 QStringLiteral("file"));
        QCOMPARE(MediaSoundPlayer::sourceFor(QStringLiteral("file:///tmp/x.wav")), QUrl("file:///tmp/x.wav"));
        QCOMPARE(MediaSoundPlayer::sourceFor(QString()), QUrl());
    }

    void readsBackExactlyWhatWasSet()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("tone.wav"));
        QVERIFY(writeSilentWav(path));

        MediaSoundPlayer player;
        QVERIFY(!player.mediaPlayer()); // nothing loaded until a sound plays
        QCOMPARE(player.URL(), QString());
        player.close();
        QVERIFY(!player.mediaPlayer());

        player.setURL(path);
        QCOMPARE(player.URL(), path);
        QVERIFY(player.mediaPlayer());
        QCOMPARE(player.mediaPlayer()->loops(), 255);
        QCOMPARE(player.mediaPlayer()->source(), QUrl::fromLocalFile(path));
        QTRY_COMPARE(player.mediaPlayer()->playbackState(), QMediaPlayer::PlayingState);

        player.close();
        QCOMPARE(player.URL(), QString());
        QCOMPARE(player.mediaPlayer()->source(), QUrl());
        QCOMPARE(player.mediaPlayer()->playbackState(), QMediaPlayer::StoppedState);
    }

    void missingFileIsSilent()
    {
        MediaSoundPlayer player;
        const QString missing = QStringLiteral("D:\\提示音乐.mp3");
        player.setURL(missing);
        QCOMPARE(player.URL(), missing);
        player.close();
        QCOMPARE(player.URL(), QString());
    }
};

QTEST_MAIN(TestMediaSoundPlayer)
#include "tst_mediasoundplayer.moc"

#include "ProgramSession.h"
#include "SoundCard.h"

#include <QDataStream>
#include <QFile>
#include <QStandardPaths>
#include <QTest>
#include <QTime>

using namespace XDesktop;

namespace {

const QPoint kRow0(60, 16);
constexpr int kRowHeight = 12;
constexpr double kAudible = -40; // dBFS, RMS
constexpr double kSilent = -70;  // dBFS, RMS
constexpr int kMeasureMs = 2000; // four notes of the tune
constexpr double kQuiet = -60;   // dBFS, RMS: the pause inside the beep file
constexpr int kBlockMs = 50;
constexpr int kBeepMs = 500; // a quarter second of tone, a quarter second of silence

// Sixteen piano notes, C E G C' over and over, half a second each: a format 0 standard MIDI file.
bool writeMidi(const QString& path)
{
    QByteArray track;
    track.append("\x00\xC0\x00", 3); // program 0, acoustic grand piano
    const char notes[] = {60, 64, 67, 72};
    for (int i = 0; i < 16; ++i) {
        const char note = notes[i % 4];
        track.append('\x00').append('\x90').append(note).append('\x64');        // on, velocity 100
        track.append("\x83\x60", 2).append('\x80').append(note).append('\x00'); // off 480 ticks later
    }
    track.append("\x00\xFF\x2F\x00", 4); // end of track

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file); // big-endian, as MIDI wants
    out.writeRawData("MThd", 4);
    out << quint32(6) << quint16(0) << quint16(1) << quint16(480); // 480 ticks a beat, 120 beats a minute
    out.writeRawData("MTrk", 4);
    out << quint32(track.size());
    out.writeRawData(track.constData(), int(track.size()));
    return out.status() == QDataStream::Ok;
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

QString gstLaunch(const QString& pipeline)
{
    return QStringLiteral("gst-launch-1.0 -q ") + pipeline;
}

} // namespace

// Sound as the user hears it: the real program plays into a private sound server's null sink,
// whose monitor is recorded; alarms are dismissed by clicking their rows.
class TestSoundDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void ringsUntilDismissed_data();
    void ringsUntilDismissed();
    void midiAsLoudAsTheSameMusicAsWav();
    void lastDismissalStopsTheSound();
    void loopsForAMinute();
    void ringsAgainAfterTheServerReturns();

private:
    // Slot `slot` on and due this minute, with the given sound file ("" leaves the default).
    void seedDueAlarm(ProgramSession& session, int slot, const QString& music);
    bool startProgram(ProgramSession& session);
    // Brings the main window back from the tray once it has hidden itself, as a user would.
    void showMainWindow();
    void clickRow(int row);

    QTemporaryDir m_media;
    PrivateSoundServer m_server;
    std::unique_ptr<SinkRecorder> m_recorder;
    QHash<QString, double> m_levels;
};

void TestSoundDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
    for (const char* tool : {"pulseaudio", "pactl", "parec", "gst-launch-1.0", "sox"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QSKIP(qPrintable(
                QStringLiteral("%1 is missing; run scripts/install-deps").arg(QLatin1String(tool))));
    }
    const QString problem = m_server.start();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    m_recorder = std::make_unique<SinkRecorder>(m_server);
    QVERIFY(m_recorder->start());

    // A short file at another rate, one channel: many plays a minute, each one countable.
    QVERIFY(run(QStringLiteral("sox"),
                {QStringLiteral("-n"), QStringLiteral("-r"), QStringLiteral("22050"), QStringLiteral("-c"),
                 QStringLiteral("1"), m_media.filePath("beep.wav"), QStringLiteral("synth"),
                 QStringLiteral("0.25"), QStringLiteral("sine"), QStringLiteral("660"), QStringLiteral("pad"),
                 QStringLiteral("0"), QStringLiteral("0.25")}));

    // The same music three ways: the MIDI file, rendered and brought to full scale as wav, and
    // that wav as mp3.
    const QString mid = m_media.filePath(QStringLiteral("tune.mid"));
    const QString raw = m_media.filePath(QStringLiteral("raw.wav"));
    const QString wav = m_media.filePath(QStringLiteral("tune.wav"));
    const QString mp3 = m_media.filePath(QStringLiteral("tune.mp3"));
    QVERIFY(writeMidi(mid));
    QVERIFY(run(QStringLiteral("sh"),
                {QStringLiteral("-c"),
                 gstLaunch(QStringLiteral("filesrc location='%1' ! midiparse ! fluiddec ! audioconvert ! "
                                          "audio/x-raw,format=S16LE ! wavenc ! filesink location='%2'"))
                     .arg(mid, raw)}));
    QVERIFY(run(QStringLiteral("sox"), {raw, wav, QStringLiteral("norm"), QStringLiteral("-1")}));
    QVERIFY(run(QStringLiteral("sh"),
                {QStringLiteral("-c"),
                 gstLaunch(QStringLiteral("filesrc location='%1' ! wavparse ! audioconvert ! lamemp3enc ! "
                                          "filesink location='%2'"))
                     .arg(wav, mp3)}));
}

void TestSoundDesktop::init()
{
    // Keep clear of a minute's end, so the alarm seeded for "now" is still due when the program starts.
    QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().second() < 50, 15000);
}

void TestSoundDesktop::seedDueAlarm(ProgramSession& session, int slot, const QString& music)
{
    const QString key = QString::number(slot);
    session.seed(QStringLiteral("elect"), key, QStringLiteral("1"));
    session.seed(QStringLiteral("time"), key, QTime::currentTime().toString(QStringLiteral("HH:mm")));
    session.seed(QStringLiteral("slogan"), key, QStringLiteral("提醒 %1/2").arg(slot));
    if (!music.isEmpty())
        session.seed(QStringLiteral("music"), key, music);
}

bool TestSoundDesktop::startProgram(ProgramSession& session)
{
    session.setEnvironment(QStringLiteral("PULSE_SERVER"), m_server.address());
    session.setEnvironment(QStringLiteral("PULSE_RUNTIME_PATH"), m_server.runtimePath());
    return session.start();
}

void TestSoundDesktop::showMainWindow()
{
    QTRY_VERIFY_WITH_TIMEOUT(!mainShown(), 6000);
    QTRY_VERIFY_WITH_TIMEOUT(iconShown(), 3000);
    click(trayIcon()->geometry.center());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
}

void TestSoundDesktop::clickRow(int row)
{
    click(mainWindow()->geometry.topLeft() + kRow0 + QPoint(0, row * kRowHeight));
}

void TestSoundDesktop::ringsUntilDismissed_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("wav") << "tune.wav";
    QTest::newRow("mp3") << "tune.mp3";
    QTest::newRow("mid") << "tune.mid";
    // The default sound is a Windows path, so the desktop's alarm sound plays instead, untold.
    QTest::newRow("fallback") << "";
}

void TestSoundDesktop::ringsUntilDismissed()
{
    QFETCH(QString, file);
    ProgramSession session;
    seedDueAlarm(session, 0, file.isEmpty() ? QString() : m_media.filePath(file));
    QVERIFY(startProgram(session));

    QVERIFY2(m_recorder->waitForLevel(kAudible, 10000), qPrintable(m_server.whyNothingIsHeard()));
    const double level = m_recorder->level(kMeasureMs);
    qInfo("%s: %.1f dBFS", QTest::currentDataTag(), level);
    QVERIFY2(level > kAudible, qPrintable(QString::number(level)));
    m_levels.insert(QLatin1String(QTest::currentDataTag()), level);

    showMainWindow();
    QVERIFY2(!otherWindow() && !noticeWindow(), "a window of ours covers the desktop while the alarm rings");
    clickRow(0);
    QVERIFY2(m_recorder->waitForLevel(kSilent, 3000, true), "the sound goes on after the dismissal");
    QVERIFY(session.isRunning());
}

void TestSoundDesktop::midiAsLoudAsTheSameMusicAsWav()
{
    if (!m_levels.contains(QStringLiteral("wav")) || !m_levels.contains(QStringLiteral("mid")))
        QSKIP("needs both levels from ringsUntilDismissed");
    const double gap = m_levels.value(QStringLiteral("wav")) - m_levels.value(QStringLiteral("mid"));
    QVERIFY2(std::abs(gap) <= 6, qPrintable(QStringLiteral("mid is %1 dB below wav").arg(gap)));
}

// Two alarms with different sounds fire together; the higher slot's sound plays. Dismissing it
// first leaves the other ringing and the sound on; dismissing that one too brings silence.
void TestSoundDesktop::lastDismissalStopsTheSound()
{
    ProgramSession session;
    seedDueAlarm(session, 0, m_media.filePath(QStringLiteral("tune.wav")));
    seedDueAlarm(session, 1, m_media.filePath(QStringLiteral("tune.mp3")));
    QVERIFY(startProgram(session));
    QVERIFY2(m_recorder->waitForLevel(kAudible, 10000), qPrintable(m_server.whyNothingIsHeard()));

    showMainWindow();
    clickRow(1);
    QVERIFY2(m_recorder->level(1000) > kAudible, "the sound stopped while an alarm still rings");
    clickRow(0);
    QVERIFY2(m_recorder->waitForLevel(kSilent, 3000, true), "the sound goes on after the last dismissal");
}

// A minute of a half-second file left ringing: its plays follow one another, none is lost.
void TestSoundDesktop::loopsForAMinute()
{
    ProgramSession session;
    seedDueAlarm(session, 0, m_media.filePath(QStringLiteral("beep.wav")));
    QVERIFY(startProgram(session));
    QVERIFY2(m_recorder->waitForLevel(kAudible, 10000), qPrintable(m_server.whyNothingIsHeard()));

    constexpr int kRecordMs = 60000;
    const QList<double> levels = m_recorder->levels(kRecordMs, kBlockMs);
    QVERIFY2(levels.size() * kBlockMs >= kRecordMs, qPrintable(m_server.whyNothingIsHeard()));
    const SinkRecorder::Plays plays = SinkRecorder::countPlays(levels, kAudible, kQuiet);
    const int expected = kRecordMs / kBeepMs;
    qInfo("%d plays of %d expected; longest silence %d ms", plays.count, expected,
          plays.longestQuiet * kBlockMs);
    QVERIFY2(plays.count * 10 >= expected * 9, qPrintable(QString::number(plays.count)));
    QVERIFY2(plays.longestQuiet * kBlockMs <= 1000,
             qPrintable(QString::number(plays.longestQuiet * kBlockMs)));
}

// The sound server dies while an alarm rings and comes back on the same socket: the alarm is
// heard again.
void TestSoundDesktop::ringsAgainAfterTheServerReturns()
{
    ProgramSession session;
    seedDueAlarm(session, 0, m_media.filePath(QStringLiteral("beep.wav")));
    QVERIFY(startProgram(session));
    QVERIFY2(m_recorder->waitForLevel(kAudible, 10000), qPrintable(m_server.whyNothingIsHeard()));

    m_server.kill();
    const QString problem = m_server.start();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    m_recorder = std::make_unique<SinkRecorder>(m_server); // the old one went with the server
    QVERIFY(m_recorder->start());
    QVERIFY2(m_recorder->waitForLevel(kAudible, 5000), "not heard again within 5 s of the server's return");
    QVERIFY(session.isRunning());
}

QTEST_GUILESS_MAIN(TestSoundDesktop)
#include "tst_sound_desktop.moc"

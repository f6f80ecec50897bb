#include "e2e/ProgramSession.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace XDesktop;

namespace {

constexpr int kCopies = 5;

// Lets every copy past one gate at the same moment: each starts as a shell that waits on a FIFO and
// then becomes the program. While the test holds the FIFO open for writing, a read blocks; closing it
// ends every read at once.
class StartingGate
{
public:
    explicit StartingGate(const QString& fifo) : m_fifo(fifo)
    {
        if (mkfifo(QFile::encodeName(fifo).constData(), 0600) != 0)
            qFatal("mkfifo failed");
        // Read-write, so that opening does not wait for a reader.
        m_writer = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_CLOEXEC);
    }
    ~StartingGate()
    {
        release();
        QFile::remove(m_fifo);
    }

    void start(QProcess& process, const QString& program)
    {
        process.start(
            QStringLiteral("/bin/sh"),
            {QStringLiteral("-c"), QStringLiteral("read _ < \"$0\"; exec \"$1\""), m_fifo, program});
    }
    // True once the process has the FIFO open, so that closing it will wake it.
    bool waiting(const QProcess& process) const
    {
        const QString input = QStringLiteral("/proc/%1/fd/0").arg(process.processId());
        return QFileInfo(input).symLinkTarget() == m_fifo;
    }
    void release()
    {
        if (m_writer >= 0)
            ::close(m_writer);
        m_writer = -1;
    }

private:
    QString m_fifo;
    int m_writer = -1;
};

} // namespace

// Copies of the program started in the same instant settle on exactly one.
class TestInstanceRaceDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void oneOfFiveStays();
};

void TestInstanceRaceDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
}

void TestInstanceRaceDesktop::oneOfFiveStays()
{
    ProgramSession session;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), session.configHome());
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), session.runtimeDir());
    environment.insert(QStringLiteral("PATH"),
                       session.stubDir() + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    const QString program = qEnvironmentVariable("QUORVEL_BUILD_DIR") + QStringLiteral("/quorvel");

    for (int round = 0; round < 4; ++round) {
        std::vector<std::unique_ptr<QProcess>> copies;
        {
            StartingGate gate(session.path(QStringLiteral("gate%1").arg(round)));
            for (int i = 0; i < kCopies; ++i) {
                auto copy = std::make_unique<QProcess>();
                copy->setProcessEnvironment(environment);
                copy->setProcessChannelMode(QProcess::ForwardedErrorChannel);
                gate.start(*copy, program);
                QVERIFY(copy->waitForStarted(5000));
                copies.push_back(std::move(copy));
            }
            for (auto& copy : copies)
                QTRY_VERIFY_WITH_TIMEOUT(gate.waiting(*copy), 5000);
        }

        const auto running = [&copies] {
            return std::count_if(copies.begin(), copies.end(),
                                 [](const auto& copy) { return copy->state() != QProcess::NotRunning; });
        };
        QTRY_COMPARE_WITH_TIMEOUT(running(), 1, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
        for (auto& copy : copies) {
            if (copy->state() == QProcess::NotRunning) {
                QCOMPARE(copy->exitStatus(), QProcess::NormalExit);
                QCOMPARE(copy->exitCode(), 0);
            }
        }
        // The survivor is the running copy: a later copy hands over to it and leaves.
        QCOMPARE(session.runSecondCopy(), 0);
        QCOMPARE(running(), 1);

        // Alternately a crash, which leaves its lock and socket behind for the next round, and a
        // clean end.
        for (auto& copy : copies) {
            if (copy->state() == QProcess::NotRunning)
                continue;
            if (round % 2 == 0)
                copy->kill();
            else
                copy->terminate();
            QVERIFY(copy->waitForFinished(5000));
        }
        QTRY_VERIFY_WITH_TIMEOUT(!mainWindow(), 5000);
    }
}

QTEST_GUILESS_MAIN(TestInstanceRaceDesktop)
#include "tst_instancerace_desktop.moc"

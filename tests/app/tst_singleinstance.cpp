#include "app/SingleInstance.h"
#include "support/TestDirs.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT
private slots:
    void secondCopyAsksFirstToRaise();
    void staleSocketIsRecovered();
    void nobodyAnswersWithoutAPrimary();
};

void TestSingleInstance::secondCopyAsksFirstToRaise()
{
    TestDirs dirs;
    SingleInstance first(dirs.runtimeDir());
    QVERIFY(first.becomePrimary());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);

    SingleInstance second(dirs.runtimeDir());
    QVERIFY(!second.becomePrimary());
    QVERIFY(second.askPrimaryToRaise());
    QVERIFY(raised.wait(2000));
}

void TestSingleInstance::staleSocketIsRecovered()
{
    TestDirs dirs;
    // A socket left by a crashed copy: the listener of a copy that never closed it.
    {
        SingleInstance crashed(dirs.runtimeDir() + QStringLiteral("/crashed"));
        QVERIFY(crashed.becomePrimary());
        QVERIFY(QFile::rename(crashed.socketPath(), dirs.runtimeDir() + QStringLiteral("/quorvel.socket")));
    }
    SingleInstance first(dirs.runtimeDir());
    QVERIFY(first.becomePrimary());
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    SingleInstance second(dirs.runtimeDir());
    QVERIFY(second.askPrimaryToRaise());
    QVERIFY(raised.wait(2000));
}

void TestSingleInstance::nobodyAnswersWithoutAPrimary()
{
    TestDirs dirs;
    SingleInstance lonely(dirs.runtimeDir());
    QVERIFY(!lonely.askPrimaryToRaise(200));
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"

#include "app/SingleInstance.h"
#include "support/TestDirs.h"

#include <QLocalServer>
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
    // A socket file left by a crashed copy, with nobody listening behind it.
    {
        QLocalServer leftover;
        QVERIFY(leftover.listen(dirs.runtimeDir() + QStringLiteral("/quorvel.socket")));
    }
    QFile stale(dirs.runtimeDir() + QStringLiteral("/quorvel.socket"));
    if (!stale.exists()) {
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
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

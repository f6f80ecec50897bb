#include "engine/ProcessCommandRunner.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestProcessCommandRunner : public QObject
{
    Q_OBJECT

private slots:
    void refusesWhatCannotStart_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("empty") << "";
        QTest::newRow("blank") << "   ";
        QTest::newRow("empty quotes") << "\"\" arg";
        QTest::newRow("missing program") << "/nonexistent/quorvel-no-such-program --flag";
        QTest::newRow("untouched template") << "quorvel-no-such-program-XXX";
    }
    void refusesWhatCannotStart()
    {
        QFETCH(QString, commandLine);
        ProcessCommandRunner runner;
        QVERIFY(!runner.startDetached(commandLine));
    }

    void startsAProgram()
    {
        ProcessCommandRunner runner;
        QVERIFY(runner.startDetached(QStringLiteral("true")));
    }

    // Quotes group words; separators a shell would act on reach the program as plain text.
    void argumentsAreSplitWithoutAShell()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString touch = QStandardPaths::findExecutable(QStringLiteral("touch"));
        QVERIFY(!touch.isEmpty());
        const QString spaced = dir.filePath(QStringLiteral("with space"));
        const QString chained = dir.filePath(QStringLiteral("a;touch"));
        const QString next = dir.filePath(QStringLiteral("b"));
        ProcessCommandRunner runner;
        QVERIFY(runner.startDetached(touch + QStringLiteral(" \"") + spaced + QLatin1Char('"')));
        QVERIFY(runner.startDetached(touch + QLatin1Char(' ') + dir.filePath(QStringLiteral("a")) +
                                     QStringLiteral(";touch ") + next));
        QTRY_VERIFY(QFile::exists(spaced));
        QTRY_VERIFY(QFile::exists(chained));
        QTRY_VERIFY(QFile::exists(next));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("a"))));
    }

    void startsAScript()
    {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("mark.sh"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\necho done > \"$1\"\n");
        file.close();
        QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
        const QString target = dir.filePath(QStringLiteral("out.txt"));
        ProcessCommandRunner runner;
        QVERIFY(runner.startDetached(script + QLatin1Char(' ') + target));
        QTRY_VERIFY(QFile::exists(target));
    }
};

QTEST_GUILESS_MAIN(TestProcessCommandRunner)
#include "tst_processcommandrunner.moc"

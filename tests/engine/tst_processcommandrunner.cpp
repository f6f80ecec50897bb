#include "engine/ProcessCommandRunner.h"
#include "platform/CommandLineSplit.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestProcessCommandRunner : public QObject
{
    Q_OBJECT

private slots:
    void splitsAsAShellGroupsWords_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("single quotes")
            << "sh -c 'notify-send 下课了'" << QStringList{"sh", "-c", "notify-send 下课了"};
        QTest::newRow("double quotes") << "say \"two  words\" x" << QStringList{"say", "two  words", "x"};
        QTest::newRow("escaped blank and quote") << "a\\ b it\\'s \\\"" << QStringList{"a b", "it's", "\""};
        QTest::newRow("escapes inside double quotes")
            << "p \"\\$HOME \\` \\\" \\\\ \\q\"" << QStringList{"p", "$HOME ` \" \\ \\q"};
        QTest::newRow("backslash inside single quotes") << "p 'a\\b\\'" << QStringList{"p", "a\\b\\"};
        QTest::newRow("nothing expanded in double quotes")
            << "p \"$HOME\" \"$(id)\" \"`id`\" \"~\"" << QStringList{"p", "$HOME", "$(id)", "`id`", "~"};
        QTest::newRow("shell operators are text")
            << "p a;b | c && d $(e) `f` ~ ~/x * $VAR #c > o 2>&1"
            << QStringList{"p", "a;b", "|", "c",    "&&", "d", "$(e)", "`f`",
                           "~", "~/x", "*", "$VAR", "#c", ">", "o",    "2>&1"};
        QTest::newRow("quoted parts join") << "pre'mid'\"post\"x" << QStringList{"premidpostx"};
        QTest::newRow("empty quoted arguments") << "p '' \"\" ''\"\"" << QStringList{"p", "", "", ""};
        QTest::newRow("chinese") << "/opt/提醒/运行 \"下课了 快走\" 上课"
                                 << QStringList{"/opt/提醒/运行", "下课了 快走", "上课"};
        QTest::newRow("blanks") << "  a\t b\n c  " << QStringList{"a", "b", "c"};
        QTest::newRow("wide space is text") << "a\u3000b" << QStringList{"a\u3000b"};
        QTest::newRow("line joined by backslash") << "a\\\nb" << QStringList{"ab"};
        QTest::newRow("backslash at the end") << "p C:\\" << QStringList{"p", "C:\\"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void splitsAsAShellGroupsWords()
    {
        QFETCH(QString, commandLine);
        QFETCH(QStringList, words);
        const std::optional<QStringList> split = splitCommandLine(commandLine);
        QVERIFY(split);
        QCOMPARE(*split, words);
    }

    void unclosedQuoteIsNoCommand_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("single") << "sh -c 'notify-send";
        QTest::newRow("double") << "say \"hi";
        QTest::newRow("escaped closing quote") << "say \"hi\\\"";
        QTest::newRow("double quote inside single") << "say '\"'\"";
    }
    void unclosedQuoteIsNoCommand()
    {
        QFETCH(QString, commandLine);
        QVERIFY(!splitCommandLine(commandLine));
        // The program itself exists; the open quote alone stops it.
        QVERIFY(!ProcessCommandRunner().startDetached(QStringLiteral("true ") + commandLine));
    }

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

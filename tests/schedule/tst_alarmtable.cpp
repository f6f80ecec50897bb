#include "schedule/AlarmTable.h"
#include "settings/MemorySettingsStore.h"
#include "settings/SettingsValues.h"

#include <QHash>
#include <QTest>

Q_DECLARE_METATYPE(AlarmAction)

namespace {
void seed(MemorySettingsStore& store, const QString& section, int slot, const QString& value)
{
    store.SaveSetting(kAppName, section, SlotKey(slot), value);
}
} // namespace

class TestAlarmTable : public QObject
{
    Q_OBJECT

private slots:
    void emptyStoreGivesDefaultsForEverySlot()
    {
        MemorySettingsStore store;
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const AlarmEntry entry = AlarmEntry::read(store, slot);
            QVERIFY(!entry.on);
            for (bool set : entry.weekdays)
                QVERIFY(set);
            QCOMPARE(BuildListLine(entry.on, entry.time, entry.slogan),
                     QStringLiteral("[关 12:00] Harry Up!"));
        }
        QVERIFY(store.writes.isEmpty());
    }

    void readsEachFieldFromItsSectionUnderTheSlotKey()
    {
        MemorySettingsStore store;
        AlarmEntry::read(store, 7);
        QStringList expected{QStringLiteral("time/7"), QStringLiteral("yy/7"),     QStringLiteral("mm/7"),
                             QStringLiteral("dd/7"),   QStringLiteral("slogan/7"), QStringLiteral("music/7"),
                             QStringLiteral("ml/7"),   QStringLiteral("elect/7")};
        for (int day = 0; day < kWeekdayCount; ++day)
            expected << QStringLiteral("WeekDay%1/7").arg(day);
        QStringList reads = store.reads;
        reads.sort();
        expected.sort();
        QCOMPARE(reads, expected);
    }

    // A text field reads as its default in every slot of an empty store, and a stored text only in
    // its own section and slot.
    void textFields_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("missing");
        QTest::addColumn<QString>("stored");
        QTest::newRow("time") << "time"
                              << "12:00"
                              << "08:25";
        QTest::newRow("year") << "yy"
                              << "——"
                              << "2030年";
        QTest::newRow("month") << "mm"
                               << "——"
                               << "5月";
        QTest::newRow("day") << "dd"
                             << "——"
                             << "9日";
        QTest::newRow("slogan") << "slogan"
                                << "Harry Up!"
                                << "[上课了]";
        QTest::newRow("music") << "music"
                               << "D:\\提示音乐.mp3"
                               << "/home/u/bell.wav";
        QTest::newRow("action") << "ml"
                                << "[无]"
                                << "关机(提示)";
    }
    void textFields()
    {
        QFETCH(QString, section);
        QFETCH(QString, missing);
        QFETCH(QString, stored);
        const auto text = [&section](const AlarmEntry& entry) {
            const QHash<QString, QString> bySection{
                {"time", entry.time},     {"yy", entry.year},     {"mm", entry.month}, {"dd", entry.day},
                {"slogan", entry.slogan}, {"music", entry.music}, {"ml", entry.action}};
            return bySection.value(section);
        };
        MemorySettingsStore store;
        for (int slot = 0; slot < kSlotCount; ++slot)
            QCOMPARE(text(AlarmEntry::read(store, slot)), missing);
        seed(store, section, 3, stored);
        QCOMPARE(text(AlarmEntry::read(store, 3)), stored);
        QCOMPARE(text(AlarmEntry::read(store, 4)), missing);
    }

    void switchAndWeekdaysStayInTheirSlot()
    {
        MemorySettingsStore store;
        seed(store, QStringLiteral("elect"), 3, QStringLiteral("1"));
        seed(store, QStringLiteral("WeekDay0"), 3, QStringLiteral("0"));
        seed(store, QStringLiteral("WeekDay6"), 3, QStringLiteral("0"));

        const AlarmEntry entry = AlarmEntry::read(store, 3);
        QVERIFY(entry.on);
        const std::array<bool, kWeekdayCount> weekdays{false, true, true, true, true, true, false};
        QCOMPARE(entry.weekdays, weekdays);

        const AlarmEntry neighbour = AlarmEntry::read(store, 4);
        QVERIFY(!neighbour.on);
        QVERIFY(neighbour.weekdays[0]);
    }

    void elect_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("on");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("1 with blanks") << " 1 " << true;
        QTest::newRow("1.0") << "1.0" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("2") << "2" << false;
        QTest::newRow("-1") << "-1" << false;
        QTest::newRow("True") << "True" << false;
        QTest::newRow("abc") << "abc" << false;
        QTest::newRow("empty") << "" << false;
    }

    void elect()
    {
        QFETCH(QString, stored);
        QFETCH(bool, on);
        QCOMPARE(electIsOn(stored), on);
        MemorySettingsStore store;
        seed(store, QStringLiteral("elect"), 0, stored);
        QCOMPARE(AlarmEntry::read(store, 0).on, on);
    }

    void weekdayFlag_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("set");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("0 with blanks") << " 0 " << false;
        QTest::newRow("other number") << "5" << true;
        QTest::newRow("malformed") << "abc" << true;
        QTest::newRow("empty") << "" << true;
    }

    void weekdayFlag()
    {
        QFETCH(QString, stored);
        QFETCH(bool, set);
        QCOMPARE(weekdayFlagIsSet(stored), set);
        MemorySettingsStore store;
        seed(store, QStringLiteral("WeekDay4"), 2, stored);
        const AlarmEntry entry = AlarmEntry::read(store, 2);
        QCOMPARE(entry.weekdays[4], set);
        QVERIFY(entry.weekdays[3] && entry.weekdays[5]);
    }

    void listLine_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("slogan");
        QTest::addColumn<QString>("line");
        QTest::newRow("on, bracketed slogan") << true << "08:25"
                                              << "[上课了]"
                                              << "[开 08:25] [上课了]";
        QTest::newRow("never saved") << false << "12:00"
                                     << "Harry Up!"
                                     << "[关 12:00] Harry Up!";
        QTest::newRow("slogan with closing bracket") << true << "23:59"
                                                     << "a] b"
                                                     << "[开 23:59] a] b";
        QTest::newRow("slogan with opening bracket") << false << "00:00"
                                                     << "["
                                                     << "[关 00:00] [";
        QTest::newRow("empty slogan") << false << "12:00"
                                      << ""
                                      << "[关 12:00] ";
        QTest::newRow("odd time kept as is") << true << "8:25"
                                             << "x"
                                             << "[开 8:25] x";
    }

    void listLine()
    {
        QFETCH(bool, on);
        QFETCH(QString, time);
        QFETCH(QString, slogan);
        QFETCH(QString, line);
        QCOMPARE(BuildListLine(on, time, slogan), line);
    }

    void labelsInOffer()
    {
        const QStringList expected{QStringLiteral("[无]"),     QStringLiteral("激活Quorvel"),
                                   QStringLiteral("关机"),     QStringLiteral("关机(提示)"),
                                   QStringLiteral("重启"),     QStringLiteral("重启(提示)"),
                                   QStringLiteral("退出程序"), QStringLiteral("运行：XXX")};
        QCOMPARE(actionLabels(), expected);
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(actionLabel(AlarmAction(i)), expected.at(i));
    }

    void actionFromStoredText_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<AlarmAction>("action");
        QTest::addColumn<QString>("command");
        QTest::newRow("none") << "[无]" << AlarmAction::None << "";
        QTest::newRow("show") << "激活Quorvel" << AlarmAction::ShowMainWindow << "";
        QTest::newRow("shut down") << "关机" << AlarmAction::ShutDown << "";
        QTest::newRow("shut down later") << "关机(提示)" << AlarmAction::ShutDownAfterCountdown << "";
        QTest::newRow("restart") << "重启" << AlarmAction::Restart << "";
        QTest::newRow("restart later") << "重启(提示)" << AlarmAction::RestartAfterCountdown << "";
        QTest::newRow("exit") << "退出程序" << AlarmAction::ExitProgram << "";
        QTest::newRow("run") << "运行：notepad.exe" << AlarmAction::RunCommand << "notepad.exe";
        QTest::newRow("run template") << "运行：XXX" << AlarmAction::RunCommand << "XXX";
        QTest::newRow("run keeps arguments")
            << "运行：xdg-open \"/tmp/a b.txt\"" << AlarmAction::RunCommand << "xdg-open \"/tmp/a b.txt\"";
        QTest::newRow("run nothing") << "运行：" << AlarmAction::RunCommand << "";
        QTest::newRow("ascii colon") << "运行:x" << AlarmAction::None << "";
        QTest::newRow("no colon") << "运行" << AlarmAction::None << "";
        QTest::newRow("space before run") << " 运行：x" << AlarmAction::None << "";
        QTest::newRow("label with trailing space") << "关机 " << AlarmAction::None << "";
        QTest::newRow("label in other case") << "激活quorvel" << AlarmAction::None << "";
        QTest::newRow("other text") << "shutdown -h now" << AlarmAction::None << "";
        QTest::newRow("empty") << "" << AlarmAction::None << "";
    }

    void actionFromStoredText()
    {
        QFETCH(QString, stored);
        QFETCH(AlarmAction, action);
        QFETCH(QString, command);
        QCOMPARE(actionFromLabel(stored), action);
        QCOMPARE(commandFromLabel(stored), command);
    }

    void keysAndSections()
    {
        for (int slot = 0; slot < kSlotCount; ++slot)
            QCOMPARE(SlotKey(slot), QString(QChar(u'0' + slot)));
        QCOMPARE(AlarmSection::weekday(0), QStringLiteral("WeekDay0"));
        QCOMPARE(AlarmSection::weekday(6), QStringLiteral("WeekDay6"));
    }
};

QTEST_APPLESS_MAIN(TestAlarmTable)
#include "tst_alarmtable.moc"

#include "settings/MemorySettingsStore.h"
#include "settings/SettingsValues.h"

#include <QTest>
#include <climits>

using namespace SettingsValues;

namespace {
const QString kSet = QStringLiteral("set");
}

class TestSettingsValues : public QObject
{
    Q_OBJECT

private slots:
    void readInt_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("expected");
        // Range -1..9 and default 3, as for the shadow size.
        QTest::newRow("plain") << "7" << 7;
        QTest::newRow("lowest") << "-1" << -1;
        QTest::newRow("highest") << "9" << 9;
        QTest::newRow("surrounding blanks") << " 5 " << 5;
        QTest::newRow("below range") << "-2" << 3;
        QTest::newRow("above range") << "10" << 3;
        QTest::newRow("beyond 64 bits") << "99999999999999999999" << 3;
        QTest::newRow("empty") << "" << 3;
        QTest::newRow("letters") << "abc" << 3;
        QTest::newRow("trailing letters") << "4px" << 3;
        QTest::newRow("fraction") << "4.5" << 3;
        QTest::newRow("hex") << "0x4" << 3;
        QTest::newRow("bool text") << "True" << 3;
    }

    void readInt()
    {
        QFETCH(QString, stored);
        QFETCH(int, expected);
        MemorySettingsStore store;
        store.SaveSetting(kAppName, kSet, QStringLiteral("sh"), stored);
        QCOMPARE(SettingsValues::readInt(store, kSet, QStringLiteral("sh"), 3, -1, 9), expected);
    }

    void readIntFullColourRange()
    {
        MemorySettingsStore store;
        store.SaveSetting(kAppName, kSet, QStringLiteral("c0"), QStringLiteral("16777215"));
        store.SaveSetting(kAppName, kSet, QStringLiteral("c1"), QStringLiteral("4294967295"));
        QCOMPARE(SettingsValues::readInt(store, kSet, QStringLiteral("c0"), 0, INT_MIN, INT_MAX), 16777215);
        QCOMPARE(SettingsValues::readInt(store, kSet, QStringLiteral("c1"), 0, INT_MIN, INT_MAX), 0);
        QCOMPARE(SettingsValues::readInt(store, kSet, QStringLiteral("c2"), 16777215, INT_MIN, INT_MAX),
                 16777215);
    }

    void readBool_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("defaultValue");
        QTest::addColumn<bool>("expected");
        QTest::newRow("True") << "True" << false << true;
        QTest::newRow("False") << "False" << true << false;
        QTest::newRow("lower case") << "true" << false << true;
        QTest::newRow("upper case") << "FALSE" << true << false;
        QTest::newRow("blanks") << " True " << false << true;
        QTest::newRow("one") << "1" << false << true;
        QTest::newRow("minus one") << "-1" << false << true;
        QTest::newRow("two") << "2" << false << true;
        QTest::newRow("zero") << "0" << true << false;
        QTest::newRow("empty keeps default true") << "" << true << true;
        QTest::newRow("empty keeps default false") << "" << false << false;
        QTest::newRow("yes is not a bool") << "yes" << false << false;
        QTest::newRow("garbage keeps default") << "Tru" << true << true;
        QTest::newRow("Chinese") << "是" << false << false;
    }

    void readBool()
    {
        QFETCH(QString, stored);
        QFETCH(bool, defaultValue);
        QFETCH(bool, expected);
        MemorySettingsStore store;
        store.SaveSetting(kAppName, kSet, QStringLiteral("v0"), stored);
        QCOMPARE(SettingsValues::readBool(store, kSet, QStringLiteral("v0"), defaultValue), expected);
    }

    void missingKeysGiveDefaults()
    {
        MemorySettingsStore store;
        QCOMPARE(readText(store, kSet, QStringLiteral("font"), QStringLiteral("宋体")),
                 QStringLiteral("宋体"));
        QCOMPARE(SettingsValues::readInt(store, kSet, QStringLiteral("tr"), 255, 1, 255), 255);
        QCOMPARE(SettingsValues::readBool(store, kSet, QStringLiteral("v3"), false), false);
        QCOMPARE(SettingsValues::readBool(store, kSet, QStringLiteral("v3"), true), true);
    }

    void storedEmptyTextIsNotMissing()
    {
        MemorySettingsStore store;
        saveText(store, QStringLiteral("slogan"), QStringLiteral("0"), QString());
        QCOMPARE(readText(store, QStringLiteral("slogan"), QStringLiteral("0"), QStringLiteral("Harry Up!")),
                 QString());
    }

    void boolTextIsWhatReadBoolAccepts()
    {
        QCOMPARE(boolText(true), QStringLiteral("True"));
        QCOMPARE(boolText(false), QStringLiteral("False"));
        bool value = false;
        QVERIFY(parseBool(boolText(true), &value) && value);
        QVERIFY(parseBool(boolText(false), &value) && !value);
    }

    void memoryStoreLogsReadsAndWrites()
    {
        MemorySettingsStore store;
        saveText(store, QStringLiteral("time"), QStringLiteral("2"), QStringLiteral("07:00"));
        saveText(store, QStringLiteral("elect"), QStringLiteral("2"), QStringLiteral("1"));
        QCOMPARE(readText(store, QStringLiteral("time"), QStringLiteral("2"), QString()),
                 QStringLiteral("07:00"));
        QCOMPARE(readText(store, QStringLiteral("slogan"), QStringLiteral("2"), QStringLiteral("d")),
                 QStringLiteral("d"));
        QCOMPARE(store.writes, (QStringList{QStringLiteral("time/2"), QStringLiteral("elect/2")}));
        QCOMPARE(store.reads, (QStringList{QStringLiteral("time/2"), QStringLiteral("slogan/2")}));
        QVERIFY(store.contains(QStringLiteral("elect"), QStringLiteral("2")));
        QVERIFY(!store.contains(QStringLiteral("slogan"), QStringLiteral("2")));
        QCOMPARE(store.value(QStringLiteral("elect"), QStringLiteral("2")), QStringLiteral("1"));
        QCOMPARE(store.size(), 2);

        store.clear();
        QCOMPARE(store.size(), 0);
        QVERIFY(store.reads.isEmpty() && store.writes.isEmpty());
    }

    void memoryStoreKeepsApplicationsAndAddressesApart()
    {
        MemorySettingsStore store;
        store.SaveSetting(QStringLiteral("Other"), QStringLiteral("time"), QStringLiteral("0"),
                          QStringLiteral("x"));
        store.SaveSetting(kAppName, QStringLiteral("time"), QStringLiteral("0"), QStringLiteral("y"));
        // "ab"/"c" and "a"/"bc" must not meet in one address.
        store.SaveSetting(kAppName, QStringLiteral("ab"), QStringLiteral("c"), QStringLiteral("1"));
        store.SaveSetting(kAppName, QStringLiteral("a"), QStringLiteral("bc"), QStringLiteral("2"));
        QCOMPARE(
            store.GetSetting(QStringLiteral("Other"), QStringLiteral("time"), QStringLiteral("0"), QString()),
            QStringLiteral("x"));
        QCOMPARE(store.value(QStringLiteral("time"), QStringLiteral("0")), QStringLiteral("y"));
        QCOMPARE(store.value(QStringLiteral("ab"), QStringLiteral("c")), QStringLiteral("1"));
        QCOMPARE(store.value(QStringLiteral("a"), QStringLiteral("bc")), QStringLiteral("2"));
    }
};

QTEST_APPLESS_MAIN(TestSettingsValues)
#include "tst_settingsvalues.moc"

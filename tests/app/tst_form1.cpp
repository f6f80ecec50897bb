#include "app/Form1.h"
#include "appearance/Appearance.h"
#include "engine/Clock.h"
#include "overlay/CaptionQueue.h"
#include "settings/MemorySettingsStore.h"
#include "support/FindChild.h"
#include "support/FormHarness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <memory>

namespace {
const QString kOff12 = QStringLiteral("[关 12:00] Harry Up!");
}

class TestForm1 : public QObject
{
    Q_OBJECT
private slots:
    void emptyStoreGivesDefaults();
    void seededSlotsAreListed();
    void malformedValuesGiveDefaults();
    void layoutMatchesTheDesign();
    void autoHideAndListClick();
    void closingAppliesChangedAutostartOnly_data();
    void closingAppliesChangedAutostartOnly();
    void exitSkipsUnloadSteps();
    void cancelHidesEditor();
};

void TestForm1::emptyStoreGivesDefaults()
{
    Harness h;
    Form1& form = h.load();

    auto* list = child<QListWidget>(form, QStringLiteral("List1"));
    QCOMPARE(list->count(), 10);
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(list->item(i)->text(), kOff12);
        QVERIFY(!h.engine.entry(i).on);
        QVERIFY(h.engine.alarmSlots().alarmArmed[i]);
        QCOMPARE(h.engine.entry(i).time, QStringLiteral("12:00"));
    }
    QVERIFY(!child<QCheckBox>(form, QStringLiteral("Check2"))->isChecked());

    auto* actions = child<QComboBox>(form, QStringLiteral("Cml"));
    auto* years = child<QComboBox>(form, QStringLiteral("Cyy"));
    auto* months = child<QComboBox>(form, QStringLiteral("Cmm"));
    auto* days = child<QComboBox>(form, QStringLiteral("Cdd"));
    QCOMPARE(actions->count(), 8);
    QCOMPARE(years->count(), 201);
    QCOMPARE(months->count(), 13);
    QCOMPARE(days->count(), 32);
    for (QComboBox* dates : {years, months, days})
        QCOMPARE(dates->itemText(0), QStringLiteral("——"));
    QCOMPARE(years->itemText(1), QStringLiteral("2001年"));
    QCOMPARE(years->itemText(200), QStringLiteral("2200年"));
    QCOMPARE(months->itemText(1), QStringLiteral("1月"));
    QCOMPARE(days->itemText(31), QStringLiteral("31日"));
    QCOMPARE(actions->itemText(7), QStringLiteral("运行：XXX"));

    // The window handle is published as plain decimal text; nothing else is written.
    QCOMPARE(h.store.value(QStringLiteral("hwnd"), QStringLiteral("main")),
             QString::number(quint64(form.winId())));
    QCOMPARE(h.store.writes, QStringList{QStringLiteral("hwnd/main")});

    const Appearance defaults = Appearance::load(h.store);
    QCOMPARE(defaults.colours, (std::array<quint32, 4>{16777215, 0, 16777215, 0}));
    QCOMPARE(defaults.opacity, 255);
    QCOMPARE(defaults.shadowSize, 3);
    QCOMPARE(defaults.fontName, QStringLiteral("宋体"));
    QCOMPARE(defaults.noColour, (std::array<bool, 4>{}));
    // The appearance is loaded once, and the strip is shown after the first check.
    QCOMPARE(h.appearanceLoads, 1);
    QCOMPARE(h.overlay.calls, QStringList{QStringLiteral("show")});

    QVERIFY(form.isVisible());
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(child<QTimer>(h.engine, QStringLiteral("Timer1"))->isActive());
    QVERIFY(child<QTimer>(form, QStringLiteral("Timer3"))->isActive());
    QVERIFY(!child<QTimer>(form, QStringLiteral("Timer2"))->isActive());
    QVERIFY(!child<QTimer>(h.engine, QStringLiteral("Tclo"))->isActive());
}

void TestForm1::seededSlotsAreListed()
{
    Harness h;
    h.seed(QStringLiteral("elect"), 0, QStringLiteral("1"));
    h.seed(QStringLiteral("time"), 0, QStringLiteral("08:25"));
    h.seed(QStringLiteral("slogan"), 0, QStringLiteral("[上课了]"));
    h.seed(QStringLiteral("elect"), 1, QStringLiteral("2"));
    h.seed(QStringLiteral("elect"), 2, QStringLiteral("0"));
    h.seed(QStringLiteral("slogan"), 3, QStringLiteral("a] [b"));
    h.store.SaveSetting(QStringLiteral("Horalis"), QStringLiteral("set"), QStringLiteral("run"),
                        QStringLiteral("1"));
    Form1& form = h.load();

    auto* list = child<QListWidget>(form, QStringLiteral("List1"));
    QCOMPARE(list->item(0)->text(), QStringLiteral("[开 08:25] [上课了]"));
    QVERIFY(h.engine.entry(0).on);
    QCOMPARE(list->item(1)->text(), kOff12);
    QCOMPARE(list->item(2)->text(), kOff12);
    QVERIFY(!h.engine.entry(1).on && !h.engine.entry(2).on);
    QCOMPARE(list->item(3)->text(), QStringLiteral("[关 12:00] a] [b"));
    QVERIFY(child<QCheckBox>(form, QStringLiteral("Check2"))->isChecked());
}

void TestForm1::malformedValuesGiveDefaults()
{
    Harness h;
    h.seed(QStringLiteral("elect"), 0, QStringLiteral("yes"));
    const auto set = [&](const char* key, const char* value) {
        h.store.SaveSetting(QStringLiteral("Horalis"), QStringLiteral("set"), QLatin1String(key),
                            QString::fromUtf8(value));
    };
    set("run", "on");
    set("c0", "red");
    set("c1", "-5");
    set("c2", "16777216");
    set("tr", "0");
    set("v0", "maybe");
    set("v1", "True");
    set("v2", "7");
    set("sh", "10");
    Form1& form = h.load();

    QCOMPARE(child<QListWidget>(form, QStringLiteral("List1"))->item(0)->text(), kOff12);
    QVERIFY(!child<QCheckBox>(form, QStringLiteral("Check2"))->isChecked());
    const Appearance loaded = Appearance::load(h.store);
    QCOMPARE(loaded.colours, (std::array<quint32, 4>{16777215, 0, 16777215, 0}));
    QCOMPARE(loaded.opacity, 255);
    QCOMPARE(loaded.noColour, (std::array<bool, 4>{false, true, true, false}));
    QCOMPARE(loaded.shadowSize, 3);

    set("sh", "-1");
    set("tr", "1");
    const Appearance edge = Appearance::load(h.store);
    QCOMPARE(edge.shadowSize, -1);
    QCOMPARE(edge.opacity, 1);
}

void TestForm1::layoutMatchesTheDesign()
{
    Harness h;
    Form1& form = h.load();
    QCOMPARE(form.size(), QSize(337, 169));
    QCOMPARE(form.windowTitle(), QStringLiteral("Quorvel"));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);

    const auto geometry = [&](const char* name) {
        return form.findChild<QWidget*>(QLatin1String(name))->geometry();
    };
    QCOMPARE(geometry("List1"), QRect(8, 8, 321, 124));
    QCOMPARE(geometry("Command1"), QRect(8, 144, 81, 17));
    QCOMPARE(geometry("Command7"), QRect(88, 152, 81, 17));
    QCOMPARE(geometry("Command2"), QRect(128, 144, 81, 17));
    QCOMPARE(geometry("Command8"), QRect(168, 144, 81, 17));
    QCOMPARE(geometry("Command3"), QRect(248, 144, 81, 17));
    QCOMPARE(geometry("Picture1"), QRect(8, 0, 321, 169));
    QCOMPARE(geometry("Ttime"), QRect(80, 8, 41, 18));
    QCOMPARE(geometry("VScroll2"), QRect(104, 24, 17, 105));
    QCOMPARE(geometry("Cdd"), QRect(248, 8, 57, 20));
    QCOMPARE(geometry("Cml"), QRect(80, 80, 225, 20));
    QCOMPARE(geometry("ToggleButton1(6)"), QRect(264, 108, 25, 25));
    QCOMPARE(geometry("Command4"), QRect(224, 144, 81, 17));
    QCOMPARE(geometry("Ptt(0)"), QRect(12, 10, 315, 12));
    QCOMPARE(geometry("Ptt(9)"), QRect(12, 118, 315, 13));

    // Each bar lies over its list row.
    auto* list = child<QListWidget>(form, QStringLiteral("List1"));
    for (int row : {0, 5, 9}) {
        const QRect rowRect = list->visualItemRect(list->item(row));
        const QPoint rowTop = list->viewport()->mapTo(&form, rowRect.topLeft());
        QCOMPARE(rowTop.y(), child(form, QStringLiteral("Ptt(%1)").arg(row))->y());
    }

    const auto text = [&](const char* name) {
        return form.findChild<QPushButton*>(QLatin1String(name))->text();
    };
    QCOMPARE(text("Command1"), QStringLiteral("更改"));
    QCOMPARE(text("Command2"), QStringLiteral("隐藏"));
    QCOMPARE(text("Command3"), QStringLiteral("退出"));
    QCOMPARE(text("Command7"), QStringLiteral("9 秒后关机"));
    QCOMPARE(text("Command8"), QStringLiteral("取消关机"));
    QCOMPARE(text("Command6"), QStringLiteral("设定"));
    QCOMPARE(text("ToggleButton1(0)"), QStringLiteral("日"));
    QVERIFY(!child<QPushButton>(form, QStringLiteral("Command1"))->isEnabled());
    for (const char* name : {"Command7", "Command8", "Picture1", "VScroll1", "VScroll2"})
        QVERIFY2(child(form, QLatin1String(name))->isHidden(), name);
    QCOMPARE(child<QLineEdit>(form, QStringLiteral("Ttime"))->text(), QStringLiteral("8:25"));
    QCOMPARE(child<QLineEdit>(form, QStringLiteral("Tslogan"))->text(), QStringLiteral("[上课了]"));
    QCOMPARE(child<QLineEdit>(form, QStringLiteral("Tmus"))->text(), QStringLiteral("C:\\music\\task.wav"));
    QCOMPARE(child<QComboBox>(form, QStringLiteral("Cml"))->currentText(), QStringLiteral("关机(提示)"));
    QCOMPARE(child<QComboBox>(form, QStringLiteral("Cyy"))->currentText(), QStringLiteral("——"));
    QVERIFY(child<QCheckBox>(form, QStringLiteral("Check1"))->isChecked());
    auto* wednesday = child<QPushButton>(form, QStringLiteral("ToggleButton1(3)"));
    QVERIFY(wednesday->isCheckable() && !wednesday->isChecked());
    auto* hours = child<QScrollBar>(form, QStringLiteral("VScroll1"));
    auto* minutes = child<QScrollBar>(form, QStringLiteral("VScroll2"));
    QCOMPARE(hours->minimum(), -1);
    QCOMPARE(hours->maximum(), 24);
    QCOMPARE(hours->pageStep(), 3);
    QCOMPARE(minutes->maximum(), 60);
    QCOMPARE(minutes->pageStep(), 5);
    QCOMPARE(list->font().family(), QStringLiteral("宋体"));
}

void TestForm1::autoHideAndListClick()
{
    Harness h;
    Form1& form = h.load();
    // Clicking the list within the first 3 s keeps the window.
    child<QListWidget>(form, QStringLiteral("List1"))->setCurrentRow(2);
    QVERIFY(!child<QTimer>(form, QStringLiteral("Timer3"))->isActive());
    QVERIFY(child<QPushButton>(form, QStringLiteral("Command1"))->isEnabled());
    QVERIFY(form.isVisible());

    Harness idle;
    Form1& other = idle.load();
    other.Timer3_Timer();
    QVERIFY(!child<QTimer>(other, QStringLiteral("Timer3"))->isActive());
    // Offscreen there is no tray, so hiding leaves the window in the taskbar.
    QVERIFY(!other.isVisible() || other.isMinimized());
}

void TestForm1::closingAppliesChangedAutostartOnly_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<QStringList>("autostart");
    QTest::newRow("ticked") << QString() << true << QStringList{QStringLiteral("1")};
    QTest::newRow("unticked") << QStringLiteral("1") << false << QStringList{QStringLiteral("0")};
    QTest::newRow("changed back") << QStringLiteral("1") << true << QStringList{};
}

void TestForm1::closingAppliesChangedAutostartOnly()
{
    QFETCH(QString, stored);
    QFETCH(bool, tick);
    QFETCH(QStringList, autostart);
    Harness h;
    if (!stored.isNull())
        h.store.SaveSetting(QStringLiteral("Horalis"), QStringLiteral("set"), QStringLiteral("run"), stored);
    Form1& form = h.load();
    h.store.writes.clear();

    auto* check2 = child<QCheckBox>(form, QStringLiteral("Check2"));
    check2->setChecked(!tick);
    check2->setChecked(tick);
    form.close();

    QCOMPARE(h.exits, 1);
    QStringList calls;
    for (bool on : h.autostartCalls)
        calls.append(on ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(calls, autostart);
    if (autostart.isEmpty()) {
        QVERIFY(h.store.writes.isEmpty());
    } else {
        QCOMPARE(h.store.writes, QStringList{QStringLiteral("set/run")});
        QCOMPARE(h.store.value(QStringLiteral("set"), QStringLiteral("run")), autostart.first());
    }
}

void TestForm1::exitSkipsUnloadSteps()
{
    Harness h;
    Form1& form = h.load();
    h.store.writes.clear();
    child<QCheckBox>(form, QStringLiteral("Check2"))->setChecked(true);
    QTest::mouseClick(child<QPushButton>(form, QStringLiteral("Command3")), Qt::LeftButton);
    QCOMPARE(h.exits, 1);
    QVERIFY(h.store.writes.isEmpty());
    QVERIFY(h.autostartCalls.isEmpty());
}

void TestForm1::cancelHidesEditor()
{
    Harness h;
    Form1& form = h.load();
    QWidget* panel = child(form, QStringLiteral("Picture1"));
    panel->show();
    // Without an alarm loaded, "好" has no slot to save into.
    QTest::mouseClick(child<QPushButton>(form, QStringLiteral("Command4")), Qt::LeftButton);
    QVERIFY(panel->isVisible());
    QTest::mouseClick(child<QPushButton>(form, QStringLiteral("Command5")), Qt::LeftButton);
    QVERIFY(panel->isHidden());
    QVERIFY(h.store.writes.size() == 1);
}

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"

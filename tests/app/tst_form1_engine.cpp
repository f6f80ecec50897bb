#include "app/AccessibleAlert.h"
#include "app/NoticeWindow.h"
#include "app/RowBar.h"
#include "engine/AlarmEngine.h"
#include "schedule/EditorPanel.h"
#include "support/FormClicks.h"
#include "support/WidgetChecks.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using FormClicks::clickRow;

namespace {

const QString kBell = QStringLiteral("/snd/bell.wav");

RowBar* bar(Form1& form, int slot)
{
    return child<RowBar>(form, QStringLiteral("Ptt(%1)").arg(slot));
}

// No session bus, so no notification service takes a message.
void withoutSessionBus()
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
}
Q_CONSTRUCTOR_FUNCTION(withoutSessionBus)

QList<NoticeWindow*> visibleNotices()
{
    QList<NoticeWindow*> shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* notice = qobject_cast<NoticeWindow*>(window); notice && notice->isVisible())
            shown.append(notice);
    }
    return shown;
}

} // namespace

// The main window applies what the engine signals to its own widgets, and passes clicks on them back.
class TestForm1Engine : public QObject
{
    Q_OBJECT

private:
    // Loads and waits for the window to be exposed. What start-up asked of the strip is kept in
    // atLoad: activating the window later adds a PosTop of its own.
    static Form1& loadShown(Harness& h, QStringList* atLoad = nullptr)
    {
        Form1& form = h.load();
        if (atLoad)
            *atLoad = h.overlay.calls;
        if (!QTest::qWaitForWindowExposed(&form))
            qFatal("main window not exposed");
        return form;
    }

private slots:
    void ringingRowsBlink()
    {
        Harness h;
        h.seedAlarm(3, QStringLiteral("08:00"), QStringLiteral("[上课了]"), kBell);
        QStringList atLoad;
        Form1& form = loadShown(h, &atLoad);

        // The check runs at start-up before the strip is shown.
        QCOMPARE(atLoad, (QStringList{"SetCap:[上课了]", "show", "slideIn", "PosTop", "show"}));
        auto* timer2 = child<QTimer>(form, QStringLiteral("Timer2"));
        QVERIFY(timer2->isActive());
        QCOMPARE(timer2->interval(), 390);

        // The bar carries the row's line in magenta on white, and waits unlit for the first blink.
        // It blinks by painting, never by showing and hiding, which a screen reader would hear.
        RowBar* ringing = bar(form, 3);
        QCOMPARE(ringing->line(), child<QListWidget>(form, QStringLiteral("List1"))->item(3)->text());
        QVERIFY(!ringing->isLit());
        QVERIFY(!WidgetChecks::hasColour(ringing->grab().toImage(), qRgb(255, 0, 255)));

        for (bool lit : {true, false, true}) {
            form.alarmList().Timer2_Timer();
            QCOMPARE(ringing->isLit(), lit);
            for (int slot = 0; slot < 10; ++slot) {
                QVERIFY(bar(form, slot)->isVisible());
                if (slot != 3)
                    QVERIFY(!bar(form, slot)->isLit());
            }
        }
        const QImage painted = ringing->grab().toImage();
        QCOMPARE(painted.pixelColor(0, 0), QColor(Qt::white));
        QVERIFY(WidgetChecks::hasColour(painted, qRgb(255, 0, 255)));
        // The blinking runs off the timer itself too.
        QTRY_VERIFY_WITH_TIMEOUT(!ringing->isLit(), 2000);
    }

    void clickingTheBarDismisses()
    {
        Harness h;
        h.seedAlarm(1, QStringLiteral("08:00"), QStringLiteral("one"), kBell);
        h.seedAlarm(3, QStringLiteral("08:00"), QStringLiteral("three"), kBell);
        Form1& form = loadShown(h);
        auto* timer2 = child<QTimer>(form, QStringLiteral("Timer2"));
        form.alarmList().Timer2_Timer();
        QVERIFY(bar(form, 1)->isLit() && bar(form, 3)->isLit());

        QTest::mouseClick(bar(form, 3), Qt::LeftButton);
        QVERIFY(!bar(form, 3)->isLit());
        QVERIFY(!h.engine.isRinging(3));
        QVERIFY(timer2->isActive());
        form.alarmList().Timer2_Timer();
        form.alarmList().Timer2_Timer();
        QVERIFY(bar(form, 1)->isLit());
        QVERIFY(!bar(form, 3)->isLit());

        QTest::mouseClick(bar(form, 1), Qt::LeftButton);
        QVERIFY(!bar(form, 1)->isLit());
        QVERIFY(!timer2->isActive());
        // Dismissal leaves the list's button alone.
        QVERIFY(!child<QPushButton>(form, QStringLiteral("Command1"))->isEnabled());
    }

    void selectingARingingRowDismissesIt()
    {
        Harness h;
        h.seedAlarm(3, QStringLiteral("08:00"), QStringLiteral("three"), kBell);
        h.seedAlarm(4, QStringLiteral("08:00"), QStringLiteral("four"), kBell);
        h.seedAlarm(5, QStringLiteral("08:00"), QStringLiteral("five"), kBell);
        Form1& form = loadShown(h);
        auto* list = child<QListWidget>(form, QStringLiteral("List1"));
        auto* change = child<QPushButton>(form, QStringLiteral("Command1"));
        QVERIFY(!bar(form, 3)->isLit());

        clickRow(form, 3);
        QCOMPARE(form.alarmList().selectedRow(), 3);
        QVERIFY(!h.engine.isRinging(3));
        QVERIFY(!change->isEnabled());
        QVERIFY(!child<QTimer>(form, QStringLiteral("Timer3"))->isActive());

        // The keyboard selects a row as a click does.
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(form.alarmList().selectedRow(), 4);
        QVERIFY(!h.engine.isRinging(4));
        QVERIFY(!change->isEnabled());

        clickRow(form, 6);
        QVERIFY(change->isEnabled());

        // So does a press on one row dragged to another.
        QWidget* rows = list->viewport();
        const auto centre = [&](int row) { return list->visualItemRect(list->item(row)).center(); };
        QTest::mousePress(rows, Qt::LeftButton, {}, centre(6));
        QTest::mouseMove(rows, centre(5));
        QTest::mouseRelease(rows, Qt::LeftButton, {}, centre(5));
        QCOMPARE(form.alarmList().selectedRow(), 5);
        QTRY_VERIFY(!h.engine.isRinging(5));
        QVERIFY(!change->isEnabled());
        QVERIFY(!child<QTimer>(form, QStringLiteral("Timer2"))->isActive());

        clickRow(form, 3);
        QVERIFY(change->isEnabled());
    }

    // A screen reader hears what rings and where; Enter on the row opens it as a double-click
    // does, once the click rule has dismissed it, and Esc gives the keyboard back to the list.
    void ringingIsToldAndEnterOpensTheRow()
    {
        Harness h;
        h.seedAlarm(3, QStringLiteral("08:00"), QStringLiteral("three"), kBell);
        Form1& form = loadShown(h);
        auto* list = child<QListWidget>(form, QStringLiteral("List1"));
        const auto* alert = form.findChild<AccessibleAlert*>();
        const auto rowState = [list] {
            return list->item(3)->data(Qt::AccessibleDescriptionRole).toString();
        };
        QCOMPARE(alert->text(), QStringLiteral("闹钟响铃：08:00 three"));
        QCOMPARE(rowState(), QStringLiteral("正在响铃"));

        list->setFocus();
        list->setCurrentRow(3, QItemSelectionModel::NoUpdate);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!h.engine.isRinging(3));
        QCOMPARE(rowState(), QStringLiteral("已停止"));
        QCOMPARE(alert->text(), QStringLiteral("闹钟已停止：08:00 three"));
        QVERIFY(child(form, QStringLiteral("Picture1"))->isVisible());
        QCOMPARE(child<QLineEdit>(form, QStringLiteral("Tslogan"))->text(), QStringLiteral("three"));

        QTest::keyClick(form.focusWidget(), Qt::Key_Escape);
        QVERIFY(child(form, QStringLiteral("Picture1"))->isHidden());
        QCOMPARE(form.focusWidget(), list);
    }

    void firingOnTheSelectedRowDisablesChange()
    {
        Harness h;
        h.seedAlarm(2, QStringLiteral("08:01"), QStringLiteral("two"));
        h.seedAlarm(5, QStringLiteral("08:01"), QStringLiteral("five"));
        Form1& form = loadShown(h);
        auto* change = child<QPushButton>(form, QStringLiteral("Command1"));
        clickRow(form, 5);
        QVERIFY(change->isEnabled());

        h.clock.advanceSeconds(60);
        h.engine.Timer1_Timer();
        QVERIFY(h.engine.isRinging(2) && h.engine.isRinging(5));
        QVERIFY(!change->isEnabled());
    }

    void countdownRunsThroughTheButtons()
    {
        Harness h;
        h.seedAlarm(0, QStringLiteral("08:01"), QStringLiteral("bye"), kBell, QStringLiteral("关机(提示)"));
        Form1& form = loadShown(h);
        auto* command7 = child<QPushButton>(form, QStringLiteral("Command7"));
        auto* command8 = child<QPushButton>(form, QStringLiteral("Command8"));
        auto* tclo = child<QTimer>(h.engine, QStringLiteral("Tclo"));
        form.hide();

        h.clock.advanceSeconds(60);
        h.engine.Timer1_Timer();
        QVERIFY(form.isVisible());
        QCOMPARE(form.pos(), QPoint(350, 350));
        QVERIFY(tclo->isActive());
        QCOMPARE(tclo->interval(), 1000);
        QVERIFY(command7->isVisible() && command8->isVisible());
        QCOMPARE(command7->text(), QStringLiteral("50 秒后关机"));
        QCOMPARE(command8->text(), QStringLiteral("取消关机"));

        // The timer's own tick reaches the countdown.
        QVERIFY(QMetaObject::invokeMethod(tclo, "timeout"));
        QCOMPARE(command7->text(), QStringLiteral("49 秒后关机"));
        for (int left = 48; left >= 0; --left)
            h.engine.Tclo_Timer();
        QVERIFY(tclo->isActive());
        h.engine.Tclo_Timer();
        QCOMPARE(h.runner.started, QStringList{"systemctl poweroff"});
        QVERIFY(!tclo->isActive());
        QVERIFY(command7->isVisible() && command8->isVisible());
    }

    void cancellingStopsTheCountdown()
    {
        Harness h;
        h.seedAlarm(0, QStringLiteral("08:00"), QStringLiteral("bye"), kBell, QStringLiteral("重启(提示)"));
        Form1& form = loadShown(h);
        auto* command8 = child<QPushButton>(form, QStringLiteral("Command8"));
        QCOMPARE(command8->text(), QStringLiteral("取消重启"));

        QTest::mouseClick(command8, Qt::LeftButton);
        QVERIFY(child<QPushButton>(form, QStringLiteral("Command7"))->isHidden() && command8->isHidden());
        QVERIFY(!child<QTimer>(h.engine, QStringLiteral("Tclo"))->isActive());
        QVERIFY(h.runner.started.isEmpty());
    }

    void runNowDisablesTheButtons()
    {
        Harness h;
        h.seedAlarm(0, QStringLiteral("08:00"), QStringLiteral("bye"), kBell, QStringLiteral("关机(提示)"));
        Form1& form = loadShown(h);
        auto* command7 = child<QPushButton>(form, QStringLiteral("Command7"));

        // "隐藏" lies over the right half of the button; its left part takes the click.
        QTest::mouseClick(command7, Qt::LeftButton, {}, QPoint(10, command7->height() / 2));
        QCOMPARE(h.runner.started, QStringList{"systemctl poweroff"});
        QVERIFY(command7->isHidden());
        QVERIFY(!command7->isEnabled() && !child<QPushButton>(form, QStringLiteral("Command8"))->isEnabled());
        QVERIFY(!child<QTimer>(h.engine, QStringLiteral("Tclo"))->isActive());
    }

    void showActionBringsTheWindowBack()
    {
        Harness h;
        h.seedAlarm(2, QStringLiteral("08:01"), QStringLiteral("look"), kBell, QStringLiteral("激活Quorvel"));
        Form1& form = loadShown(h);
        form.hide();

        h.clock.advanceSeconds(60);
        h.engine.Timer1_Timer();
        QVERIFY(form.isVisible());
        QCOMPARE(form.pos(), QPoint(350, 350));
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(child<QPushButton>(form, QStringLiteral("Command7"))->isHidden());
    }

    void failuresShowWithoutBlocking()
    {
        Harness h;
        h.runner.failing = QStringList{"XXX"};
        h.seedAlarm(1, QStringLiteral("08:00"), QStringLiteral("one"), kBell, QStringLiteral("运行：XXX"));
        h.seedAlarm(2, QStringLiteral("08:00"), QStringLiteral("two"), kBell, QStringLiteral("运行："));
        // Loading returns, so no message blocks the check.
        Form1& form = loadShown(h);
        emit h.sound.playbackProblem(QStringLiteral("无法播放"));

        // All listed in one window, not one box each.
        QTRY_COMPARE(visibleNotices().size(), 1);
        NoticeWindow* notice = visibleNotices().first();
        QTRY_COMPARE(notice->lines().size(), 3);
        QVERIFY(!notice->isModal());
        QStringList texts;
        for (const QString& line : notice->lines())
            texts.append(line.section(QStringLiteral("  "), 1));
        texts.sort();
        QCOMPARE(texts, (QStringList{"无法播放", "无法运行命令：XXX", "无法运行命令：命令为空"}));
        // The window stays usable while the messages are up.
        clickRow(form, 1);
        QVERIFY(!h.engine.isRinging(1));
    }

    // A failed save at start-up and on the way out, and a failed autostart change, are told too.
    void startAndExitFailuresAreTold()
    {
        Harness h;
        h.store.failure = QStringLiteral("磁盘已满");
        h.autostartWorks = false;
        Form1& form = loadShown(h);
        QTRY_COMPARE(visibleNotices().size(), 1);
        NoticeWindow* notice = visibleNotices().first();
        QTRY_COMPARE(notice->lines().size(), 1);
        QVERIFY(notice->lines().first().contains(QStringLiteral("主窗口标识未能保存")));

        child<QCheckBox>(form, QStringLiteral("Check2"))->setChecked(true);
        form.close();
        QCOMPARE(h.autostartCalls, QList<bool>{true});
        QTRY_COMPARE(notice->lines().size(), 3);
        QVERIFY(notice->lines().at(1).contains(QStringLiteral("开机启动设置未能保存")));
        QVERIFY(notice->lines().at(1).contains(QStringLiteral("磁盘已满")));
        QVERIFY(notice->lines().at(2).contains(QStringLiteral("未能开启开机启动")));
    }

    void exitActionEndsTheProgram()
    {
        Harness h;
        h.seedAlarm(1, QStringLiteral("08:00"), QStringLiteral("one"), kBell, QStringLiteral("退出程序"));
        loadShown(h);
        QCOMPARE(h.exits, 1);
    }
};

QTEST_MAIN(TestForm1Engine)
#include "tst_form1_engine.moc"

#include "engine/AlarmEngine.h"
#include "engine/RowBar.h"
#include "schedule/EditorPanel.h"
#include "support/FormClicks.h"

#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using FormClicks::clickRow;

namespace {

const QString kBell = QStringLiteral("/snd/bell.wav");

template <typename Widget = QWidget> Widget* child(Form1& form, const QString& name)
{
    auto* widget = form.findChild<Widget*>(name);
    if (!widget)
        qFatal("no widget %s", qPrintable(name));
    return widget;
}

RowBar* bar(Form1& form, int slot)
{
    return child<RowBar>(form, QStringLiteral("Ptt(%1)").arg(slot));
}

QList<QMessageBox*> visibleMessages(Form1& form)
{
    QList<QMessageBox*> shown;
    for (QMessageBox* box : form.findChildren<QMessageBox*>()) {
        if (box->isVisible())
            shown.append(box);
    }
    return shown;
}

bool hasColour(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == colour)
                return true;
        }
    }
    return false;
}

} // namespace

class TestAlarmEngine : public QObject
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
    void firesAtStartUpAndBlinks()
    {
        Harness h;
        h.seedAlarm(3, QStringLiteral("08:00"), QStringLiteral("[上课了]"), kBell);
        QStringList atLoad;
        Form1& form = loadShown(h, &atLoad);

        QCOMPARE(atLoad, (QStringList{"font:宋体", "SetCap:[上课了]", "show", "slideIn", "PosTop", "show"}));
        QCOMPARE(h.sound.calls, (QStringList{"close", "setURL:" + kBell}));
        QCOMPARE(h.capList.texts(), (QStringList{"[上课了]"}));
        QVERIFY(!form.alarmSlots.alarmArmed[3]);
        QVERIFY(child<QTimer>(form, QStringLiteral("Timer2"))->isActive());
        QCOMPARE(form.Timer2->interval(), 390);

        // The bar carries the row's line in magenta on white, and waits hidden for the first blink.
        RowBar* ringing = bar(form, 3);
        QCOMPARE(ringing->line(), QStringLiteral("[开 08:00] [上课了]"));
        QCOMPARE(ringing->line(), form.List1->item(3)->text());
        QVERIFY(ringing->isHidden());
        const QImage painted = ringing->grab().toImage();
        QCOMPARE(painted.pixelColor(0, 0), QColor(Qt::white));
        QVERIFY(hasColour(painted, QColor(255, 0, 255)));

        for (bool shown : {true, false, true}) {
            form.engine->Timer2_Timer();
            QCOMPARE(ringing->isVisible(), shown);
            for (int slot = 0; slot < 10; ++slot) {
                if (slot != 3)
                    QVERIFY(bar(form, slot)->isHidden());
            }
        }
        // The blinking runs off the timer itself too.
        QTRY_VERIFY_WITH_TIMEOUT(ringing->isHidden(), 2000);
    }

    void clickingTheBarDismisses()
    {
        Harness h;
        h.seedAlarm(1, QStringLiteral("08:00"), QStringLiteral("one"), kBell);
        h.seedAlarm(3, QStringLiteral("08:00"), QStringLiteral("three"), kBell);
        Form1& form = loadShown(h);
        QCOMPARE(h.sound.calls, (QStringList{"close", "setURL:" + kBell}));
        form.engine->Timer2_Timer();
        QVERIFY(bar(form, 1)->isVisible() && bar(form, 3)->isVisible());

        QTest::mouseClick(bar(form, 3), Qt::LeftButton);
        QVERIFY(bar(form, 3)->isHidden());
        QVERIFY(!form.engine->ringing().isRinging(3));
        QCOMPARE(h.capList.texts(), (QStringList{"one"}));
        QCOMPARE(h.sound.URL(), kBell);
        QVERIFY(form.Timer2->isActive());
        form.engine->Timer2_Timer();
        QVERIFY(bar(form, 1)->isHidden());
        QVERIFY(bar(form, 3)->isHidden());
        form.engine->Timer2_Timer();
        QVERIFY(bar(form, 1)->isVisible());
        QVERIFY(bar(form, 3)->isHidden());

        QTest::mouseClick(bar(form, 1), Qt::LeftButton);
        QVERIFY(bar(form, 1)->isHidden());
        QVERIFY(h.capList.isEmpty());
        QCOMPARE(h.sound.calls.last(), QStringLiteral("close"));
        QVERIFY(!form.Timer2->isActive());
        // Dismissal leaves the list's button and the armed flags alone.
        QVERIFY(!form.Command1->isEnabled());
        QVERIFY(!form.alarmSlots.alarmArmed[1] && !form.alarmSlots.alarmArmed[3]);
    }

    void selectingARingingRowDismissesIt()
    {
        Harness h;
        h.seedAlarm(3, QStringLiteral("08:00"), QStringLiteral("three"), kBell);
        h.seedAlarm(4, QStringLiteral("08:00"), QStringLiteral("four"), kBell);
        h.seedAlarm(5, QStringLiteral("08:00"), QStringLiteral("five"), kBell);
        Form1& form = loadShown(h);
        QVERIFY(bar(form, 3)->isHidden());

        clickRow(form, 3);
        QCOMPARE(form.selectedRow(), 3);
        QVERIFY(!form.engine->ringing().isRinging(3));
        QCOMPARE(h.capList.texts(), (QStringList{"four", "five"}));
        QVERIFY(!form.Command1->isEnabled());
        QVERIFY(!form.Timer3->isActive());

        // The keyboard selects a row as a click does.
        form.List1->setFocus();
        QTest::keyClick(form.List1, Qt::Key_Down);
        QCOMPARE(form.selectedRow(), 4);
        QVERIFY(!form.engine->ringing().isRinging(4));
        QVERIFY(!form.Command1->isEnabled());
        QCOMPARE(h.capList.texts(), (QStringList{"five"}));
        QVERIFY(form.Timer2->isActive());

        clickRow(form, 6);
        QVERIFY(form.Command1->isEnabled());

        // So does a press on one row dragged to another.
        QWidget* rows = form.List1->viewport();
        const auto centre = [&](int row) {
            return form.List1->visualItemRect(form.List1->item(row)).center();
        };
        QTest::mousePress(rows, Qt::LeftButton, {}, centre(6));
        QTest::mouseMove(rows, centre(5));
        QTest::mouseRelease(rows, Qt::LeftButton, {}, centre(5));
        QCOMPARE(form.selectedRow(), 5);
        QTRY_VERIFY(!form.engine->ringing().isRinging(5));
        QVERIFY(!form.Command1->isEnabled());
        QVERIFY(h.capList.isEmpty());
        QCOMPARE(h.sound.calls.last(), QStringLiteral("close"));
        QVERIFY(!form.Timer2->isActive());

        clickRow(form, 3);
        QVERIFY(form.Command1->isEnabled());
    }

    void firingOnTheSelectedRowDisablesChange()
    {
        Harness h;
        h.seedAlarm(2, QStringLiteral("08:01"), QStringLiteral("two"));
        h.seedAlarm(5, QStringLiteral("08:01"), QStringLiteral("five"));
        Form1& form = loadShown(h);
        clickRow(form, 5);
        QVERIFY(form.Command1->isEnabled());

        h.clock.advanceSeconds(60);
        form.Timer1_Timer();
        QVERIFY(form.engine->ringing().isRinging(2) && form.engine->ringing().isRinging(5));
        QVERIFY(!form.Command1->isEnabled());
    }

    void countdownRunsThroughTheButtons()
    {
        Harness h;
        h.seedAlarm(0, QStringLiteral("08:01"), QStringLiteral("bye"), kBell, QStringLiteral("关机(提示)"));
        Form1& form = loadShown(h);
        auto* command7 = child<QPushButton>(form, QStringLiteral("Command7"));
        auto* command8 = child<QPushButton>(form, QStringLiteral("Command8"));
        auto* tclo = child<QTimer>(form, QStringLiteral("Tclo"));
        form.hide();

        h.clock.advanceSeconds(60);
        form.Timer1_Timer();
        QVERIFY(form.isVisible());
        QCOMPARE(form.pos(), QPoint(350, 350));
        QVERIFY(tclo->isActive());
        QCOMPARE(tclo->interval(), 1000);
        QVERIFY(command7->isVisible() && command8->isVisible());
        QCOMPARE(command7->text(), QStringLiteral("50 秒后关机"));
        QCOMPARE(command8->text(), QStringLiteral("取消关机"));

        // The timer's own tick reaches the countdown as the direct calls below do.
        QVERIFY(QMetaObject::invokeMethod(tclo, "timeout"));
        QCOMPARE(command7->text(), QStringLiteral("49 秒后关机"));
        for (int left = 48; left >= 0; --left) {
            form.engine->Tclo_Timer();
            QCOMPARE(command7->text(), QString::number(left) + QStringLiteral(" 秒后关机"));
        }
        QVERIFY(h.runner.started.isEmpty());
        QVERIFY(tclo->isActive());

        form.engine->Tclo_Timer();
        QCOMPARE(h.runner.started, QStringList{"systemctl poweroff"});
        QVERIFY(!tclo->isActive());
        QVERIFY(command7->isVisible() && command8->isVisible());
    }

    void cancellingStopsTheCountdown()
    {
        Harness h;
        h.seedAlarm(0, QStringLiteral("08:00"), QStringLiteral("bye"), kBell, QStringLiteral("重启(提示)"));
        Form1& form = loadShown(h);
        for (int i = 0; i < 10; ++i)
            form.engine->Tclo_Timer();
        QCOMPARE(form.Command8->text(), QStringLiteral("取消重启"));

        QTest::mouseClick(form.Command8, Qt::LeftButton);
        QVERIFY(form.Command7->isHidden() && form.Command8->isHidden());
        QVERIFY(!form.Tclo->isActive());
        QVERIFY(h.runner.started.isEmpty());
    }

    void runNowDisablesTheButtonsForTheRun()
    {
        Harness h;
        h.seedAlarm(0, QStringLiteral("08:00"), QStringLiteral("bye"), kBell, QStringLiteral("关机(提示)"));
        h.seedAlarm(1, QStringLiteral("08:01"), QStringLiteral("again"), kBell, QStringLiteral("重启(提示)"));
        Form1& form = loadShown(h);

        // "隐藏" lies over the right half of the button; its left part takes the click.
        QTest::mouseClick(form.Command7, Qt::LeftButton, {}, QPoint(10, form.Command7->height() / 2));
        QCOMPARE(h.runner.started, QStringList{"systemctl poweroff"});
        QVERIFY(form.Command7->isHidden());
        QVERIFY(!form.Command7->isEnabled() && !form.Command8->isEnabled());
        QVERIFY(!form.Tclo->isActive());

        h.clock.advanceSeconds(60);
        form.Timer1_Timer();
        QVERIFY(form.Tclo->isActive());
        QVERIFY(form.Command7->isVisible() && form.Command8->isVisible());
        QCOMPARE(form.Command7->text(), QStringLiteral("50 秒后重启"));
        QVERIFY(!form.Command7->isEnabled() && !form.Command8->isEnabled());
    }

    void showActionBringsTheWindowBack()
    {
        Harness h;
        h.seedAlarm(2, QStringLiteral("08:01"), QStringLiteral("look"), kBell, QStringLiteral("激活Quorvel"));
        Form1& form = loadShown(h);
        form.hide();

        h.clock.advanceSeconds(60);
        form.Timer1_Timer();
        QVERIFY(form.isVisible());
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(form.Command7->isHidden());
    }

    void failingCommandIsReportedAndFiringGoesOn()
    {
        Harness h;
        h.runner.failing = QStringList{"XXX"};
        h.seedAlarm(1, QStringLiteral("08:00"), QStringLiteral("one"), kBell, QStringLiteral("运行：XXX"));
        h.seedAlarm(2, QStringLiteral("08:00"), QStringLiteral("two"), kBell, QStringLiteral("运行："));
        h.seedAlarm(3, QStringLiteral("08:00"), QStringLiteral("three"), kBell,
                    QStringLiteral("运行：/bin/true -x"));
        // Loading returns, so no message blocks the check.
        QStringList atLoad;
        Form1& form = loadShown(h, &atLoad);

        const QList<QMessageBox*> messages = visibleMessages(form);
        QStringList texts;
        for (QMessageBox* box : messages) {
            QVERIFY(!box->isModal());
            texts.append(box->text());
        }
        texts.sort();
        QCOMPARE(texts, (QStringList{"无法运行命令：XXX", "无法运行命令：命令为空"}));
        QCOMPARE(h.runner.started, QStringList{"/bin/true -x"});
        QCOMPARE(atLoad.count(QStringLiteral("PosTop")), 3);
        for (int slot : {1, 2, 3}) {
            QVERIFY(!form.alarmSlots.alarmArmed[slot]);
            QVERIFY(form.engine->ringing().isRinging(slot));
        }
        QCOMPARE(h.capList.texts(), (QStringList{"one", "two", "three"}));
        // The window stays usable while the messages are up.
        clickRow(form, 1);
        QVERIFY(!form.engine->ringing().isRinging(1));
    }

    void exitStopsTheCheck()
    {
        Harness h;
        h.seedAlarm(1, QStringLiteral("08:00"), QStringLiteral("one"), kBell, QStringLiteral("退出程序"));
        h.seedAlarm(2, QStringLiteral("08:00"), QStringLiteral("two"), kBell);
        QStringList atLoad;
        Form1& form = loadShown(h, &atLoad);

        QCOMPARE(h.exits, 1);
        QCOMPARE(h.capList.texts(), (QStringList{"one"}));
        // Nothing after the action ran: no PosTop, slot 1 still armed, slot 2 never looked at.
        QVERIFY(!atLoad.contains(QStringLiteral("PosTop")));
        QVERIFY(form.alarmSlots.alarmArmed[1]);
        QVERIFY(form.alarmSlots.alarmArmed[2]);
        QVERIFY(!form.engine->ringing().isRinging(2));
    }

    void soundFileChooser()
    {
        Harness h;
        Form1& form = loadShown(h);
        QStringList presets;
        QStringList filters;
        QString answer = QStringLiteral("/snd/chosen.mp3");
        form.chooseSoundFile = [&](const QString& preset, const QString& filter) {
            presets.append(preset);
            filters.append(filter);
            return answer.isNull() ? preset : answer;
        };
        form.Picture1->show();
        auto* tmus = child<QLineEdit>(form, QStringLiteral("Tmus"));
        tmus->setText(QStringLiteral("/snd/old.wav"));

        QTest::mouseClick(child<QPushButton>(form, QStringLiteral("Command6")), Qt::LeftButton);
        QCOMPARE(presets, QStringList{"/snd/old.wav"});
        // The dialog shows the descriptions without the bracketed patterns that follow them; every
        // type means every file, also one without an extension.
        QCOMPARE(filters,
                 QStringList{"压缩音频(*.mp3) (*.mp3);;波型声音(*.wav) (*.wav);;合成音乐(*.mid) (*.mid);;"
                             "所有类型(*.*) (*)"});
        QCOMPARE(tmus->text(), QStringLiteral("/snd/chosen.mp3"));

        answer = QString(); // cancelled: the chooser hands the preset back
        form.Command6_Click();
        QCOMPARE(presets.last(), QStringLiteral("/snd/chosen.mp3"));
        QCOMPARE(tmus->text(), QStringLiteral("/snd/chosen.mp3"));
    }
};

QTEST_MAIN(TestAlarmEngine)
#include "tst_alarmengine.moc"

#include "engine/AlarmEngine.h"
#include "support/FormClicks.h"
#include "support/WidgetChecks.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>

using namespace WidgetChecks;

namespace {

QString rowText(Form1& form, int row)
{
    return child<QListWidget>(form, QStringLiteral("List1"))->item(row)->text();
}

QPushButton* weekday(EditorPanel& panel, int day)
{
    return child<QPushButton>(panel, QStringLiteral("ToggleButton1(%1)").arg(day));
}

// Every text shown in a visible window other than the main window: a message box or a list of
// notices, whichever way the window tells its problems.
QStringList shownOutside(Form1& form)
{
    QStringList texts;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (!widget->isVisible() || widget->window() == &form)
            continue;
        if (auto* box = qobject_cast<QMessageBox*>(widget))
            texts.append(box->text());
        if (auto* list = qobject_cast<QListWidget*>(widget)) {
            for (int row = 0; row < list->count(); ++row)
                texts.append(list->item(row)->text());
        }
    }
    return texts;
}

// No session bus: no notification service takes the messages, so they show in our own windows.
void withoutSessionBus()
{
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
}
Q_CONSTRUCTOR_FUNCTION(withoutSessionBus)

} // namespace

// Opening the editor on a row of the list and saving it back into the store, the slot and the row.
class TestEntrySave : public QObject
{
    Q_OBJECT

private slots:
    void opensOnTheSelectedSlot()
    {
        QTemporaryDir dir;
        const QString bell = dir.filePath(QStringLiteral("bell.wav"));
        createFile(bell);
        Harness h;
        h.seedAlarm(4, QStringLiteral("06:30"), QStringLiteral("起床"), bell, QStringLiteral("关机"));
        h.seed(QStringLiteral("yy"), 4, QStringLiteral("2026年"));
        h.seed(QStringLiteral("mm"), 4, QStringLiteral("12月"));
        h.seed(QStringLiteral("dd"), 4, QStringLiteral("8日"));
        h.seed(QStringLiteral("WeekDay0"), 4, QStringLiteral("0"));
        h.seed(QStringLiteral("WeekDay6"), 4, QStringLiteral("0"));
        Form1& form = FormClicks::loadActive(h);
        auto* change = child<QPushButton>(form, QStringLiteral("Command1"));
        QVERIFY(!change->isEnabled());

        FormClicks::clickRow(form, 4);
        QVERIFY(change->isEnabled());
        QTest::mouseClick(change, Qt::LeftButton);
        EditorPanel& panel = *child<EditorPanel>(form, QStringLiteral("Picture1"));
        QVERIFY(panel.isVisible());

        auto* ttime = child<QLineEdit>(panel, QStringLiteral("Ttime"));
        auto* tmus = child<QLineEdit>(panel, QStringLiteral("Tmus"));
        auto* yy = child<QComboBox>(panel, QStringLiteral("Cyy"));
        auto* mm = child<QComboBox>(panel, QStringLiteral("Cmm"));
        auto* dd = child<QComboBox>(panel, QStringLiteral("Cdd"));
        QCOMPARE(ttime->text(), QStringLiteral("06:30"));
        QCOMPARE(ttime->selectedText(), QStringLiteral("06:30"));
        QVERIFY(ttime->hasFocus());
        QCOMPARE(yy->currentText(), QStringLiteral("2026年"));
        QCOMPARE(mm->currentText(), QStringLiteral("12月"));
        QCOMPARE(dd->currentText(), QStringLiteral("8日"));
        // Today is 2026-12-07: year and month are today's, the day is not.
        QCOMPARE(textColour(yy), kBlue);
        QCOMPARE(textColour(mm), kBlue);
        QCOMPARE(textColour(dd), kBlack);
        QCOMPARE(child<QLineEdit>(panel, QStringLiteral("Tslogan"))->text(), QStringLiteral("起床"));
        QCOMPARE(tmus->text(), bell);
        QCOMPARE(textColour(tmus), kBlack);
        QCOMPARE(child<QComboBox>(panel, QStringLiteral("Cml"))->currentText(), QStringLiteral("关机"));
        QVERIFY(child<QCheckBox>(panel, QStringLiteral("Check1"))->isChecked());
        for (int day = 0; day < 7; ++day)
            QCOMPARE(weekday(panel, day)->isChecked(), day != 0 && day != 6);
    }

    void doubleClickOpensWhileChangeIsDisabled()
    {
        Harness h;
        h.seed(QStringLiteral("dd"), 2, QStringLiteral("7日"));
        Form1& form = FormClicks::loadActive(h);
        child<QPushButton>(form, QStringLiteral("Command1"))->setEnabled(false);

        auto* list = child<QListWidget>(form, QStringLiteral("List1"));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(list->item(2)).center());
        EditorPanel& panel = *child<EditorPanel>(form, QStringLiteral("Picture1"));
        QVERIFY(panel.isVisible());
        QCOMPARE(child<QLineEdit>(panel, QStringLiteral("Ttime"))->text(), QStringLiteral("12:00"));
        QCOMPARE(child<QComboBox>(panel, QStringLiteral("Cml"))->currentText(), QStringLiteral("[无]"));
        QVERIFY(!child<QCheckBox>(panel, QStringLiteral("Check1"))->isChecked());
        QCOMPARE(textColour(child(panel, QStringLiteral("Cdd"))), kBlue);
        QCOMPARE(textColour(child(panel, QStringLiteral("Cyy"))), kBlack);
        // The default sound does not exist here.
        QCOMPARE(textColour(child(panel, QStringLiteral("Tmus"))), kRed);

        // The panel edits the row that was double-clicked.
        auto* slogan = child<QLineEdit>(panel, QStringLiteral("Tslogan"));
        QCOMPARE(slogan->text(), QStringLiteral("Harry Up!"));
        h.store.writes.clear();
        QTest::keyClick(slogan, Qt::Key_X);
        QTest::keyClick(slogan, Qt::Key_Return);
        QCOMPARE(h.store.writes, QStringList{"slogan/2"});
    }

    void savingUnchangedRearmsAndFiresAgain()
    {
        Harness h;
        h.seedAlarm(3, QStringLiteral("08:00"), QStringLiteral("[上课了]"), QStringLiteral("/snd/bell.wav"));
        Form1& form = FormClicks::loadActive(h);
        QVERIFY(!h.engine.alarmSlots().alarmArmed[3]);
        const QString line = rowText(form, 3);

        auto* change = child<QPushButton>(form, QStringLiteral("Command1"));
        FormClicks::clickRow(form, 3); // dismisses
        QVERIFY(!change->isEnabled());
        FormClicks::clickRow(form, 3);
        QVERIFY(change->isEnabled());
        EditorPanel& panel = FormClicks::openEditor(form, 3);
        h.store.writes.clear();

        QTest::mouseClick(child<QPushButton>(panel, QStringLiteral("Command4")), Qt::LeftButton);
        QVERIFY(h.store.writes.isEmpty());
        QVERIFY(panel.isHidden());
        QVERIFY(h.engine.alarmSlots().alarmArmed[3]);
        QCOMPARE(rowText(form, 3), line);
        QCOMPARE(form.alarmList().selectedRow(), 3);

        h.clock.advanceSeconds(20);
        h.engine.Timer1_Timer();
        QVERIFY(h.engine.isRinging(3));
        QVERIFY(!h.engine.alarmSlots().alarmArmed[3]);
        QCOMPARE(h.capList.texts(), (QStringList{"[上课了]"}));
        QCOMPARE(h.overlay.calls.count(QStringLiteral("SetCap:[上课了]")), 2);
    }

    void savingWritesOnlyWhatChanged()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 5);
        auto* slogan = child<QLineEdit>(panel, QStringLiteral("Tslogan"));
        auto* on = child<QCheckBox>(panel, QStringLiteral("Check1"));
        auto* ok = child<QPushButton>(panel, QStringLiteral("Command4"));
        h.store.writes.clear();

        // Changed and changed back: nothing to write, and the defaults stay out of the store.
        slogan->setText(QStringLiteral("x"));
        slogan->setText(QStringLiteral("Harry Up!"));
        QTest::mouseClick(on, Qt::LeftButton);
        QTest::mouseClick(on, Qt::LeftButton);
        QTest::mouseClick(weekday(panel, 2), Qt::LeftButton);
        QTest::mouseClick(weekday(panel, 2), Qt::LeftButton);
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(h.store.writes.isEmpty());
        QCOMPARE(h.store.size(), 1); // the window handle alone

        FormClicks::openEditor(form, 5);
        QTest::mouseClick(on, Qt::LeftButton);
        QTest::mouseClick(weekday(panel, 0), Qt::LeftButton);
        slogan->setText(QStringLiteral("起床"));
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(h.store.writes, (QStringList{"slogan/5", "elect/5", "WeekDay0/5"}));
        QCOMPARE(h.stored(QStringLiteral("elect"), 5), QStringLiteral("1"));
        QCOMPARE(h.stored(QStringLiteral("WeekDay0"), 5), QStringLiteral("0"));
        QCOMPARE(rowText(form, 5), QStringLiteral("[开 12:00] 起床"));
        QVERIFY(h.engine.entry(5).on);
        QCOMPARE(form.alarmList().selectedRow(), 5);

        // Switching off writes "0".
        h.store.writes.clear();
        FormClicks::openEditor(form, 5);
        QTest::mouseClick(on, Qt::LeftButton);
        QTest::mouseClick(ok, Qt::LeftButton);
        QCOMPARE(h.store.writes, QStringList{"elect/5"});
        QCOMPARE(h.stored(QStringLiteral("elect"), 5), QStringLiteral("0"));
        QCOMPARE(rowText(form, 5), QStringLiteral("[关 12:00] 起床"));
        QVERIFY(!h.engine.entry(5).on);
    }

    void enterSavesFromTheTextFields()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 6);
        auto* ttime = child<QLineEdit>(panel, QStringLiteral("Ttime"));
        QTest::keyClicks(ttime, QStringLiteral("8:25"));
        QTest::keyClick(ttime, Qt::Key_Return);
        QVERIFY(panel.isHidden());
        QCOMPARE(h.stored(QStringLiteral("time"), 6), QStringLiteral("08:25"));
        QCOMPARE(h.engine.entry(6).time, QStringLiteral("08:25"));
        QCOMPARE(rowText(form, 6), QStringLiteral("[关 08:25] Harry Up!"));

        for (const char* name : {"Tslogan", "Tmus"}) {
            FormClicks::openEditor(form, 6);
            auto* field = child<QLineEdit>(panel, QLatin1String(name));
            field->setFocus();
            field->setText(field->objectName());
            QTest::keyClick(field, Qt::Key_Enter);
            QVERIFY(panel.isHidden());
        }
        QCOMPARE(h.stored(QStringLiteral("slogan"), 6), QStringLiteral("Tslogan"));
        QCOMPARE(h.stored(QStringLiteral("music"), 6), QStringLiteral("Tmus"));

        // Enter elsewhere in the panel saves nothing.
        FormClicks::openEditor(form, 6);
        h.store.writes.clear();
        for (const char* name : {"Cdd", "Cml", "ToggleButton1(3)"}) {
            QWidget* widget = child(panel, QLatin1String(name));
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Return);
            QVERIFY(panel.isVisible());
        }
        QVERIFY(h.store.writes.isEmpty());
    }

    // "elect" "2" is off in the row, in the editor and for the check alike, so saving it unchanged
    // writes nothing.
    void unusualTickReadsAsOff()
    {
        Harness h;
        h.seed(QStringLiteral("elect"), 7, QStringLiteral("2"));
        Form1& form = FormClicks::loadActive(h);
        QCOMPARE(rowText(form, 7), QStringLiteral("[关 12:00] Harry Up!"));
        EditorPanel& panel = FormClicks::openEditor(form, 7);
        QVERIFY(!child<QCheckBox>(panel, QStringLiteral("Check1"))->isChecked());
        h.store.writes.clear();

        QTest::mouseClick(child<QPushButton>(panel, QStringLiteral("Command4")), Qt::LeftButton);
        QVERIFY(h.store.writes.isEmpty());
        QCOMPARE(rowText(form, 7), QStringLiteral("[关 12:00] Harry Up!"));
    }

    // A save that does not reach the disk keeps the edit for this run, and every such save tells
    // the user the file and the reason.
    void failedSavesAreTold()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        h.store.failure = QStringLiteral("No space left on device");
        for (const char* text : {"一", "二"}) {
            EditorPanel& panel = FormClicks::openEditor(form, 2);
            child<QLineEdit>(panel, QStringLiteral("Tslogan"))->setText(QString::fromUtf8(text));
            QTest::mouseClick(child<QPushButton>(panel, QStringLiteral("Command4")), Qt::LeftButton);
            QCOMPARE(rowText(form, 2), QStringLiteral("[关 12:00] ") + QString::fromUtf8(text));
        }
        QTRY_COMPARE(shownOutside(form).filter(QStringLiteral("/memory/Horalis")).size(), 2);
        for (const QString& message : shownOutside(form).filter(QStringLiteral("/memory/Horalis"))) {
            QVERIFY(message.contains(QStringLiteral("闹钟未能保存")));
            QVERIFY(message.contains(QStringLiteral("No space left on device")));
        }
        QCOMPARE(h.engine.entry(2).slogan, QStringLiteral("二"));
    }

    void cancelWritesNothing()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 1);
        h.store.writes.clear();
        child<QLineEdit>(panel, QStringLiteral("Ttime"))->setText(QStringLiteral("09:00"));
        child<QLineEdit>(panel, QStringLiteral("Tslogan"))->setText(QStringLiteral("x"));
        QTest::mouseClick(child<QCheckBox>(panel, QStringLiteral("Check1")), Qt::LeftButton);

        QTest::mouseClick(child<QPushButton>(panel, QStringLiteral("Command5")), Qt::LeftButton);
        QVERIFY(panel.isHidden());
        QVERIFY(h.store.writes.isEmpty());
        QCOMPARE(h.engine.entry(1).time, QStringLiteral("12:00"));
        QVERIFY(!h.engine.entry(1).on);
        QCOMPARE(rowText(form, 1), QStringLiteral("[关 12:00] Harry Up!"));
    }
};

QTEST_MAIN(TestEntrySave)
#include "tst_entrysave.moc"

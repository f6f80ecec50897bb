#include "engine/AlarmEngine.h"
#include "support/FormClicks.h"
#include "support/WidgetChecks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

using namespace WidgetChecks;

namespace {} // namespace

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
        QVERIFY(!form.Command1->isEnabled());

        FormClicks::clickRow(form, 4);
        QVERIFY(form.Command1->isEnabled());
        QTest::mouseClick(form.Command1, Qt::LeftButton);
        EditorPanel& panel = *form.findChild<EditorPanel*>(QStringLiteral("Picture1"));
        QVERIFY(panel.isVisible());
        QCOMPARE(panel.editedSlot, QStringLiteral("4"));

        auto* ttime = panel.findChild<QLineEdit*>(QStringLiteral("Ttime"));
        QCOMPARE(ttime->text(), QStringLiteral("06:30"));
        QCOMPARE(ttime->selectedText(), QStringLiteral("06:30"));
        QVERIFY(ttime->hasFocus());
        QCOMPARE(panel.Cyy->currentText(), QStringLiteral("2026年"));
        QCOMPARE(panel.Cmm->currentText(), QStringLiteral("12月"));
        QCOMPARE(panel.Cdd->currentText(), QStringLiteral("8日"));
        // Today is 2026-12-07: year and month are today's, the day is not.
        QCOMPARE(textColour(panel.Cyy), kBlue);
        QCOMPARE(textColour(panel.Cmm), kBlue);
        QCOMPARE(textColour(panel.Cdd), kBlack);
        QCOMPARE(panel.Tslogan->text(), QStringLiteral("起床"));
        QCOMPARE(panel.Tmus->text(), bell);
        QCOMPARE(textColour(panel.Tmus), kBlack);
        QCOMPARE(panel.Cml->currentText(), QStringLiteral("关机"));
        QVERIFY(panel.Check1->isChecked());
        for (int day = 0; day < 7; ++day) {
            auto* button = panel.findChild<QPushButton*>(QStringLiteral("ToggleButton1(%1)").arg(day));
            QCOMPARE(button->isChecked(), day != 0 && day != 6);
        }
    }

    void doubleClickOpensWhileChangeIsDisabled()
    {
        Harness h;
        h.seed(QStringLiteral("dd"), 2, QStringLiteral("7日"));
        Form1& form = FormClicks::loadActive(h);
        form.Command1->setEnabled(false);

        const QRect row = form.List1->visualItemRect(form.List1->item(2));
        QTest::mouseDClick(form.List1->viewport(), Qt::LeftButton, {}, row.center());
        EditorPanel& panel = *form.Picture1;
        QVERIFY(panel.isVisible());
        QCOMPARE(panel.editedSlot, QStringLiteral("2"));
        QCOMPARE(panel.Ttime->text(), QStringLiteral("12:00"));
        QCOMPARE(panel.Tslogan->text(), QStringLiteral("Harry Up!"));
        QCOMPARE(panel.Cml->currentText(), QStringLiteral("[无]"));
        QVERIFY(!panel.Check1->isChecked());
        QCOMPARE(textColour(panel.Cdd), kBlue);
        QCOMPARE(textColour(panel.Cyy), kBlack);
        // The default sound does not exist here.
        QCOMPARE(textColour(panel.Tmus), kRed);
    }

    void savingUnchangedRearmsAndFiresAgain()
    {
        Harness h;
        h.seedAlarm(3, QStringLiteral("08:00"), QStringLiteral("[上课了]"), QStringLiteral("/snd/bell.wav"));
        Form1& form = FormClicks::loadActive(h);
        QVERIFY(!h.engine.alarmSlots().alarmArmed[3]);
        const QString line = form.List1->item(3)->text();

        FormClicks::clickRow(form, 3); // dismisses
        QVERIFY(!form.Command1->isEnabled());
        FormClicks::clickRow(form, 3);
        QVERIFY(form.Command1->isEnabled());
        EditorPanel& panel = FormClicks::openEditor(form, 3);
        h.store.writes.clear();

        QTest::mouseClick(panel.Command4, Qt::LeftButton);
        QVERIFY(h.store.writes.isEmpty());
        QVERIFY(panel.isHidden());
        QVERIFY(h.engine.alarmSlots().alarmArmed[3]);
        QCOMPARE(form.List1->item(3)->text(), line);
        QCOMPARE(form.selectedRow(), 3);

        h.clock.advanceSeconds(20);
        form.Timer1_Timer();
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
        h.store.writes.clear();

        // Changed and changed back: nothing to write, and the defaults stay out of the store.
        panel.Tslogan->setText(QStringLiteral("x"));
        panel.Tslogan->setText(QStringLiteral("Harry Up!"));
        QTest::mouseClick(panel.Check1, Qt::LeftButton);
        QTest::mouseClick(panel.Check1, Qt::LeftButton);
        QTest::mouseClick(panel.ToggleButton1[2], Qt::LeftButton);
        QTest::mouseClick(panel.ToggleButton1[2], Qt::LeftButton);
        QTest::mouseClick(panel.Command4, Qt::LeftButton);
        QVERIFY(h.store.writes.isEmpty());
        QCOMPARE(h.store.size(), 1); // the window handle alone

        FormClicks::openEditor(form, 5);
        QTest::mouseClick(panel.Check1, Qt::LeftButton);
        QTest::mouseClick(panel.ToggleButton1[0], Qt::LeftButton);
        panel.Tslogan->setText(QStringLiteral("起床"));
        QTest::mouseClick(panel.Command4, Qt::LeftButton);
        QCOMPARE(h.store.writes, (QStringList{"slogan/5", "elect/5", "WeekDay0/5"}));
        QCOMPARE(h.stored(QStringLiteral("elect"), 5), QStringLiteral("1"));
        QCOMPARE(h.stored(QStringLiteral("WeekDay0"), 5), QStringLiteral("0"));
        QCOMPARE(form.List1->item(5)->text(), QStringLiteral("[开 12:00] 起床"));
        QVERIFY(h.engine.alarmSlots().alarmOn[5]);
        QCOMPARE(form.selectedRow(), 5);

        // Switching off writes "0".
        h.store.writes.clear();
        FormClicks::openEditor(form, 5);
        QTest::mouseClick(panel.Check1, Qt::LeftButton);
        QTest::mouseClick(panel.Command4, Qt::LeftButton);
        QCOMPARE(h.store.writes, QStringList{"elect/5"});
        QCOMPARE(h.stored(QStringLiteral("elect"), 5), QStringLiteral("0"));
        QCOMPARE(form.List1->item(5)->text(), QStringLiteral("[关 12:00] 起床"));
        QVERIFY(!h.engine.alarmSlots().alarmOn[5]);
    }

    void enterSavesFromTheTextFields()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 6);
        QTest::keyClicks(panel.Ttime, QStringLiteral("8:25"));
        QTest::keyClick(panel.Ttime, Qt::Key_Return);
        QVERIFY(panel.isHidden());
        QCOMPARE(h.stored(QStringLiteral("time"), 6), QStringLiteral("08:25"));
        QCOMPARE(h.engine.alarmSlots().alarmTime[6], QStringLiteral("08:25"));
        QCOMPARE(form.List1->item(6)->text(), QStringLiteral("[关 08:25] Harry Up!"));

        for (QLineEdit* field : {panel.Tslogan, panel.Tmus}) {
            FormClicks::openEditor(form, 6);
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
        for (QWidget* widget :
             std::initializer_list<QWidget*>{panel.Cdd, panel.Cml, panel.ToggleButton1[3]}) {
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key_Return);
            QVERIFY(panel.isVisible());
        }
        QVERIFY(h.store.writes.isEmpty());
    }

    void unusualTickIsSavedAsShown()
    {
        Harness h;
        h.seed(QStringLiteral("elect"), 7, QStringLiteral("2"));
        Form1& form = FormClicks::loadActive(h);
        QCOMPARE(form.List1->item(7)->text(), QStringLiteral("[关 12:00] Harry Up!"));
        EditorPanel& panel = FormClicks::openEditor(form, 7);
        QVERIFY(panel.Check1->isChecked());
        h.store.writes.clear();

        QTest::mouseClick(panel.Command4, Qt::LeftButton);
        QCOMPARE(h.store.writes, QStringList{"elect/7"});
        QCOMPARE(h.stored(QStringLiteral("elect"), 7), QStringLiteral("1"));
        QCOMPARE(form.List1->item(7)->text(), QStringLiteral("[开 12:00] Harry Up!"));
    }

    void cancelWritesNothing()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 1);
        h.store.writes.clear();
        panel.Ttime->setText(QStringLiteral("09:00"));
        panel.Tslogan->setText(QStringLiteral("x"));
        QTest::mouseClick(panel.Check1, Qt::LeftButton);

        QTest::mouseClick(panel.Command5, Qt::LeftButton);
        QVERIFY(panel.isHidden());
        QVERIFY(h.store.writes.isEmpty());
        QCOMPARE(h.engine.alarmSlots().alarmTime[1], QStringLiteral("12:00"));
        QVERIFY(!h.engine.alarmSlots().alarmOn[1]);
        QCOMPARE(form.List1->item(1)->text(), QStringLiteral("[关 12:00] Harry Up!"));
    }
};

QTEST_MAIN(TestEntrySave)
#include "tst_entrysave.moc"

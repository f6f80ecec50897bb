#include "support/FormClicks.h"
#include "support/WidgetChecks.h"

#include <QAccessible>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace WidgetChecks;

namespace {

// A click in the time field at the middle of the points that put the caret at `caret`.
void clickAtCaret(QLineEdit* field, int caret)
{
    const int y = field->height() / 2;
    int first = -1;
    int last = -1;
    for (int x = 0; x < field->width(); ++x) {
        if (field->cursorPositionAt(QPoint(x, y)) == caret) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    QTest::mouseClick(field, Qt::LeftButton, {}, QPoint(first < 0 ? 0 : (first + last) / 2, y));
}

// Types any text, one key per character; QTest::keyClicks takes Latin-1 only.
void typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

} // namespace

// The editor panel's own rules: the time field and its spinners, the date and sound cues.
class TestEditor : public QObject
{
    Q_OBJECT

private slots:
    // Every field of the record, each away from its default, goes into its control and comes back
    // unchanged.
    void everyFieldShowsInItsControl()
    {
        AlarmEntry entry;
        for (const AlarmField& field : alarmFields()) {
            const QString& was = field.defaultText;
            field.read(entry, was == QLatin1String("1")   ? QStringLiteral("0")
                              : was == QLatin1String("0") ? QStringLiteral("1")
                                                          : field.section + QStringLiteral("/x"));
            QVERIFY(field.write(entry) != field.write(AlarmEntry()));
        }
        EditorPanel panel;
        panel.load(entry);
        const AlarmEntry shown = panel.fields();
        for (const AlarmField& field : alarmFields())
            QCOMPARE(field.write(shown), field.write(entry));
    }

    void clickInTimeChoosesSpinner()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        auto* ttime = child<QLineEdit>(panel, QStringLiteral("Ttime"));
        auto* hours = child<QScrollBar>(panel, QStringLiteral("VScroll1"));
        auto* minutes = child<QScrollBar>(panel, QStringLiteral("VScroll2"));

        ttime->setText(QStringLiteral("08:25"));
        clickAtCaret(ttime, 2);
        QVERIFY(hours->isVisible() && minutes->isHidden());
        QCOMPARE(hours->value(), 8);

        clickAtCaret(ttime, 3);
        QVERIFY(minutes->isVisible() && hours->isHidden());
        QCOMPARE(minutes->value(), 25);
        QCOMPARE(ttime->text(), QStringLiteral("08:25"));

        // A spinner that takes a new value rewrites the text; one that already holds it does not.
        hours->setValue(3);
        ttime->setText(QStringLiteral("8:25"));
        clickAtCaret(ttime, 0);
        QCOMPARE(hours->value(), 8);
        QCOMPARE(ttime->text(), QStringLiteral("08:25"));
        ttime->setText(QStringLiteral("8:25"));
        clickAtCaret(ttime, 0);
        QCOMPARE(ttime->text(), QStringLiteral("8:25"));

        // Numbers the spinners cannot hold show the spinner and leave the text alone.
        ttime->setText(QStringLiteral("99:99"));
        clickAtCaret(ttime, 0);
        QVERIFY(hours->isVisible());
        QCOMPARE(ttime->text(), QStringLiteral("99:99"));
        clickAtCaret(ttime, 4);
        QVERIFY(minutes->isVisible() && hours->isHidden());
        QCOMPARE(ttime->text(), QStringLiteral("99:99"));
    }

    // Each spinner wraps both ways, by its arrows and by values set beyond its ends.
    void spinnersWrap_data()
    {
        QTest::addColumn<QString>("spinner");
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("last");
        QTest::addColumn<QString>("atZero");
        QTest::addColumn<QString>("atLast");
        QTest::newRow("hours") << "VScroll1" << 0 << 23 << "00:25"
                               << "23:25";
        QTest::newRow("minutes") << "VScroll2" << 4 << 59 << "08:00"
                                 << "08:59";
    }
    void spinnersWrap()
    {
        QFETCH(QString, spinner);
        QFETCH(int, caret);
        QFETCH(int, last);
        QFETCH(QString, atZero);
        QFETCH(QString, atLast);
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        auto* ttime = child<QLineEdit>(panel, QStringLiteral("Ttime"));
        auto* bar = child<QScrollBar>(panel, spinner);

        ttime->setText(atZero);
        clickAtCaret(ttime, caret);
        QCOMPARE(bar->value(), 0);
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(bar->value(), last);
        QCOMPARE(ttime->text(), atLast);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(ttime->text(), atZero);
        bar->setValue(last + 1);
        QCOMPARE(bar->value(), 0);
        QCOMPARE(ttime->text(), atZero);
        bar->setValue(-1);
        QCOMPARE(bar->value(), last);
        QCOMPARE(ttime->text(), atLast);
    }

    void spinnerHidesWhenItLosesFocus()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        auto* ttime = child<QLineEdit>(panel, QStringLiteral("Ttime"));
        auto* hours = child<QScrollBar>(panel, QStringLiteral("VScroll1"));
        auto* slogan = child<QLineEdit>(panel, QStringLiteral("Tslogan"));
        ttime->setText(QStringLiteral("08:25"));
        clickAtCaret(ttime, 1);

        // An arrow click moves the hour by one and takes the focus.
        const QPoint lowerArrow(hours->width() / 2, hours->height() - 3);
        QTest::mouseClick(hours, Qt::LeftButton, {}, lowerArrow);
        QVERIFY(hours->hasFocus());
        QCOMPARE(ttime->text(), QStringLiteral("09:25"));
        QVERIFY(hours->isVisible());

        QTest::mouseClick(slogan, Qt::LeftButton);
        QVERIFY(slogan->hasFocus());
        QVERIFY(hours->isHidden());
        QVERIFY(child(panel, QStringLiteral("VScroll2"))->isHidden());
        QCOMPARE(ttime->text(), QStringLiteral("09:25"));
    }

    void timeNormalisedWhenLeavingTheField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("one digit") << "7"
                                   << "00:07";
        QTest::newRow("empty") << ""
                               << "00:00";
        QTest::newRow("short hour") << "8:25"
                                    << "08:25";
        QTest::newRow("four digits") << "0830"
                                     << "00:30";
        QTest::newRow("long minutes") << "12:345"
                                      << "12:34";
        QTest::newRow("six digits") << "123456"
                                    << "12:45";
    }

    void timeNormalisedWhenLeavingTheField()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        auto* ttime = child<QLineEdit>(panel, QStringLiteral("Ttime"));
        QVERIFY(ttime->hasFocus());
        ttime->selectAll();
        QTest::keyClick(ttime, Qt::Key_Delete);
        QTest::keyClicks(ttime, typed);
        QCOMPARE(ttime->text(), typed);

        QTest::mouseClick(child<QLineEdit>(panel, QStringLiteral("Tslogan")), Qt::LeftButton);
        QCOMPARE(ttime->text(), shown);
    }

    void switchingWindowsKeepsTheEdit()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        auto* ttime = child<QLineEdit>(panel, QStringLiteral("Ttime"));
        auto* hours = child<QScrollBar>(panel, QStringLiteral("VScroll1"));
        ttime->setText(QStringLiteral("8:2"));

        // Another window takes the focus and gives it back: the field and its spinner stay as they were.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(ttime->text(), QStringLiteral("8:2"));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(ttime->hasFocus());
        QTest::keyClick(ttime, Qt::Key_End);
        QTest::keyClick(ttime, Qt::Key_5);
        QCOMPARE(ttime->text(), QStringLiteral("8:25"));

        hours->show();
        hours->setFocus();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!hours->isHidden());
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        // Leaving for another control of the window is leaving.
        QTest::mouseClick(child<QLineEdit>(panel, QStringLiteral("Tslogan")), Qt::LeftButton);
        QVERIFY(hours->isHidden());
        QCOMPARE(ttime->text(), QStringLiteral("08:25"));
    }

    void dateCueFollowsPicksNotTyping()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        auto* day = child<QComboBox>(panel, QStringLiteral("Cdd"));
        QCOMPARE(textColour(day), kBlack);

        // Arrow keys pick an item.
        day->setCurrentIndex(6);
        day->setFocus();
        QTest::keyClick(day, Qt::Key_Down);
        QCOMPARE(day->currentText(), QStringLiteral("7日"));
        QCOMPARE(textColour(day), kBlue);
        QCOMPARE(textColour(day->lineEdit()), kBlue);

        day->lineEdit()->selectAll();
        typeText(day->lineEdit(), QStringLiteral("6日"));
        QCOMPARE(day->currentText(), QStringLiteral("6日"));
        QCOMPARE(textColour(day), kBlue);

        QTest::keyClick(day, Qt::Key_Up);
        QCOMPARE(day->currentText(), QStringLiteral("6日"));
        QCOMPARE(textColour(day), kBlack);
        // Today's day typed in full and ended with Enter or by leaving is still typing.
        day->lineEdit()->selectAll();
        typeText(day->lineEdit(), QStringLiteral("7日"));
        QTest::keyClick(day, Qt::Key_Return);
        child<QLineEdit>(panel, QStringLiteral("Tslogan"))->setFocus();
        QCOMPARE(day->currentText(), QStringLiteral("7日"));
        QCOMPARE(textColour(day), kBlack);
        day->setEditText(QStringLiteral("7日"));
        QCOMPARE(textColour(day), kBlack);

        day->setCurrentIndex(7);
        emit day->activated(7);
        QCOMPARE(textColour(day), kBlue);
        day->setCurrentIndex(0);
        emit day->activated(0);
        QCOMPARE(textColour(day), kBlack);

        auto* year = child<QComboBox>(panel, QStringLiteral("Cyy"));
        year->setCurrentIndex(26);
        emit year->activated(26);
        QCOMPARE(year->currentText(), QStringLiteral("2026年"));
        QCOMPARE(textColour(year), kBlue);
        auto* month = child<QComboBox>(panel, QStringLiteral("Cmm"));
        month->setCurrentIndex(11);
        emit month->activated(11);
        QCOMPARE(textColour(month), kBlack);
    }

    void soundCueFollowsTheText()
    {
        QTemporaryDir dir;
        createFile(dir.filePath(QStringLiteral("bell.wav")));
        createFile(dir.filePath(QStringLiteral("bell")));
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        auto* tmus = child<QLineEdit>(panel, QStringLiteral("Tmus"));

        tmus->clear();
        QTest::keyClicks(tmus, dir.filePath(QStringLiteral("bell.wav")));
        QCOMPARE(textColour(tmus), kBlack);
        QTest::keyClick(tmus, Qt::Key_Backspace); // ".wa" names no file
        QCOMPARE(textColour(tmus), kRed);
        tmus->setText(dir.filePath(QStringLiteral("bell")));
        QCOMPARE(textColour(tmus), kRed);
        tmus->setText(dir.filePath(QStringLiteral("gone.wav")));
        QCOMPARE(textColour(tmus), kRed);

        form.editor().setSoundFileChooser(
            [&](const QString&, const QString&) { return dir.filePath(QStringLiteral("bell.wav")); });
        QTest::mouseClick(child<QPushButton>(panel, QStringLiteral("Command6")), Qt::LeftButton);
        QCOMPARE(textColour(tmus), kBlack);
    }

    // A screen reader hears each field by its label's words and each weekday in full.
    void fieldsAreNamed()
    {
        EditorPanel panel;
        const QList<std::pair<const char*, const char*>> names{{"Ttime", "时间"},
                                                               {"Cyy", "年"},
                                                               {"Cmm", "月"},
                                                               {"Cdd", "日"},
                                                               {"VScroll1", "小时"},
                                                               {"VScroll2", "分钟"},
                                                               {"Tslogan", "提示语"},
                                                               {"Tmus", "铃声"},
                                                               {"Cml", "操作"},
                                                               {"ToggleButton1(0)", "星期日"},
                                                               {"ToggleButton1(6)", "星期六"}};
        for (const auto& [control, name] : names) {
            QAccessibleInterface* field =
                QAccessible::queryAccessibleInterface(child(panel, QString::fromLatin1(control)));
            QCOMPARE(field->text(QAccessible::Name), QString::fromUtf8(name));
        }
        auto* sunday = child<QPushButton>(panel, QStringLiteral("ToggleButton1(0)"));
        sunday->setChecked(true);
        QVERIFY(QAccessible::queryAccessibleInterface(sunday)->state().checked);
    }

    // Esc from any control runs the cancel action, as "取消" does.
    void escapeCancels_data()
    {
        QTest::addColumn<QString>("control");
        for (const char* control :
             {"Ttime", "Cyy", "Cml", "Tslogan", "Tmus", "Check1", "ToggleButton1(3)", "Command4", "VScroll1"})
            QTest::newRow(control) << QString::fromLatin1(control);
    }
    void escapeCancels()
    {
        QFETCH(QString, control);
        EditorPanel panel;
        panel.show();
        QSignalSpy cancelled(&panel, &EditorPanel::cancelRequested);
        QSignalSpy saved(&panel, &EditorPanel::saveRequested);
        QWidget* widget = child(panel, control);
        widget->show();
        QTest::keyClick(widget, Qt::Key_Escape);
        QCOMPARE(cancelled.size(), 1);
        QCOMPARE(saved.size(), 0);
    }

    void soundFileChooser()
    {
        Harness h;
        Form1& form = h.load();
        QStringList presets;
        QStringList filters;
        QString answer = QStringLiteral("/snd/chosen.mp3");
        form.editor().setSoundFileChooser([&](const QString& preset, const QString& filter) {
            presets.append(preset);
            filters.append(filter);
            return answer.isNull() ? preset : answer;
        });
        child(form, QStringLiteral("Picture1"))->show();
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
        form.editor().Command6_Click();
        QCOMPARE(presets.last(), QStringLiteral("/snd/chosen.mp3"));
        QCOMPARE(tmus->text(), QStringLiteral("/snd/chosen.mp3"));
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"

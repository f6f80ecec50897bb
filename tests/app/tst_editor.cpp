#include "support/FormClicks.h"
#include "support/WidgetChecks.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
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
    void clickInTimeChoosesSpinner()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        QLineEdit* ttime = panel.Ttime;

        ttime->setText(QStringLiteral("08:25"));
        clickAtCaret(ttime, 2);
        QVERIFY(panel.VScroll1->isVisible() && panel.VScroll2->isHidden());
        QCOMPARE(panel.VScroll1->value(), 8);

        clickAtCaret(ttime, 3);
        QVERIFY(panel.VScroll2->isVisible() && panel.VScroll1->isHidden());
        QCOMPARE(panel.VScroll2->value(), 25);
        QCOMPARE(ttime->text(), QStringLiteral("08:25"));

        // A spinner that takes a new value rewrites the text; one that already holds it does not.
        panel.VScroll1->setValue(3);
        ttime->setText(QStringLiteral("8:25"));
        clickAtCaret(ttime, 0);
        QCOMPARE(panel.VScroll1->value(), 8);
        QCOMPARE(ttime->text(), QStringLiteral("08:25"));
        ttime->setText(QStringLiteral("8:25"));
        clickAtCaret(ttime, 0);
        QCOMPARE(ttime->text(), QStringLiteral("8:25"));

        // Numbers the spinners cannot hold show the spinner and leave the text alone.
        ttime->setText(QStringLiteral("99:99"));
        clickAtCaret(ttime, 0);
        QVERIFY(panel.VScroll1->isVisible());
        QCOMPARE(ttime->text(), QStringLiteral("99:99"));
        clickAtCaret(ttime, 4);
        QVERIFY(panel.VScroll2->isVisible() && panel.VScroll1->isHidden());
        QCOMPARE(ttime->text(), QStringLiteral("99:99"));
    }

    void spinnersWrap()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        QLineEdit* ttime = panel.Ttime;
        QScrollBar* hours = panel.VScroll1;
        QScrollBar* minutes = panel.VScroll2;

        ttime->setText(QStringLiteral("00:25"));
        clickAtCaret(ttime, 0);
        hours->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(hours->value(), 23);
        QCOMPARE(ttime->text(), QStringLiteral("23:25"));
        hours->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(hours->value(), 0);
        QCOMPARE(ttime->text(), QStringLiteral("00:25"));
        hours->setValue(24);
        QCOMPARE(hours->value(), 0);
        hours->setValue(-1);
        QCOMPARE(ttime->text(), QStringLiteral("23:25"));

        ttime->setText(QStringLiteral("08:59"));
        clickAtCaret(ttime, 4);
        QCOMPARE(minutes->value(), 59);
        minutes->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(minutes->value(), 0);
        QCOMPARE(ttime->text(), QStringLiteral("08:00"));
        minutes->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(minutes->value(), 59);
        QCOMPARE(ttime->text(), QStringLiteral("08:59"));
        minutes->setValue(60);
        QCOMPARE(ttime->text(), QStringLiteral("08:00"));
    }

    void spinnerHidesWhenItLosesFocus()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        panel.Ttime->setText(QStringLiteral("08:25"));
        clickAtCaret(panel.Ttime, 1);
        QScrollBar* hours = panel.VScroll1;

        // An arrow click moves the hour by one and takes the focus.
        const QPoint lowerArrow(hours->width() / 2, hours->height() - 3);
        QTest::mouseClick(hours, Qt::LeftButton, {}, lowerArrow);
        QVERIFY(hours->hasFocus());
        QCOMPARE(panel.Ttime->text(), QStringLiteral("09:25"));
        QVERIFY(hours->isVisible());

        QTest::mouseClick(panel.Tslogan, Qt::LeftButton);
        QVERIFY(panel.Tslogan->hasFocus());
        QVERIFY(hours->isHidden());
        QVERIFY(panel.VScroll2->isHidden());
        QCOMPARE(panel.Ttime->text(), QStringLiteral("09:25"));
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
        QVERIFY(panel.Ttime->hasFocus());
        panel.Ttime->selectAll();
        QTest::keyClick(panel.Ttime, Qt::Key_Delete);
        QTest::keyClicks(panel.Ttime, typed);
        QCOMPARE(panel.Ttime->text(), typed);

        QTest::mouseClick(panel.Tslogan, Qt::LeftButton);
        QCOMPARE(panel.Ttime->text(), shown);
    }

    void switchingWindowsKeepsTheEdit()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        panel.Ttime->setText(QStringLiteral("8:2"));

        // Another window takes the focus and gives it back: the field and its spinner stay as they were.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(panel.Ttime->text(), QStringLiteral("8:2"));
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QVERIFY(panel.Ttime->hasFocus());
        QTest::keyClick(panel.Ttime, Qt::Key_End);
        QTest::keyClick(panel.Ttime, Qt::Key_5);
        QCOMPARE(panel.Ttime->text(), QStringLiteral("8:25"));

        panel.VScroll1->show();
        panel.VScroll1->setFocus();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!panel.VScroll1->isHidden());
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        // Leaving for another control of the window is leaving.
        QTest::mouseClick(panel.Tslogan, Qt::LeftButton);
        QVERIFY(panel.VScroll1->isHidden());
        QCOMPARE(panel.Ttime->text(), QStringLiteral("08:25"));
    }

    void dateCueFollowsPicksNotTyping()
    {
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        QComboBox* day = panel.Cdd;
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
        panel.Tslogan->setFocus();
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

        panel.Cyy->setCurrentIndex(26);
        emit panel.Cyy->activated(26);
        QCOMPARE(panel.Cyy->currentText(), QStringLiteral("2026年"));
        QCOMPARE(textColour(panel.Cyy), kBlue);
        panel.Cmm->setCurrentIndex(11);
        emit panel.Cmm->activated(11);
        QCOMPARE(textColour(panel.Cmm), kBlack);
    }

    void soundCueFollowsTheText()
    {
        QTemporaryDir dir;
        createFile(dir.filePath(QStringLiteral("bell.wav")));
        createFile(dir.filePath(QStringLiteral("bell")));
        Harness h;
        Form1& form = FormClicks::loadActive(h);
        EditorPanel& panel = FormClicks::openEditor(form, 0);
        QLineEdit* tmus = panel.Tmus;

        tmus->clear();
        QTest::keyClicks(tmus, dir.filePath(QStringLiteral("bell.wav")));
        QCOMPARE(textColour(tmus), kBlack);
        QTest::keyClick(tmus, Qt::Key_Backspace); // ".wa" names no file
        QCOMPARE(textColour(tmus), kRed);
        tmus->setText(dir.filePath(QStringLiteral("bell")));
        QCOMPARE(textColour(tmus), kRed);
        tmus->setText(dir.filePath(QStringLiteral("gone.wav")));
        QCOMPARE(textColour(tmus), kRed);

        form.chooseSoundFile = [&](const QString&, const QString&) {
            return dir.filePath(QStringLiteral("bell.wav"));
        };
        QTest::mouseClick(panel.Command6, Qt::LeftButton);
        QCOMPARE(textColour(tmus), kBlack);
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"

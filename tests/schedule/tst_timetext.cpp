#include "schedule/NumberText.h"
#include "schedule/TimeText.h"

#include <QTest>

using TimeText::Spinner;
Q_DECLARE_METATYPE(TimeText::Spinner)

class TimeTextTest : public QObject
{
    Q_OBJECT

private slots:
    void caretChoosesSpinner()
    {
        QCOMPARE(TimeText::spinnerForCaret(0), Spinner::Hours);
        QCOMPARE(TimeText::spinnerForCaret(2), Spinner::Hours);
        QCOMPARE(TimeText::spinnerForCaret(3), Spinner::Minutes);
        QCOMPARE(TimeText::spinnerForCaret(5), Spinner::Minutes);
    }

    void leadingValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("whole");
        QTest::newRow("stops at colon") << "8:" << 8.0 << 8;
        QTest::newRow("leading blanks") << " 7.6" << 7.6 << 8;
        QTest::newRow("tab") << "\t7" << 7.0 << 7;
        QTest::newRow("letters") << "ab" << 0.0 << 0;
        QTest::newRow("empty") << "" << 0.0 << 0;
        QTest::newRow("sign alone") << "-" << 0.0 << 0;
        QTest::newRow("point alone") << "." << 0.0 << 0;
        QTest::newRow("negative") << "-1" << -1.0 << -1;
        QTest::newRow("plus") << "+3" << 3.0 << 3;
        QTest::newRow("second point stops") << "1.2.3" << 1.2 << 1;
        QTest::newRow("half to even") << "2.5" << 2.5 << 2;
        QTest::newRow("digit then blank") << "4 5" << 4.0 << 4;
    }

    void leadingValue()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QFETCH(int, whole);
        QCOMPARE(NumberText::leadingValue(text), value);
        QCOMPARE(NumberText::whole(NumberText::leadingValue(text)), whole);
    }

    void wholeClampsHugeNumbers()
    {
        QCOMPARE(NumberText::whole(1e300), std::numeric_limits<int>::max());
        QCOMPARE(NumberText::whole(-1e300), std::numeric_limits<int>::min());
    }

    void readSpinner_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Spinner>("spinner");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("inRange");
        QTest::newRow("hour without zero") << "8:25" << Spinner::Hours << 8 << true;
        QTest::newRow("minutes") << "08:25" << Spinner::Minutes << 25 << true;
        QTest::newRow("blank hour") << " 7:00" << Spinner::Hours << 7 << true;
        QTest::newRow("not a number") << "ab:cd" << Spinner::Hours << 0 << true;
        QTest::newRow("minutes after colon") << "12:3" << Spinner::Minutes << 0 << true;
        QTest::newRow("hours too big") << "99:99" << Spinner::Hours << 99 << false;
        QTest::newRow("minutes too big") << "99:99" << Spinner::Minutes << 99 << false;
        QTest::newRow("hours low extra") << "-1:00" << Spinner::Hours << -1 << true;
        QTest::newRow("hours high extra") << "24:00" << Spinner::Hours << 24 << true;
        QTest::newRow("hours past extra") << "25:00" << Spinner::Hours << 25 << false;
        QTest::newRow("minutes high extra") << "00:60" << Spinner::Minutes << 60 << true;
        QTest::newRow("below range") << "-5:00" << Spinner::Hours << -5 << false;
        QTest::newRow("short text") << "7" << Spinner::Minutes << 7 << true;
    }

    void readSpinner()
    {
        QFETCH(QString, text);
        QFETCH(Spinner, spinner);
        QFETCH(int, value);
        QFETCH(bool, inRange);
        const TimeText::SpinnerReading reading = TimeText::readSpinner(text, spinner);
        QCOMPARE(reading.value, value);
        QCOMPARE(reading.inRange, inRange);
    }

    void wrapsAtBothEnds()
    {
        QCOMPARE(TimeText::wrapped(Spinner::Hours, -1), 23);
        QCOMPARE(TimeText::wrapped(Spinner::Hours, 24), 0);
        QCOMPARE(TimeText::wrapped(Spinner::Hours, 0), 0);
        QCOMPARE(TimeText::wrapped(Spinner::Hours, 23), 23);
        QCOMPARE(TimeText::wrapped(Spinner::Minutes, -1), 59);
        QCOMPARE(TimeText::wrapped(Spinner::Minutes, 60), 0);
        QCOMPARE(TimeText::wrapped(Spinner::Minutes, 24), 24);
        QCOMPARE(TimeText::wrapped(Spinner::Minutes, 59), 59);
    }

    void rewritesOneHalf()
    {
        QCOMPARE(TimeText::rewritten("08:25", Spinner::Minutes, 26), QStringLiteral("08:26"));
        QCOMPARE(TimeText::rewritten("00:25", Spinner::Hours, TimeText::wrapped(Spinner::Hours, -1)),
                 QStringLiteral("23:25"));
        QCOMPARE(TimeText::rewritten("08:00", Spinner::Minutes, TimeText::wrapped(Spinner::Minutes, -1)),
                 QStringLiteral("08:59"));
        QCOMPARE(TimeText::rewritten("08:59", Spinner::Minutes, TimeText::wrapped(Spinner::Minutes, 60)),
                 QStringLiteral("08:00"));
        QCOMPARE(TimeText::rewritten("8:25", Spinner::Hours, 8), QStringLiteral("08:25"));
        QCOMPARE(TimeText::rewritten("12:30", Spinner::Hours, 7), QStringLiteral("07:30"));
        QCOMPARE(TimeText::rewritten("7", Spinner::Minutes, 5), QStringLiteral("7:05"));
    }

    void normalises_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("hour without zero") << "8:25"
                                           << "08:25";
        QTest::newRow("empty") << ""
                               << "00:00";
        QTest::newRow("four digits") << "0830"
                                     << "00:30";
        QTest::newRow("too long") << "12:345"
                                  << "12:34";
        QTest::newRow("six digits") << "123456"
                                    << "12:45";
        QTest::newRow("one digit") << "7"
                                   << "00:07";
        QTest::newRow("already right") << "23:59"
                                       << "23:59";
        QTest::newRow("hour and minute without zeros") << "7:5"
                                                       << "07:05";
        QTest::newRow("minute without zero") << "12:5"
                                             << "12:05";
        QTest::newRow("five characters kept") << "1:234"
                                              << "1:234";
    }

    void normalises()
    {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QCOMPARE(TimeText::normalised(text), result);
        QCOMPARE(TimeText::normalised(result), result);
    }
};

QTEST_APPLESS_MAIN(TimeTextTest)
#include "tst_timetext.moc"

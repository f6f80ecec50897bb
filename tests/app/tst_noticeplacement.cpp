#include "app/NoticePlacement.h"

#include <QTest>

// The notice goes beside the main window, on its screen, clear of it and of the strip's band.
class TestNoticePlacement : public QObject
{
    Q_OBJECT
private slots:
    void placement_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("main");
        QTest::addColumn<QRect>("band");
        const QSize size(370, 180);
        const QRect screen(0, 0, 1280, 1024);
        const QRect band(0, 400, 1280, 80);
        QTest::newRow("home place") << screen << QRect(350, 330, 339, 191) << band;
        QTest::newRow("main at the right edge") << screen << QRect(930, 330, 339, 191) << band;
        QTest::newRow("main far down") << screen << QRect(10, 800, 339, 191) << band;
        QTest::newRow("second screen, band elsewhere")
            << QRect(1280, 0, 800, 600) << QRect(1630, 100, 339, 191) << band;
        QTest::newRow("small screen") << QRect(0, 0, 800, 600) << QRect(350, 330, 339, 191) << band;
    }

    void placement()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, main);
        QFETCH(QRect, band);
        const QRect place = NoticePlacement::beside(main, QSize(370, 180), screen, band);
        QCOMPARE(place.size(), QSize(370, 180));
        QVERIFY(screen.contains(place));
        QVERIFY(!place.intersects(main));
        QVERIFY(!place.intersects(band));
        // Beside: no farther from the main window than the band forces it to be.
        const QRect near = main.adjusted(-NoticePlacement::kGap - 100, -NoticePlacement::kGap - 180,
                                         NoticePlacement::kGap + 100, NoticePlacement::kGap + 180);
        QVERIFY2(near.intersects(place), qPrintable(QStringLiteral("%1,%2").arg(place.x()).arg(place.y())));
    }

    void nowhereToGoTakesTheFarCorner()
    {
        const QRect screen(0, 0, 640, 480);
        const QRect place = NoticePlacement::beside(QRect(100, 100, 339, 191), QSize(370, 180), screen,
                                                    QRect(0, 300, 640, 80));
        QCOMPARE(place, QRect(270, 300, 370, 180));
    }
};

QTEST_APPLESS_MAIN(TestNoticePlacement)
#include "tst_noticeplacement.moc"

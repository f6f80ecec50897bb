#include "app/AppIcon.h"

#include <QImage>
#include <QTest>

// The icon is drawn on a 32-unit grid and scaled; the installed PNGs come from the same drawing.
class TestAppIcon : public QObject
{
    Q_OBJECT

private:
    // The colour at a point of the 32-unit grid, in an image of any size.
    static QColor at(const QImage& image, double x, double y)
    {
        const double scale = image.width() / 32.0;
        return image.pixelColor(int(x * scale), int(y * scale));
    }
    // Small sizes blend thin strokes with the face, so colours are judged, not compared exactly.
    static bool isBell(const QColor& c) { return c.red() > 150 && c.green() < 100 && c.blue() < 100; }
    static bool isFace(const QColor& c) { return c.red() > 230 && c.green() > 230 && c.blue() > 230; }
    static bool isHand(const QColor& c) { return c.alpha() == 255 && c.value() < 160 && c.saturation() < 40; }

private slots:
    void partsStayInPlaceAtEverySize_data()
    {
        QTest::addColumn<int>("size");
        for (int size : AppIcon::sizes())
            QTest::addRow("%d px", size) << size;
    }

    void partsStayInPlaceAtEverySize()
    {
        QFETCH(int, size);
        const QImage image = AppIcon::draw(size).toImage();
        QCOMPARE(image.size(), QSize(size, size));

        QCOMPARE(at(image, 0.5, 31.5).alpha(), 0); // corner outside the clock
        QVERIFY(isBell(at(image, 3.5, 5.5)));      // left bell
        QVERIFY(isBell(at(image, 28.5, 5.5)));     // right bell
        QVERIFY(isFace(at(image, 11, 23)));
        QVERIFY(isHand(at(image, 16, 12.5))); // minute hand
        QVERIFY(isHand(at(image, 19.5, 17))); // hour hand
        QVERIFY(isFace(at(image, 12, 12.5))); // left of the minute hand
    }

    void drawsTheSamePictureAt32Pixels()
    {
        // The tray and the window showed this exact 32 px picture before the icon gained sizes.
        const QImage image = AppIcon::draw(32).toImage();
        QCOMPARE(image.pixelColor(3, 5), QColor(196, 32, 32));
        QCOMPARE(image.pixelColor(16, 12), QColor(Qt::black));
        QCOMPARE(image.pixelColor(11, 23), QColor(Qt::white));
    }

    void windowIconHoldsEverySize()
    {
        const QIcon icon = AppIcon::make();
        QList<int> held;
        for (const QSize& size : icon.availableSizes())
            held.append(size.width());
        QCOMPARE(held, AppIcon::sizes());
    }
};

QTEST_MAIN(TestAppIcon)
#include "tst_appicon.moc"

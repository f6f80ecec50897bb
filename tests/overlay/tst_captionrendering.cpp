#include "FixedAppearance.h"
#include "QuietPlatform.h"

#include "overlay/CaptionPainter.h"
#include "overlay/CaptionQueue.h"
#include "overlay/Form2.h"
#include "overlay/GradientTable.h"

#include "overlay/TextStamp.h"

#include <QLabel>
#include <QTest>
#include <QtMath>
#include <memory>

namespace {

QRgb gradient(int look, int row)
{
    const GradientTable::RowColour c = GradientTable::rowColour(look, row);
    return qRgb(c.red, c.green, c.blue);
}

QRgb swatch(const Appearance& appearance, int index)
{
    const quint32 v = appearance.colours[std::size_t(index)];
    return qRgb(redOf(v), greenOf(v), blueOf(v));
}

// The pixels of the main letters: where the canvas holds the letters' key colour.
QList<QPoint> letterPixels(const QImage& canvas)
{
    QList<QPoint> points;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (canvas.pixel(x, y) == CaptionPainter::kTextKey)
                points.append(QPoint(x, y));
    return points;
}

QList<QPoint> pixelsOf(const QImage& image, QRgb colour)
{
    QList<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                points.append(QPoint(x, y));
    return points;
}

QRect boundsOf(const QList<QPoint>& points)
{
    QRect bounds;
    for (const QPoint& p : points)
        bounds |= QRect(p, QSize(1, 1));
    return bounds;
}

} // namespace

class CaptionRenderingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { silenceUnsupportedPlatformWarnings(); }
    void init();
    void cleanup();
    void layersHoldOnlyGradientLettersSwatchesAndKey();
    void diagonalStepLeansToTheLowerRight();
    void ringHasTheShadowRadius();
    void shadowZeroDrawsNoRing();
    void switchedOffLayersDrawNothing_data();
    void switchedOffLayersDrawNothing();
    void emptyTextChangesNothing();
    void wideCaptionKeepsItsGradientAndIsCentred();
    void captionWidthStopsAtTheSixteenBitLimit();
    void lettersAreFinerAtADevicePixelRatioOfTwo();

private:
    void render(const QString& text);

    CaptionQueue m_queue;
    FixedAppearance m_appearance;
    std::unique_ptr<Form2> m_form;
};

void CaptionRenderingTest::init()
{
    m_appearance.set(FixedAppearance::preset());
    m_form = std::make_unique<Form2>(m_queue, m_appearance);
}

void CaptionRenderingTest::cleanup()
{
    m_form.reset();
}

void CaptionRenderingTest::render(const QString& text)
{
    m_form->SetCap(text);
    QCOMPARE(m_form->layerImage(0).width(), int(m_form->CapWidth()));
    QCOMPARE(m_form->layerImage(1).width(), int(m_form->CapWidth()));
}

void CaptionRenderingTest::layersHoldOnlyGradientLettersSwatchesAndKey()
{
    render(QStringLiteral("闹钟提醒 Wake"));
    const QList<QPoint> letters = letterPixels(m_form->canvas());
    QVERIFY(letters.size() > 500);

    const Appearance a = m_appearance.value();
    for (int look = 0; look < 2; ++look) {
        const QImage layer = m_form->layerImage(look);
        const QList<QRgb> layerColours{swatch(a, 2 * look), swatch(a, 2 * look + 1),
                                       CaptionPainter::kKeyColour};
        int gradientPixels = 0;
        for (int y = 0; y < layer.height(); ++y) {
            for (int x = 0; x < layer.width(); ++x) {
                const QRgb pixel = layer.pixel(x, y);
                QVERIFY2(pixel != CaptionPainter::kTextKey, "letter key colour left on the layer");
                if (pixel == gradient(look, y))
                    ++gradientPixels;
                else
                    QVERIFY2(layerColours.contains(pixel),
                             qPrintable(QStringLiteral("stray colour %1 at %2,%3")
                                            .arg(pixel, 8, 16, QLatin1Char('0'))
                                            .arg(x)
                                            .arg(y)));
            }
        }
        // Every letter pixel shows the gradient colour of its own row.
        for (const QPoint& p : letters)
            QCOMPARE(layer.pixel(p), gradient(look, p.y()));
        QCOMPARE(gradientPixels, int(letters.size()));
        QVERIFY(!pixelsOf(layer, swatch(a, 2 * look)).isEmpty());
        QVERIFY(!pixelsOf(layer, swatch(a, 2 * look + 1)).isEmpty());
    }
}

void CaptionRenderingTest::diagonalStepLeansToTheLowerRight()
{
    m_appearance.setShadowSize(0);
    render(QStringLiteral("提醒 Ok"));
    const QImage canvas = m_form->canvas();
    const QList<QPoint> letters = letterPixels(canvas);
    const auto isLetter = [&](QPoint p) {
        return canvas.valid(p) && canvas.pixel(p) == CaptionPainter::kTextKey;
    };

    for (int look = 0; look < 2; ++look) {
        const QImage layer = m_form->layerImage(look);
        const QList<QPoint> step = pixelsOf(layer, swatch(m_appearance.value(), 2 * look + 1));
        QVERIFY(!step.isEmpty());
        // Each step pixel is a letter pixel moved 1, 2 or 3 pixels down and right.
        for (const QPoint& p : step)
            QVERIFY(isLetter(p - QPoint(1, 1)) || isLetter(p - QPoint(2, 2)) || isLetter(p - QPoint(3, 3)));
        // And the copy moved by 3 is complete.
        for (const QPoint& p : letters) {
            const QPoint moved = p + QPoint(3, 3);
            if (layer.valid(moved))
                QVERIFY(layer.pixel(moved) != CaptionPainter::kKeyColour);
        }
    }
}

void CaptionRenderingTest::ringHasTheShadowRadius()
{
    m_appearance.setShadowSize(9);
    m_appearance.edit([](Appearance& a) { a.noColour = {false, true, false, true}; });
    // Leading spaces keep the ring's left side inside the canvas.
    render(QStringLiteral("  钟 O"));
    const QRect letters = boundsOf(letterPixels(m_form->canvas()));

    for (int look = 0; look < 2; ++look) {
        const QRect ring =
            boundsOf(pixelsOf(m_form->layerImage(look), swatch(m_appearance.value(), 2 * look)));
        // The ring's centre is 2 pixels right of and below the letters, its radius 9.
        QVERIFY2(ring.left() >= letters.left() - 8 && ring.left() <= letters.left() - 6,
                 qPrintable(QStringLiteral("%1 vs %2").arg(ring.left()).arg(letters.left())));
        QVERIFY2(ring.right() >= letters.right() + 10 && ring.right() <= letters.right() + 12,
                 qPrintable(QStringLiteral("%1 vs %2").arg(ring.right()).arg(letters.right())));
    }
}

void CaptionRenderingTest::shadowZeroDrawsNoRing()
{
    m_appearance.setShadowSize(0);
    render(QStringLiteral("起床啦 Up"));
    QVERIFY(pixelsOf(m_form->layerImage(0), swatch(m_appearance.value(), 0)).isEmpty());
    QVERIFY(pixelsOf(m_form->layerImage(1), swatch(m_appearance.value(), 2)).isEmpty());
}

void CaptionRenderingTest::switchedOffLayersDrawNothing_data()
{
    QTest::addColumn<bool>("keyColoured");
    QTest::newRow("all four marked") << false;
    QTest::newRow("all four in the key colour") << true;
}

void CaptionRenderingTest::switchedOffLayersDrawNothing()
{
    QFETCH(bool, keyColoured);
    if (keyColoured)
        m_appearance.edit([](Appearance& a) { a.colours.fill(colourValue(128, 0, 128)); });
    else
        m_appearance.edit([](Appearance& a) { a.noColour.fill(true); });
    render(QStringLiteral("开会 Meet"));
    const QImage canvas = m_form->canvas();

    for (int look = 0; look < 2; ++look) {
        const QImage layer = m_form->layerImage(look);
        for (int y = 0; y < layer.height(); ++y) {
            for (int x = 0; x < layer.width(); ++x) {
                const QRgb expected = canvas.pixel(x, y) == CaptionPainter::kTextKey
                                          ? gradient(look, y)
                                          : CaptionPainter::kKeyColour;
                QCOMPARE(layer.pixel(x, y), expected);
            }
        }
    }
}

void CaptionRenderingTest::emptyTextChangesNothing()
{
    render(QStringLiteral("喝水"));
    const QImage p1 = m_form->layerImage(0);
    const QImage p2 = m_form->layerImage(1);
    const qint16 width = m_form->CapWidth();
    const QRegion shape = m_form->mask();
    m_appearance.edit([](Appearance& a) { a.colours.fill(0); });

    m_form->SetCap(QString());
    QCOMPARE(m_form->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("喝水"));
    QCOMPARE(m_form->CapWidth(), width);
    QCOMPARE(m_form->layerImage(0), p1);
    QCOMPARE(m_form->layerImage(1), p2);
    QCOMPARE(m_form->mask(), shape);
}

void CaptionRenderingTest::wideCaptionKeepsItsGradientAndIsCentred()
{
    const QString text = QString(QStringLiteral("长")).repeated(30);
    render(text);
    const int width = m_form->CapWidth();
    QVERIFY(width > 1500);

    const QList<QPoint> letters = letterPixels(m_form->canvas());
    int beyond = 0;
    for (const QPoint& p : letters) {
        if (p.x() >= GradientTable::kImageWidth) {
            QCOMPARE(m_form->layerImage(1).pixel(p), gradient(1, p.y()));
            QCOMPARE(m_form->layerImage(0).pixel(p), gradient(0, p.y()));
            ++beyond;
        }
    }
    QVERIFY(beyond > 100);

    const QWidget* panel = m_form->findChild<QWidget*>(QStringLiteral("Picture3"));
    for (const char* name : {"Picture2(0)", "Picture2(1)"}) {
        const QWidget* layer = m_form->findChild<QWidget*>(QString::fromLatin1(name));
        QCOMPARE(layer->geometry(), QRect((panel->width() - width) / 2, 0, width, 80));
    }
}

void CaptionRenderingTest::captionWidthStopsAtTheSixteenBitLimit()
{
    m_appearance.setShadowSize(0);
    m_appearance.edit([](Appearance& a) { a.noColour.fill(true); });
    render(QString(QStringLiteral("宽")).repeated(600));
    QCOMPARE(m_form->CapWidth(), qint16(32767));
    QCOMPARE(m_form->findChild<QWidget*>(QStringLiteral("Picture2(0)"))->width(), 32767);
}

void CaptionRenderingTest::lettersAreFinerAtADevicePixelRatioOfTwo()
{
    const QFont font = CaptionPainter::overlayFont(QStringLiteral("WenQuanYi Micro Hei"));
    const QString text = QStringLiteral("清晰 Sharp");
    const int width = 400;
    const auto renderAt = [&](qreal ratio) {
        const Appearance& a = m_appearance.value();
        return CaptionPainter::render(TextStamp(font, text, width, 80, ratio), width, ratio, a).layers[0];
    };
    const QImage coarse = renderAt(1);
    const QImage fine = renderAt(2);
    QCOMPARE(fine.size(), coarse.size() * 2);
    QCOMPARE(fine.devicePixelRatio(), 2.0);
    // Same letters in the same logical place, but not merely pixel-doubled: some 2x2 blocks of
    // the fine rendering are split between letter and background.
    const auto isKey = [](const QImage& image, int x, int y) { return qAlpha(image.pixel(x, y)) == 0; };
    int split = 0;
    int agree = 0;
    int letters = 0;
    for (int y = 0; y < coarse.height(); ++y) {
        for (int x = 0; x < coarse.width(); ++x) {
            const int keys = int(isKey(fine, 2 * x, 2 * y)) + int(isKey(fine, 2 * x + 1, 2 * y)) +
                             int(isKey(fine, 2 * x, 2 * y + 1)) + int(isKey(fine, 2 * x + 1, 2 * y + 1));
            split += keys == 1 || keys == 2 || keys == 3 ? 1 : 0;
            letters += isKey(coarse, x, y) ? 0 : 1;
            agree += (keys == 4) == isKey(coarse, x, y) ? 1 : 0;
        }
    }
    QVERIFY(letters > 1000);
    QVERIFY2(split > 100, qPrintable(QString::number(split)));
    QVERIFY(agree > coarse.width() * coarse.height() * 9 / 10);
}

QTEST_MAIN(CaptionRenderingTest)
#include "tst_captionrendering.moc"

#include "appearance/AppearanceModel.h"

#include <QSignalSpy>
#include <QTest>

class AppearanceModelTest : public QObject
{
    Q_OBJECT

private slots:
    void changedOnlyOnARealChange();
};

void AppearanceModelTest::changedOnlyOnARealChange()
{
    AppearanceModel model;
    QSignalSpy changed(&model, &AppearanceModel::changed);
    const Appearance defaults;

    model.set(defaults);
    model.setColour(0, defaults.colours[0]);
    model.setNoColour(3, false);
    model.setShadowSize(3);
    model.setFontName(defaults.fontName);
    model.setOpacity(255);
    QCOMPARE(changed.count(), 0);

    model.setColour(3, 7);
    model.setNoColour(1, true);
    model.setShadowSize(0);
    model.setFontName(QStringLiteral("黑体"));
    model.setOpacity(1);
    QCOMPARE(changed.count(), 5);
    QCOMPARE(model.value().colours[3], 7u);
    QVERIFY(model.value().noColour[1]);
    QCOMPARE(model.value().shadowSize, 0);
    QCOMPARE(model.value().fontName, QStringLiteral("黑体"));
    QCOMPARE(model.value().opacity, 1);

    Appearance other = model.value();
    model.set(other);
    QCOMPARE(changed.count(), 5);
    other.noColour[2] = true;
    model.set(other);
    QCOMPARE(changed.count(), 6);
    QVERIFY(model.value() == other);
}

QTEST_GUILESS_MAIN(AppearanceModelTest)
#include "tst_appearancemodel.moc"

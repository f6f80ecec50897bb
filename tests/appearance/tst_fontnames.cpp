#include "appearance/FontNames.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>

class FontNamesTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { FontNames::installSubstitutes(); }
    void eachNameDrawsInTheFirstFaceOfItsKind_data();
    void eachNameDrawsInTheFirstFaceOfItsKind();
};

void FontNamesTest::eachNameDrawsInTheFirstFaceOfItsKind_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("face");
    QTest::newRow("Song") << QStringLiteral("宋体") << QStringLiteral("AR PL UMing CN");
    QTest::newRow("Hei") << QStringLiteral("黑体") << QStringLiteral("WenQuanYi Micro Hei");
    QTest::newRow("Kai") << QStringLiteral("楷体") << QStringLiteral("AR PL UKai CN");
}

void FontNamesTest::eachNameDrawsInTheFirstFaceOfItsKind()
{
    QFETCH(QString, name);
    QFETCH(QString, face);
    if (QFontDatabase::hasFamily(name) || !QFontDatabase::hasFamily(face))
        QSKIP("needs the Linux face installed and the Windows name absent");
    QVERIFY(FontNames::resolves(name));
    QCOMPARE(QFontInfo(QFont(name)).family(), face);
}

QTEST_MAIN(FontNamesTest)
#include "tst_fontnames.moc"

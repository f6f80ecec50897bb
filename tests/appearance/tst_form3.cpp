#include "overlay/QuietPlatform.h"

#include "appearance/Form3.h"
#include "overlay/CaptionQueue.h"
#include "overlay/Form2.h"
#include "settings/MemorySettingsStore.h"
#include "support/WidgetChecks.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

using Phase = OverlayCycle::Phase;

using WidgetChecks::hasColour;

namespace {

const QString kMicroHei = QStringLiteral("WenQuanYi Micro Hei");
const QRgb kRingBlue = qRgb(0, 0, 255);

// An installed CJK family other than the given one, or empty.
QString otherInstalledFamily(const QString& not_)
{
    for (const QString& family : QFontDatabase::families(QFontDatabase::SimplifiedChinese))
        if (family != not_)
            return family;
    return {};
}

} // namespace

class Form3Test : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { silenceUnsupportedPlatformWarnings(); }
    void init();
    void cleanup();
    void startsHiddenWithItsControlsInPlace();
    void fontListHoldsTheThreeNamesThenTheInstalledChineseFamilies();
    void startUpHandsOverTheStoredValues();
    void chosenColourBecomesTheSwatchAndAvoidsTheLetterKey();
    void markersToggleByRightClickAndHideOnAnyClick();
    void pickedFontReachesTheStripTypedFontOnlyTheStore();
    void missingFontIsReportedAndChangesNothing();
    void closingAppliesOpacityHidesAndSavesEverythingInOrder();
    void shadowSizeZeroLeavesNoRing();
    void everyChangeRendersAgainAtTheNextCycle_data();
    void everyChangeRendersAgainAtTheNextCycle();

private:
    template <typename T> T* control(const QString& name) const { return m_dialog->findChild<T*>(name); }
    QComboBox* combo(int n) const { return control<QComboBox>(QStringLiteral("Combo%1").arg(n)); }
    QFrame* swatch(int i) const { return control<QFrame>(QStringLiteral("Picture1(%1)").arg(i)); }
    QLabel* marker(int i) const { return control<QLabel>(QStringLiteral("Label2(%1)").arg(i)); }
    QScrollBar* slider() const { return control<QScrollBar>(QStringLiteral("HScroll1")); }
    QFont stripFont() const { return m_strip->findChild<QLabel*>(QStringLiteral("Label1"))->font(); }

    // Opens the combo's list and clicks the item, as the user picks it.
    void pick(QComboBox* box, int index);
    // Runs the strip's timers by hand until its next cycle restart has happened.
    void runToNextCycle();
    void fire(const QString& text);

    MemorySettingsStore m_store;
    CaptionQueue m_queue;
    std::unique_ptr<Form3> m_dialog;
    std::unique_ptr<Form2> m_strip;
    QList<QColor> m_chooserGot;
    QColor m_chooserAnswer;
    QStringList m_errors;
};

void Form3Test::init()
{
    m_store.clear();
    m_queue = CaptionQueue();
    m_chooserGot.clear();
    m_errors.clear();
    m_dialog = std::make_unique<Form3>(m_store);
    m_strip = std::make_unique<Form2>(m_queue, *m_dialog);
    m_dialog->setOverlay(m_strip.get());
    m_dialog->setColourChooser([this](const QColor& initial, QWidget*) {
        m_chooserGot.append(initial);
        return m_chooserAnswer;
    });
    m_dialog->setErrorNotice([this](const QString& text, const QString& title, QWidget*) {
        m_errors.append(title + QLatin1Char('|') + text);
    });
}

void Form3Test::cleanup()
{
    m_strip.reset();
    m_dialog.reset();
}

void Form3Test::pick(QComboBox* box, int index)
{
    QSignalSpy activated(box, &QComboBox::activated);
    box->showPopup();
    QAbstractItemView* view = box->view();
    view->setCurrentIndex(view->model()->index(index, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(box->currentIndex(), index);
}

void Form3Test::fire(const QString& text)
{
    if (m_queue.append(text))
        m_strip->SetCap(text);
    if (!m_strip->cycleRunning())
        m_strip->startSlideIn();
}

void Form3Test::runToNextCycle()
{
    bool leftSlideIn = false;
    for (int ticks = 0; ticks < 100000; ++ticks) {
        const Phase phase = m_strip->phase();
        if (phase == Phase::SlidingIn && leftSlideIn)
            return;
        if (phase != Phase::SlidingIn)
            leftSlideIn = true;
        if (phase == Phase::SlidingIn)
            m_strip->Timer1_Timer();
        else if (phase == Phase::Blinking)
            m_strip->Timer2_Timer();
        else if (phase == Phase::SlidingOut)
            m_strip->Timer3_Timer();
        else
            QFAIL("the strip fell idle");
    }
    QFAIL("no cycle restart");
}

void Form3Test::startsHiddenWithItsControlsInPlace()
{
    QVERIFY(m_dialog->isHidden());
    QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
    QVERIFY(
        !m_dialog->windowFlags().testAnyFlags(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(marker(i)->parentWidget(), swatch(i));
        QVERIFY(marker(i)->isHidden());
    }
    // Start-up fills the shadow sizes; until then nothing is selected.
    QCOMPARE(combo(2)->count(), 0);
    QCOMPARE(m_dialog->appearance().shadowSize, -1);
    QCOMPARE(m_dialog->appearance().fontName, QStringLiteral("宋体"));
    QCOMPARE(m_dialog->appearance().opacity, 255);
}

void Form3Test::fontListHoldsTheThreeNamesThenTheInstalledChineseFamilies()
{
    const QStringList first{QStringLiteral("宋体"), QStringLiteral("黑体"), QStringLiteral("楷体")};
    QStringList items;
    for (int i = 0; i < combo(1)->count(); ++i)
        items.append(combo(1)->itemText(i));
    QCOMPARE(items.mid(0, 3), first);

    QStringList expected = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    expected.removeIf([&](const QString& family) { return first.contains(family); });
    expected.sort(Qt::CaseInsensitive);
    expected.removeDuplicates();
    QCOMPARE(items.mid(3), expected);
    if (expected.isEmpty())
        QSKIP("no Chinese font installed to list");
}

void Form3Test::startUpHandsOverTheStoredValues()
{
    Appearance stored;
    stored.colours = {colourValue(1, 2, 3), colourValue(250, 0, 0), 0, 0xFFFFFF};
    stored.noColour = {true, false, false, true};
    stored.opacity = 100;
    stored.fontName = QStringLiteral("楷体");
    stored.shadowSize = 5;
    m_dialog->applyStored(stored);

    QVERIFY(m_dialog->isHidden());
    QCOMPARE(m_strip->RenderMark, QStringLiteral("c")); // the shadow selection changed
    const Appearance shown = m_dialog->appearance();
    QCOMPARE(shown.colours, stored.colours);
    QCOMPARE(shown.noColour, stored.noColour);
    QCOMPARE(shown.opacity, 100);
    QCOMPARE(shown.fontName, QStringLiteral("楷体"));
    QCOMPARE(shown.shadowSize, 5);
    QCOMPARE(swatch(1)->palette().color(QPalette::Window), QColor(250, 0, 0));
    QCOMPARE(combo(2)->count(), 10);
    QCOMPARE(combo(2)->itemText(0), QStringLiteral("0"));
    QCOMPARE(combo(2)->itemText(9), QStringLiteral("9"));
    QVERIFY(m_store.writes.isEmpty());

    // Nothing selected: no change, no mark.
    cleanup();
    init();
    stored.shadowSize = -1;
    m_dialog->applyStored(stored);
    QCOMPARE(combo(2)->currentIndex(), -1);
    QCOMPARE(m_strip->RenderMark, QString());
}

void Form3Test::chosenColourBecomesTheSwatchAndAvoidsTheLetterKey()
{
    m_dialog->applyStored(Appearance());
    m_dialog->showCentred();

    m_strip->RenderMark = QStringLiteral("s");
    m_chooserAnswer = QColor(254, 0, 0);
    QTest::mousePress(swatch(2), Qt::LeftButton);
    QCOMPARE(m_chooserGot, QList<QColor>{QColor(255, 255, 255)});
    QCOMPARE(m_dialog->appearance().colours[2], 255u);
    QCOMPARE(m_strip->RenderMark, QStringLiteral("c"));

    // Cancel: the chooser hands back nothing and the swatch keeps its colour.
    m_chooserAnswer = QColor();
    QTest::mousePress(swatch(0), Qt::LeftButton);
    QCOMPARE(m_dialog->appearance().colours[0], 0xFFFFFFu);
    m_chooserAnswer = QColor(12, 34, 56);
    QTest::mousePress(swatch(0), Qt::LeftButton);
    QCOMPARE(m_dialog->appearance().colours[0], colourValue(12, 34, 56));

    // Other buttons open nothing but still mark the strip.
    m_strip->RenderMark = QStringLiteral("s");
    QTest::mousePress(swatch(1), Qt::MiddleButton);
    QCOMPARE(m_chooserGot.size(), 3);
    QCOMPARE(m_strip->RenderMark, QStringLiteral("c"));

    QVERIFY(m_store.writes.isEmpty());
    m_dialog->close();
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("c2")), QStringLiteral("255"));
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("c0")), QStringLiteral("3678732"));
}

void Form3Test::markersToggleByRightClickAndHideOnAnyClick()
{
    m_dialog->showCentred();
    QTest::mousePress(swatch(1), Qt::RightButton);
    QVERIFY(marker(1)->isVisible());
    QCOMPARE(m_dialog->appearance().noColour, (std::array<bool, 4>{false, true, false, false}));
    QTest::mousePress(swatch(1), Qt::RightButton);
    QVERIFY(marker(1)->isHidden());

    QTest::mousePress(swatch(3), Qt::RightButton);
    m_strip->RenderMark = QStringLiteral("s");
    // The marker sits over the swatch's corner; a press on it only hides it.
    QTest::mousePress(marker(3), Qt::LeftButton);
    QVERIFY(marker(3)->isHidden());
    QVERIFY(m_chooserGot.isEmpty());
    QCOMPARE(m_strip->RenderMark, QStringLiteral("c"));
    QTest::mousePress(swatch(3), Qt::RightButton);
    QTest::mousePress(marker(3), Qt::RightButton);
    QVERIFY(marker(3)->isHidden());

    QTest::mousePress(swatch(0), Qt::RightButton);
    m_dialog->close();
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("v0")), QStringLiteral("True"));
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("v3")), QStringLiteral("False"));
    // Hidden with the dialog, the markers still count.
    QCOMPARE(m_dialog->appearance().noColour[0], true);
}

void Form3Test::pickedFontReachesTheStripTypedFontOnlyTheStore()
{
    const QString other = otherInstalledFamily(kMicroHei);
    if (!QFontDatabase::hasFamily(kMicroHei) || other.isEmpty())
        QSKIP("needs two installed Chinese families");
    m_strip->setOverlayFont(kMicroHei);
    m_dialog->showCentred();

    pick(combo(1), combo(1)->findText(other));
    QCOMPARE(stripFont().family(), other);
    QCOMPARE(m_strip->RenderMark, QStringLiteral("c"));
    QVERIFY(m_errors.isEmpty());

    // Typed and confirmed with Enter, but not picked from the list, though it names an item.
    m_strip->RenderMark = QStringLiteral("s");
    const QString typed = kMicroHei.toLower();
    QLineEdit* edit = combo(1)->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(combo(1)->currentText(), typed);
    QCOMPARE(stripFont().family(), other);
    QCOMPARE(m_strip->RenderMark, QStringLiteral("s"));
    QCOMPARE(combo(1)->findText(typed), -1);

    m_dialog->close();
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("font")), typed);
}

void Form3Test::missingFontIsReportedAndChangesNothing()
{
    m_strip->setOverlayFont(kMicroHei);
    const QFont before = stripFont();
    m_strip->RenderMark = QStringLiteral("s");
    combo(1)->addItem(QStringLiteral("Quorvel Missing Face"));
    m_dialog->showCentred();

    pick(combo(1), combo(1)->count() - 1);
    QCOMPARE(m_errors, QStringList{QStringLiteral("错误|此字体在系统中未找到")});
    QCOMPARE(stripFont(), before);
    QCOMPARE(m_strip->RenderMark, QStringLiteral("s"));
    // The name stays in the box and is what gets saved.
    m_dialog->close();
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("font")),
             QStringLiteral("Quorvel Missing Face"));
}

void Form3Test::closingAppliesOpacityHidesAndSavesEverythingInOrder()
{
    m_dialog->applyStored(Appearance());
    m_strip->SetTr();
    m_dialog->showCentred();
    QVERIFY(m_dialog->isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // The frame is not known before the first showing, so the client area is what is centred.
    QVERIFY((m_dialog->geometry().center() - screen.center()).manhattanLength() <= 4);

    QTest::mouseClick(slider(), Qt::LeftButton, {}, QPoint(30, 8)); // a page towards transparent
    QCOMPARE(slider()->value(), 255 - 16);
    slider()->setValue(51);
    QCOMPARE(m_strip->windowOpacity(), 1.0);
    QTest::mousePress(swatch(2), Qt::RightButton);
    pick(combo(2), 7);
    QVERIFY(m_store.writes.isEmpty());

    m_dialog->close();
    QVERIFY(m_dialog->isHidden());
    QCOMPARE(m_strip->windowOpacity(), 0.2);
    const QStringList order{"set/c0", "set/c1", "set/c2", "set/c3",   "set/tr", "set/v0",
                            "set/v1", "set/v2", "set/v3", "set/font", "set/sh"};
    QCOMPARE(m_store.writes, order);
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("tr")), QStringLiteral("51"));
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("sh")), QStringLiteral("7"));
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("c1")), QStringLiteral("0"));

    const Appearance reread = Appearance::load(m_store);
    const Appearance shown = m_dialog->appearance();
    QCOMPARE(reread.colours, shown.colours);
    QCOMPARE(reread.noColour, (std::array<bool, 4>{false, false, true, false}));
    QCOMPARE(reread.opacity, 51);
    QCOMPARE(reread.fontName, shown.fontName);
    QCOMPARE(reread.shadowSize, 7);

    // Opened again, it shows what was left; Escape closes it like the close box.
    m_dialog->showCentred();
    QCOMPARE(slider()->value(), 51);
    QVERIFY(marker(2)->isVisible());
    QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
    QVERIFY(m_dialog->isHidden());
    QCOMPARE(m_store.writes.size(), 2 * order.size());
}

void Form3Test::shadowSizeZeroLeavesNoRing()
{
    Appearance stored;
    stored.colours[0] = colourValue(0, 0, 255);
    stored.fontName = kMicroHei;
    m_dialog->applyStored(stored);
    m_strip->setOverlayFont(kMicroHei);
    fire(QStringLiteral("提醒"));
    QVERIFY(hasColour(m_strip->layerImage(0), kRingBlue));

    m_dialog->showCentred();
    pick(combo(2), 0);
    QCOMPARE(m_strip->RenderMark, QStringLiteral("c"));
    runToNextCycle();
    QCOMPARE(m_strip->RenderMark, QStringLiteral("s"));
    QVERIFY(!hasColour(m_strip->layerImage(0), kRingBlue));
    QVERIFY(!m_strip->layerImage(0).isNull());

    m_dialog->close();
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("sh")), QStringLiteral("0"));
}

void Form3Test::everyChangeRendersAgainAtTheNextCycle_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("colour") << 0;
    QTest::newRow("marker on") << 1;
    QTest::newRow("marker off") << 2;
    QTest::newRow("shadow size") << 3;
    QTest::newRow("font") << 4;
}

void Form3Test::everyChangeRendersAgainAtTheNextCycle()
{
    QFETCH(int, change);
    Appearance stored;
    stored.noColour[3] = true;
    stored.fontName = kMicroHei;
    m_dialog->applyStored(stored);
    m_strip->setOverlayFont(kMicroHei);
    fire(QStringLiteral("提醒 A"));
    m_dialog->showCentred();
    runToNextCycle(); // the start-up mark is used up
    QCOMPARE(m_strip->RenderMark, QStringLiteral("s"));
    const QImage before = m_strip->layerImage(change == 2 ? 1 : 0);

    m_chooserAnswer = QColor(10, 200, 30);
    switch (change) {
    case 0:
        QTest::mousePress(swatch(1), Qt::LeftButton);
        break;
    case 1:
        QTest::mousePress(swatch(0), Qt::RightButton);
        break;
    case 2:
        QTest::mousePress(marker(3), Qt::LeftButton);
        break;
    case 3:
        pick(combo(2), 8);
        break;
    case 4: {
        const QString other = otherInstalledFamily(kMicroHei);
        if (other.isEmpty())
            QSKIP("needs two installed Chinese families");
        pick(combo(1), combo(1)->findText(other));
        break;
    }
    }
    QCOMPARE(m_strip->RenderMark, QStringLiteral("c"));
    // Nothing on the strip changes before its cycle ends.
    QCOMPARE(m_strip->layerImage(change == 2 ? 1 : 0), before);
    runToNextCycle();
    QCOMPARE(m_strip->RenderMark, QStringLiteral("s"));
    QVERIFY(m_strip->layerImage(change == 2 ? 1 : 0) != before);
    QVERIFY(m_store.writes.isEmpty());
}

QTEST_MAIN(Form3Test)
#include "tst_form3.moc"

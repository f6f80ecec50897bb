#include "overlay/QuietPlatform.h"

#include "appearance/AppearanceModel.h"
#include "appearance/Form3.h"
#include "settings/MemorySettingsStore.h"

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
#include <memory>

namespace {

const QString kMicroHei = QStringLiteral("WenQuanYi Micro Hei");

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
    void showsTheValuesStartUpLoaded();
    void chosenColourBecomesTheSwatchAndAvoidsTheLetterKey();
    void markersToggleByRightClickAndHideOnAnyClick();
    void pickedFontReachesTheModelTypedFontOnlyTheStore();
    void missingFontIsReportedAndChangesNothing();
    void closingHandsOverOpacityHidesAndSavesEverythingInOrder();
    void everyEditReachesTheModelAtOnce_data();
    void everyEditReachesTheModelAtOnce();

private:
    template <typename T> T* control(const QString& name) const { return m_dialog->findChild<T*>(name); }
    QComboBox* combo(int n) const { return control<QComboBox>(QStringLiteral("Combo%1").arg(n)); }
    QFrame* swatch(int i) const { return control<QFrame>(QStringLiteral("Picture1(%1)").arg(i)); }
    QLabel* marker(int i) const { return control<QLabel>(QStringLiteral("Label2(%1)").arg(i)); }
    QScrollBar* slider() const { return control<QScrollBar>(QStringLiteral("HScroll1")); }
    const Appearance& model() const { return m_model->value(); }
    void makeDialog();
    // Stores the values, loads them into the model as start-up does and makes the dialog then;
    // the store holds no writes.
    void loadStored(const Appearance& stored);

    // Opens the combo's list and clicks the item, as the user picks it.
    void pick(QComboBox* box, int index);

    MemorySettingsStore m_store;
    std::unique_ptr<AppearanceModel> m_model;
    std::unique_ptr<Form3> m_dialog;
    std::unique_ptr<QSignalSpy> m_changes;
    QList<QColor> m_chooserGot;
    QColor m_chooserAnswer;
    QStringList m_errors;
};

void Form3Test::init()
{
    m_store.clear();
    m_chooserGot.clear();
    m_errors.clear();
    m_model = std::make_unique<AppearanceModel>();
    m_changes = std::make_unique<QSignalSpy>(m_model.get(), &AppearanceModel::changed);
    makeDialog();
}

void Form3Test::makeDialog()
{
    m_dialog = std::make_unique<Form3>(*m_model, m_store);
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
    m_dialog.reset();
    m_changes.reset();
    m_model.reset();
}

void Form3Test::loadStored(const Appearance& stored)
{
    stored.save(m_store);
    m_store.writes.clear();
    m_model->set(Appearance::load(m_store));
    makeDialog();
    m_changes->clear();
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
    // The model's values: the defaults here.
    QCOMPARE(combo(2)->count(), 10);
    QCOMPARE(combo(2)->currentIndex(), 3);
    QCOMPARE(combo(1)->currentText(), QStringLiteral("宋体"));
    QCOMPARE(slider()->value(), 255);
    QCOMPARE(m_changes->count(), 0);
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

void Form3Test::showsTheValuesStartUpLoaded()
{
    Appearance stored;
    stored.colours = {colourValue(1, 2, 3), colourValue(250, 0, 0), 0, 0xFFFFFF};
    stored.noColour = {true, false, false, true};
    stored.opacity = 100;
    stored.fontName = QStringLiteral("楷体");
    stored.shadowSize = 5;
    stored.save(m_store);
    m_store.writes.clear();
    m_model->set(Appearance::load(m_store));
    makeDialog();

    QVERIFY(m_dialog->isHidden());
    QCOMPARE(m_changes->count(), 1);
    QVERIFY(model() == stored);
    QCOMPARE(swatch(1)->palette().color(QPalette::Window), QColor(250, 0, 0));
    QVERIFY(marker(0)->isVisibleTo(m_dialog.get()) && !marker(1)->isVisibleTo(m_dialog.get()));
    QCOMPARE(slider()->value(), 100);
    QCOMPARE(combo(1)->currentText(), QStringLiteral("楷体"));
    QCOMPARE(combo(2)->count(), 10);
    QCOMPARE(combo(2)->itemText(0), QStringLiteral("0"));
    QCOMPARE(combo(2)->itemText(9), QStringLiteral("9"));
    QCOMPARE(combo(2)->currentIndex(), 5);
    QVERIFY(m_store.writes.isEmpty());

    // Nothing selected stays so.
    cleanup();
    init();
    stored.shadowSize = -1;
    loadStored(stored);
    QCOMPARE(combo(2)->currentIndex(), -1);
    QCOMPARE(model().shadowSize, -1);
}

void Form3Test::chosenColourBecomesTheSwatchAndAvoidsTheLetterKey()
{
    loadStored(Appearance());
    m_dialog->showCentred();

    m_chooserAnswer = QColor(254, 0, 0);
    QTest::mousePress(swatch(2), Qt::LeftButton);
    QCOMPARE(m_chooserGot, QList<QColor>{QColor(255, 255, 255)});
    QCOMPARE(model().colours[2], 255u);
    QCOMPARE(swatch(2)->palette().color(QPalette::Window), QColor(255, 0, 0));

    // Cancel: the chooser hands back nothing and the swatch keeps its colour.
    m_chooserAnswer = QColor();
    QTest::mousePress(swatch(0), Qt::LeftButton);
    QCOMPARE(model().colours[0], 0xFFFFFFu);
    m_chooserAnswer = QColor(12, 34, 56);
    QTest::mousePress(swatch(0), Qt::LeftButton);
    QCOMPARE(model().colours[0], colourValue(12, 34, 56));
    QCOMPARE(m_changes->count(), 2);

    // Other buttons open nothing and change nothing.
    QTest::mousePress(swatch(1), Qt::MiddleButton);
    QCOMPARE(m_chooserGot.size(), 3);
    QCOMPARE(m_changes->count(), 2);

    QVERIFY(m_store.writes.isEmpty());
    m_dialog->close();
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("c2")), QStringLiteral("255"));
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("c0")), QStringLiteral("3678732"));
}

void Form3Test::markersToggleByRightClickAndHideOnAnyClick()
{
    loadStored(Appearance());
    m_dialog->showCentred();
    QTest::mousePress(swatch(1), Qt::RightButton);
    QVERIFY(marker(1)->isVisible());
    QCOMPARE(model().noColour, (std::array<bool, 4>{false, true, false, false}));
    QTest::mousePress(swatch(1), Qt::RightButton);
    QVERIFY(marker(1)->isHidden());
    QCOMPARE(model().noColour[1], false);

    QTest::mousePress(swatch(3), Qt::RightButton);
    // The marker sits over the swatch's corner; a press on it only hides it.
    QTest::mousePress(marker(3), Qt::LeftButton);
    QVERIFY(marker(3)->isHidden());
    QCOMPARE(model().noColour[3], false);
    QVERIFY(m_chooserGot.isEmpty());
    QTest::mousePress(swatch(3), Qt::RightButton);
    QTest::mousePress(marker(3), Qt::RightButton);
    QVERIFY(marker(3)->isHidden());
    QCOMPARE(m_changes->count(), 6);

    QTest::mousePress(swatch(0), Qt::RightButton);
    m_dialog->close();
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("v0")), QStringLiteral("True"));
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("v3")), QStringLiteral("False"));
    // Hidden with the dialog, the markers still count.
    QCOMPARE(model().noColour[0], true);
}

void Form3Test::pickedFontReachesTheModelTypedFontOnlyTheStore()
{
    const QString other = otherInstalledFamily(kMicroHei);
    if (!QFontDatabase::hasFamily(kMicroHei) || other.isEmpty())
        QSKIP("needs two installed Chinese families");
    Appearance stored;
    stored.fontName = kMicroHei;
    loadStored(stored);
    m_dialog->showCentred();

    pick(combo(1), combo(1)->findText(other));
    QCOMPARE(model().fontName, other);
    QCOMPARE(m_changes->count(), 1);
    QVERIFY(m_errors.isEmpty());

    // Typed and confirmed with Enter, but not picked from the list, though it names an item.
    const QString typed = kMicroHei.toLower();
    QLineEdit* edit = combo(1)->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(combo(1)->currentText(), typed);
    QCOMPARE(combo(1)->findText(typed), -1);
    QCOMPARE(model().fontName, other);
    QCOMPARE(m_changes->count(), 1);

    m_dialog->close();
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("font")), typed);
    QCOMPARE(model().fontName, other);
}

void Form3Test::missingFontIsReportedAndChangesNothing()
{
    loadStored(Appearance());
    combo(1)->addItem(QStringLiteral("Quorvel Missing Face"));
    m_dialog->showCentred();

    pick(combo(1), combo(1)->count() - 1);
    QCOMPARE(m_errors, QStringList{QStringLiteral("错误|此字体在系统中未找到")});
    QCOMPARE(model().fontName, QStringLiteral("宋体"));
    QCOMPARE(m_changes->count(), 0);
    // The name stays in the box and is what gets saved.
    m_dialog->close();
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("font")),
             QStringLiteral("Quorvel Missing Face"));
}

void Form3Test::closingHandsOverOpacityHidesAndSavesEverythingInOrder()
{
    loadStored(Appearance());
    m_dialog->showCentred();
    QVERIFY(m_dialog->isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // The frame is not known before the first showing, so the client area is what is centred.
    QVERIFY((m_dialog->geometry().center() - screen.center()).manhattanLength() <= 4);

    QTest::mouseClick(slider(), Qt::LeftButton, {}, QPoint(30, 8)); // a page towards transparent
    QCOMPARE(slider()->value(), 255 - 16);
    slider()->setValue(51);
    QCOMPARE(model().opacity, 255);
    QTest::mousePress(swatch(2), Qt::RightButton);
    pick(combo(2), 7);
    QVERIFY(m_store.writes.isEmpty());

    // The opacity reaches the model before the dialog hides and saves.
    bool late = true;
    connect(m_model.get(), &AppearanceModel::changed, this,
            [&] { late = m_dialog->isHidden() || !m_store.writes.isEmpty(); });
    const int savesBefore = m_store.saves;
    m_dialog->close();
    QVERIFY(m_dialog->isHidden());
    QVERIFY(!late);
    QCOMPARE(model().opacity, 51);
    const QStringList order{"set/c0", "set/c1", "set/c2", "set/c3",   "set/tr", "set/v0",
                            "set/v1", "set/v2", "set/v3", "set/font", "set/sh"};
    QCOMPARE(m_store.writes, order);
    QCOMPARE(m_store.saves, savesBefore + 1); // all in one write of the file
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("tr")), QStringLiteral("51"));
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("sh")), QStringLiteral("7"));
    QCOMPARE(m_store.value(QStringLiteral("set"), QStringLiteral("c1")), QStringLiteral("0"));
    QVERIFY(Appearance::load(m_store) == model());
    QCOMPARE(model().noColour, (std::array<bool, 4>{false, false, true, false}));

    // Opened again, it shows what was left; Escape closes it like the close box.
    m_dialog->showCentred();
    QCOMPARE(slider()->value(), 51);
    QVERIFY(marker(2)->isVisible());
    QTest::keyClick(m_dialog.get(), Qt::Key_Escape);
    QVERIFY(m_dialog->isHidden());
    QCOMPARE(m_store.writes.size(), 2 * order.size());
}

void Form3Test::everyEditReachesTheModelAtOnce_data()
{
    QTest::addColumn<int>("change");
    QTest::newRow("colour") << 0;
    QTest::newRow("marker on") << 1;
    QTest::newRow("marker off") << 2;
    QTest::newRow("shadow size") << 3;
    QTest::newRow("shadow size 0") << 4;
    QTest::newRow("font") << 5;
}

void Form3Test::everyEditReachesTheModelAtOnce()
{
    QFETCH(int, change);
    Appearance stored;
    stored.noColour[3] = true;
    stored.fontName = kMicroHei;
    loadStored(stored);
    m_dialog->showCentred();

    Appearance expected = stored;
    m_chooserAnswer = QColor(10, 200, 30);
    switch (change) {
    case 0:
        QTest::mousePress(swatch(1), Qt::LeftButton);
        expected.colours[1] = colourValue(10, 200, 30);
        break;
    case 1:
        QTest::mousePress(swatch(0), Qt::RightButton);
        expected.noColour[0] = true;
        break;
    case 2:
        QTest::mousePress(marker(3), Qt::LeftButton);
        expected.noColour[3] = false;
        break;
    case 3:
    case 4:
        expected.shadowSize = change == 3 ? 8 : 0;
        pick(combo(2), expected.shadowSize);
        break;
    case 5: {
        expected.fontName = otherInstalledFamily(kMicroHei);
        if (expected.fontName.isEmpty())
            QSKIP("needs two installed Chinese families");
        pick(combo(1), combo(1)->findText(expected.fontName));
        break;
    }
    }
    QCOMPARE(m_changes->count(), 1);
    QVERIFY(model() == expected);
    QVERIFY(m_store.writes.isEmpty());
    m_dialog->close();
    QVERIFY(Appearance::load(m_store) == expected);
}

QTEST_MAIN(Form3Test)
#include "tst_form3.moc"

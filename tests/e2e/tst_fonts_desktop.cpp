#include "ProgramSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QTest>
#include <QTime>

using namespace XDesktop;

namespace {

constexpr int kRows = 10;
constexpr int kRowHeight = 12;
// Client-area points of the main window: the list's first row, and the strip of text in each row
// that the row bars cover too.
const QPoint kFirstRow(12, 10);
constexpr int kRowTextWidth = 312;

const QString kWqy = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc");
const QString kNotoSans = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");
const QString kUming = QStringLiteral("/usr/share/fonts/truetype/arphic/uming.ttc");
const QString kDejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

// Lets the program see only the given font files, so "宋体" can only become one of them.
void offerOnlyFonts(ProgramSession& session, const QStringList& files)
{
    const QString dir = session.path(QStringLiteral("fonts"));
    QDir().mkpath(dir);
    for (const QString& file : files)
        QFile::link(file, dir + QLatin1Char('/') + QFileInfo(file).fileName());
    const QString config = session.path(QStringLiteral("fonts.conf"));
    QFile conf(config);
    conf.open(QIODevice::WriteOnly);
    conf.write(QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
                              "<fontconfig><dir>%1</dir><cachedir>%2</cachedir></fontconfig>\n")
                   .arg(dir, session.path(QStringLiteral("fontcache")))
                   .toUtf8());
    session.setEnvironment(QStringLiteral("FONTCONFIG_FILE"), config);
}

void seedRingingAlarm(ProgramSession& session)
{
    session.seed(QStringLiteral("elect"), QStringLiteral("0"), QStringLiteral("1"));
    session.seed(QStringLiteral("time"), QStringLiteral("0"),
                 QTime::currentTime().toString(QStringLiteral("HH:mm")));
}

bool isInk(QRgb pixel, QRgb background)
{
    return qAbs(qRed(pixel) - qRed(background)) + qAbs(qGreen(pixel) - qGreen(background)) +
               qAbs(qBlue(pixel) - qBlue(background)) >
           90;
}

// Which of a row's pixel lines hold ink, top first ('#' ink, '.' none), against the row's
// commonest colour.
QString inkLines(const QImage& shot, const QRect& row)
{
    QHash<QRgb, int> counts;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right(); ++x)
            ++counts[shot.pixel(x, y)];
    QRgb background = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > counts.value(background))
            background = it.key();
    QString lines;
    for (int y = row.top(); y <= row.bottom(); ++y) {
        bool ink = false;
        for (int x = row.left(); x <= row.right() && !ink; ++x)
            ink = isInk(shot.pixel(x, y), background);
        lines += ink ? QLatin1Char('#') : QLatin1Char('.');
    }
    return lines;
}

bool barShown(const QImage& shot, const QRect& row)
{
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left(); x <= row.right(); ++x)
            // The bar's magenta text, antialiased against white.
            if (qGreen(shot.pixel(x, y)) < 140 && qRed(shot.pixel(x, y)) > 220 &&
                qBlue(shot.pixel(x, y)) > 220)
                return true;
    return false;
}

// Text drawn at a readable size and clear of the row's last line, so nothing ran past the row.
bool unclipped(const QString& lines)
{
    return lines.count(QLatin1Char('#')) >= 8 && lines.endsWith(QLatin1Char('.'));
}

void key(const QString& name)
{
    QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), name});
}

// A pixel well inside a stroke of the strip's letters once they have come to rest: two shots in a
// row differ from the empty screen in the same box.
QPoint restingLetterPixel(const QImage& empty, const QRect& area)
{
    QRect previous;
    for (int shots = 0; shots < 80; ++shots) {
        const QImage shot = screenshot();
        const auto letter = [&](int x, int y) {
            return area.contains(x, y) && shot.pixel(x, y) != empty.pixel(x, y);
        };
        QRect box;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (letter(x, y))
                    box |= QRect(x, y, 1, 1);
        if (!box.isEmpty() && box == previous) {
            for (int y = box.top(); y <= box.bottom(); ++y) {
                for (int x = box.left(); x <= box.right(); ++x) {
                    bool inner = true;
                    for (int dy = -2; dy <= 2 && inner; ++dy)
                        for (int dx = -2; dx <= 2 && inner; ++dx)
                            inner = letter(x + dx, y + dy);
                    if (inner)
                        return QPoint(x, y);
                }
            }
        }
        previous = box;
    }
    return QPoint(-1, -1);
}

// Opens the appearance dialog with a right-click on the strip's letters, as a user does.
std::optional<Window> openAppearanceDialog(const QImage& empty)
{
    for (int tries = 0; tries < 5 && otherWindows().isEmpty(); ++tries) {
        // The strip's window moves with the letters: search its whole band.
        const QPoint letter = restingLetterPixel(empty, QRect(0, strip()->geometry.top(), empty.width(), 80));
        if (letter.x() < 0)
            return std::nullopt;
        click(letter, 3);
        if (QTest::qWaitFor([] { return !otherWindows().isEmpty(); }, 2000))
            break;
    }
    return otherWindow();
}

} // namespace

// Chinese font names and list rows under the faces a Linux desktop may have.
class TestFontsDesktop : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void rowsAreNeverClipped_data();
    void rowsAreNeverClipped();
    void chineseNamesAreFound_data();
    void chineseNamesAreFound();
};

void TestFontsDesktop::initTestCase()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs the test desktop (make test runs one)");
}

void TestFontsDesktop::rowsAreNeverClipped_data()
{
    QTest::addColumn<QString>("face");
    QTest::newRow("WenQuanYi Micro Hei") << kWqy;
    QTest::newRow("Noto Sans CJK SC") << kNotoSans;
    QTest::newRow("AR PL UMing CN") << kUming;
}

void TestFontsDesktop::rowsAreNeverClipped()
{
    QFETCH(QString, face);
    if (!QFileInfo::exists(face))
        QSKIP("font not installed");
    QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().second() < 50, 15000);
    ProgramSession session;
    offerOnlyFonts(session, {face});
    session.setEnvironment(QStringLiteral("LANG"), QStringLiteral("zh_CN.UTF-8"));
    seedRingingAlarm(session);
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(mainShown(), 5000);
    // A click on the last row keeps the window up.
    const QPoint client = mainWindow()->geometry.topLeft();
    click(client + kFirstRow + QPoint(40, (kRows - 1) * kRowHeight + 6));

    // Row 0 rings: its bar blinks over it. Look at the rows both with and without it.
    bool sawBar = false;
    bool sawRow = false;
    for (int shots = 0; shots < 40 && !(sawBar && sawRow); ++shots) {
        QVERIFY(mainShown());
        const QImage shot = screenshot();
        for (int i = 0; i < kRows; ++i) {
            const QRect row(client + kFirstRow + QPoint(0, i * kRowHeight), QSize(kRowTextWidth, kRowHeight));
            const bool bar = barShown(shot, row);
            sawBar |= bar;
            sawRow |= i == 0 && !bar;
            const QString lines = inkLines(shot, row);
            QVERIFY2(unclipped(lines),
                     qPrintable(QStringLiteral("%1 %2: %3")
                                    .arg(bar ? QStringLiteral("bar") : QStringLiteral("row"))
                                    .arg(i)
                                    .arg(lines)));
        }
    }
    QVERIFY(sawBar && sawRow);
}

void TestFontsDesktop::chineseNamesAreFound_data()
{
    QTest::addColumn<QStringList>("fonts");
    QTest::addColumn<int>("item");
    QTest::addColumn<bool>("found");
    // "黑体", the second name, with the fonts this machine has.
    QTest::newRow("installed faces") << QStringList() << 1 << true;
    // "宋体", the first, where no face writes Chinese.
    QTest::newRow("no Chinese face") << QStringList{kDejaVu} << 0 << false;
}

void TestFontsDesktop::chineseNamesAreFound()
{
    QFETCH(QStringList, fonts);
    QFETCH(int, item);
    QFETCH(bool, found);
    for (const QString& font : fonts)
        if (!QFileInfo::exists(font))
            QSKIP("font not installed");
    QTRY_VERIFY_WITH_TIMEOUT(QTime::currentTime().second() < 45, 20000);
    ProgramSession session;
    if (!fonts.isEmpty())
        offerOnlyFonts(session, fonts);
    seedRingingAlarm(session);
    const QImage empty = screenshot();
    QVERIFY(session.start());
    QTRY_VERIFY_WITH_TIMEOUT(strip() && strip()->viewable, 5000);
    // Hidden into the tray after 3 s, the main window no longer covers part of the strip.
    QTRY_VERIFY_WITH_TIMEOUT(!mainShown(), 6000);
    const auto dialog = openAppearanceDialog(empty);
    QVERIFY(dialog);

    // Pick the name from the font list's drop-down.
    click(dialog->geometry.topLeft() + QPoint(145, 18));
    for (int i = 0; i < item; ++i)
        key(QStringLiteral("Down"));
    key(QStringLiteral("Return"));
    if (!found) {
        QTRY_COMPARE_WITH_TIMEOUT(otherWindows().size(), 2, 3000); // "此字体在系统中未找到"
        return;
    }
    // No error box in the way: Escape closes the dialog, which saves the name.
    key(QStringLiteral("Escape"));
    QTRY_COMPARE_WITH_TIMEOUT(session.setting(QStringLiteral("set"), QStringLiteral("font")),
                              QStringLiteral("黑体"), 3000);
    QVERIFY(otherWindows().isEmpty());
}

QTEST_GUILESS_MAIN(TestFontsDesktop)
#include "tst_fonts_desktop.moc"

#include "RandomText.h"
#include "overlay/CaptionQueue.h"
#include "overlay/CaptionStep.h"
#include "schedule/AlarmTable.h"
#include "schedule/TimeText.h"
#include "settings/QSettingsStore.h"
#include "settings/SettingsValues.h"
#include "support/TestDirs.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

namespace {

#define VERIFY_TEXT(condition, text)                                                                         \
    QVERIFY2(condition, qPrintable(QStringLiteral("seed %1, %2").arg(m_seed).arg(RandomText::describe(text))))

const QStringList kSections = {QStringLiteral("slogan"), QStringLiteral("music"), QStringLiteral("ml"),
                               QStringLiteral("time"), QStringLiteral("yy")};

} // namespace

// Random texts through everything that stores, queues, steps through or shows a user's text.
class TestRandomText : public QObject
{
    Q_OBJECT

    const quint32 m_seed = RandomText::seed();

private slots:
    void initTestCase() { qInfo("seed %u (set QUORVEL_SEED to replay)", m_seed); }
    void storeRoundTrips();
    void captionQueueKeepsItsShape();
    void captionStepOnlyPicksQueuedTexts();
    void listLinesAndTimes();
};

void TestRandomText::storeRoundTrips()
{
    TestDirs dirs;
    RandomText random(m_seed);
    QHash<QString, QString> expected; // "section/key" -> text
    {
        QSettingsStore store;
        // Texts that once came back changed: Qt takes a leading U+FEFF for a byte order mark.
        const QStringList fixed = {QStringLiteral("\uFEFF起床"), QStringLiteral("\t\uFEFF"),
                                   QStringLiteral("\"\uFEFF, x"), QStringLiteral("@ByteArray(abc)")};
        for (int i = 0; i < 150 + fixed.size(); ++i) {
            const QString text = i < fixed.size() ? fixed.at(i) : random.next();
            // Long lines share one key, so the file the store rewrites on every save stays small.
            const QString key = text.size() > 1000 ? QStringLiteral("9") : QString::number(random.bounded(9));
            const QString section = kSections.at(random.bounded(int(kSections.size())));
            store.SaveSetting(kAppName, section, key, text);
            VERIFY_TEXT(store.GetSetting(kAppName, section, key, QStringLiteral("<default>")) == text, text);
            expected.insert(section + QLatin1Char('/') + key, text);
        }
        const QString longest = random.ofLength(100000);
        store.SaveSetting(kAppName, QStringLiteral("slogan"), QStringLiteral("9"), longest);
        expected.insert(QStringLiteral("slogan/9"), longest);
    }

    const auto checkAll = [&](const QSettingsStore& store) {
        QVERIFY(store.recoveryMessage(kAppName).isEmpty());
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            const QString section = it.key().section(QLatin1Char('/'), 0, 0);
            const QString key = it.key().section(QLatin1Char('/'), 1);
            VERIFY_TEXT(store.GetSetting(kAppName, section, key, QStringLiteral("<default>")) == it.value(),
                        it.value());
        }
    };
    checkAll(QSettingsStore());
    if (QTest::currentTestFailed())
        return;

    // A later process: the same bytes under a folder this one has never read, so they are parsed afresh
    // and checked for damage as at a start.
    TestDirs later;
    QVERIFY(QDir().mkpath(later.configHome() + QStringLiteral("/Horalis")));
    QVERIFY(QFile::copy(dirs.settingsFile(), later.settingsFile()));
    checkAll(QSettingsStore());
}

void TestRandomText::captionQueueKeepsItsShape()
{
    RandomText random(m_seed + 1);
    // A small pool, so that texts come back, queued or not.
    QStringList pool;
    for (int i = 0; i < 40; ++i)
        pool.append(random.bounded(4) == 0 ? random.ofLength(random.bounded(200), true) : random.next(true));
    pool.append({QString(), QStringLiteral("/"), QStringLiteral("a/b"), QStringLiteral("b")});

    // Each text is one slot's, so a slot's entry leaves with its text.
    const auto slotOf = [&pool](const QString& text) { return int(pool.indexOf(text)); };
    CaptionQueue queue;
    for (int step = 0; step < 4000; ++step) {
        const QString text = pool.at(random.bounded(int(pool.size())));
        QStringList expected = queue.texts();
        if (random.bounded(3) != 0) {
            const bool wasQueued = queue.contains(text);
            VERIFY_TEXT(queue.append(slotOf(text), text) == !wasQueued, text);
            if (!wasQueued)
                expected.append(text);
        } else {
            queue.remove(slotOf(text));
            expected.removeOne(text);
        }
        VERIFY_TEXT(queue.texts() == expected, text);
        QCOMPARE(queue.isEmpty(), queue.texts().isEmpty());
    }
}

void TestRandomText::captionStepOnlyPicksQueuedTexts()
{
    RandomText random(m_seed + 2);
    const QStringList marks = {QString(), QStringLiteral("c"), QStringLiteral("x")};
    for (int round = 0; round < 300; ++round) {
        CaptionQueue queue;
        QStringList queued;
        for (int i = random.bounded(6); i > 0; --i) {
            const QString text = random.next(true);
            if (queue.append(i, text))
                queued.append(text);
        }
        QString current = random.bounded(2) == 0 && !queued.isEmpty()
                              ? queued.at(random.bounded(int(queued.size())))
                              : random.next(true);
        // Walk the strip through several cycles as the overlay does.
        for (int cycle = 0; cycle < 12; ++cycle) {
            const QString mark = marks.at(random.bounded(int(marks.size())));
            const CaptionStep step = CaptionStep::next(current, queue.texts(), mark);
            if (queue.isEmpty()) {
                QVERIFY(step.action == CaptionStep::Action::GoIdle);
                break;
            }
            QVERIFY(step.action != CaptionStep::Action::GoIdle);
            if (step.action == CaptionStep::Action::RenderText) {
                VERIFY_TEXT(queue.contains(step.text), step.text);
                VERIFY_TEXT(step.text != current || mark == QStringLiteral("c"), step.text);
                current = step.text;
            } else {
                QVERIFY(mark != QStringLiteral("c"));
                VERIFY_TEXT(queue.contains(current), current);
            }
        }
    }
}

void TestRandomText::listLinesAndTimes()
{
    RandomText random(m_seed + 3);
    for (int i = 0; i < 2000; ++i) {
        const QString text = random.next(true);
        const QString time = TimeText::normalised(text);
        VERIFY_TEXT(time.size() == 5 && time.contains(QLatin1Char(':')), text);
        VERIFY_TEXT(TimeText::normalised(time) == time, text);
        for (const auto spinner : {TimeText::Spinner::Hours, TimeText::Spinner::Minutes}) {
            const TimeText::SpinnerReading reading = TimeText::readSpinner(time, spinner);
            if (reading.inRange) {
                const QString moved =
                    TimeText::rewritten(time, spinner, TimeText::wrapped(spinner, reading.value));
                VERIFY_TEXT(moved.size() == 5, text);
            }
        }

        const bool on = random.bounded(2) == 0;
        const QString line = BuildListLine(on, time, text);
        VERIFY_TEXT(line.startsWith(on ? QStringLiteral("[开 ") : QStringLiteral("[关 ")), text);
        VERIFY_TEXT(line.endsWith(QStringLiteral("] ") + text), text);
    }
}

QTEST_GUILESS_MAIN(TestRandomText)
#include "tst_randomtext.moc"

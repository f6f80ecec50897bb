#include "platform/RestingMemory.h"

#include <QFile>
#include <QFontMetrics>
#include <QHash>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>
#include <QVBoxLayout>
#include <stdexcept>

// The release gives back only pages that files hold: the pages a process made its own (relocated
// pointers, even in read-only mappings) stay, and the libraries' code and constants run as before.
class TestRestingMemory : public QObject
{
    Q_OBJECT

private:
    struct Mapping
    {
        QByteArray path;
        bool writable = false;
        qint64 rssKiB = 0;
        qint64 anonymousKiB = 0;
    };

    // The process's mappings by start address.
    static QHash<QByteArray, Mapping> mappings()
    {
        QHash<QByteArray, Mapping> result;
        QFile smaps(QStringLiteral("/proc/self/smaps"));
        if (!smaps.open(QIODevice::ReadOnly))
            return result;
        Mapping* current = nullptr;
        for (const QByteArray& line : smaps.readAll().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() >= 5 && fields[0].contains('-') && fields[1].size() == 4) {
                current = &result[fields[0].split('-').first()];
                current->writable = fields[1][1] == 'w';
                current->path = fields.size() > 5 ? fields[5] : QByteArray();
            } else if (current && fields[0] == "Rss:") {
                current->rssKiB = fields.value(1).toLongLong();
            } else if (current && fields[0] == "Anonymous:") {
                current->anonymousKiB = fields.value(1).toLongLong();
            }
        }
        return result;
    }

    static qint64 residentKiB(const QHash<QByteArray, Mapping>& all, const char* library)
    {
        qint64 sum = 0;
        for (const Mapping& mapping : all) {
            if (mapping.path.contains(library))
                sum += mapping.rssKiB;
        }
        return sum;
    }

    // Widgets, text and list code of Qt at work, as the main window uses them.
    static QImage drawWindow()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(new QLabel(QStringLiteral("闹钟 Quorvel")));
        auto* list = new QListWidget;
        list->addItems({QStringLiteral("[开 08:25] [上课了]"), QStringLiteral("[关 12:00] Harry Up!")});
        layout->addWidget(list);
        window.resize(200, 120);
        return window.grab().toImage();
    }

    static QString workOfOtherLibraries()
    {
        QString text = QLocale(QLocale::Chinese, QLocale::China).toString(1234567.5, 'f', 1);
        text +=
            QRegularExpression(QStringLiteral("(\\d+):(\\d+)")).match(QStringLiteral("at 08:25")).captured(2);
        text += QString::number(QFontMetrics(QFont(QStringLiteral("宋体"), 48)).horizontalAdvance("上课了"));
        try {
            throw std::runtime_error("unwound");
        } catch (const std::exception& error) {
            text += QString::fromLatin1(error.what());
        }
        return text + QString::fromLatin1(QLabel::staticMetaObject.className());
    }

private slots:
    void dropsCodePagesAndKeepsEveryPageOfItsOwn()
    {
        const QImage drawn = drawWindow();
        const QString worked = workOfOtherLibraries();
        const QHash<QByteArray, Mapping> before = mappings();

        RestingMemory::release();

        const QHash<QByteArray, Mapping> after = mappings();
        QVERIFY2(residentKiB(after, "libQt6Widgets") < residentKiB(before, "libQt6Widgets") / 2,
                 qPrintable(QStringLiteral("%1 KiB of Qt Widgets before, %2 after")
                                .arg(residentKiB(before, "libQt6Widgets"))
                                .arg(residentKiB(after, "libQt6Widgets"))));
        for (auto mapping = before.cbegin(); mapping != before.cend(); ++mapping) {
            if (!mapping->writable && mapping->anonymousKiB > 0)
                QVERIFY2(after.value(mapping.key()).anonymousKiB == mapping->anonymousKiB,
                         mapping->path.isEmpty() ? mapping.key().constData() : mapping->path.constData());
        }

        QCOMPARE(drawWindow(), drawn);
        QCOMPARE(workOfOtherLibraries(), worked);
    }
};

QTEST_MAIN(TestRestingMemory)
#include "tst_restingmemory.moc"

#include "RandomText.h"

#include <QStringList>

QString RandomText::next(bool withLoneSurrogates)
{
    // One text in twenty is a long line, up to 100 000 code units.
    if (bounded(20) == 0)
        return ofLength(1000 + bounded(99001), withLoneSurrogates);
    QString text;
    const int pieces = bounded(40);
    for (int i = 0; i < pieces; ++i)
        appendPiece(text, withLoneSurrogates);
    return text;
}

QString RandomText::ofLength(int length, bool withLoneSurrogates)
{
    QString text;
    text.reserve(length + 8);
    while (text.size() < length)
        appendPiece(text, withLoneSurrogates);
    text.truncate(length);
    // Cutting may have split a pair; a text meant to be stored must stay whole.
    if (!withLoneSurrogates && !text.isEmpty() && text.back().isHighSurrogate())
        text.back() = QLatin1Char('x');
    return text;
}

void RandomText::appendPiece(QString& text, bool withLoneSurrogates)
{
    static const QStringList specials = {
        QStringLiteral("/"),         QStringLiteral("//"),          QStringLiteral("["),
        QStringLiteral("]"),         QStringLiteral("——"),          QStringLiteral("\\"),
        QStringLiteral("\""),        QStringLiteral("'"),           QStringLiteral("="),
        QStringLiteral(";"),         QStringLiteral(","),           QStringLiteral("#"),
        QStringLiteral("@"),         QStringLiteral("%"),           QStringLiteral(" "),
        QStringLiteral("\r\n"),      QStringLiteral(":"),           QStringLiteral("年"),
        QStringLiteral("运行："),    QStringLiteral("\uFEFF"),      QStringLiteral("\uFFFD"),
        QStringLiteral("@Variant("), QStringLiteral("[开 12:00] "),
    };
    switch (bounded(withLoneSurrogates ? 7 : 6)) {
    case 0:
        text += specials.at(bounded(int(specials.size())));
        break;
    case 1: // control characters, NUL and DEL included
        text += QChar(bounded(5) == 0 ? 0x7f : bounded(0x20));
        break;
    case 2: // a surrogate pair
    {
        const char32_t point = char32_t(0x10000 + bounded(0x100000));
        text += QString::fromUcs4(&point, 1);
        break;
    }
    case 3: // Chinese
        text += QChar(0x4e00 + bounded(0x5200));
        break;
    case 4: // anything else in the basic plane that is not a surrogate
    {
        ushort unit = ushort(bounded(0x10000));
        if (QChar::isSurrogate(unit))
            unit = 0x2014;
        text += QChar(unit);
        break;
    }
    case 5: // plain ASCII
        for (int i = bounded(12); i >= 0; --i)
            text += QChar(0x20 + bounded(0x5f));
        break;
    default:
        text += QChar(0xd800 + bounded(0x800));
        break;
    }
}

quint32 RandomText::seed()
{
    bool ok = false;
    const quint32 fromEnvironment = qEnvironmentVariable("QUORVEL_SEED").toUInt(&ok);
    return ok ? fromEnvironment : 20261207u;
}

QString RandomText::describe(const QString& text)
{
    QString out = QStringLiteral("%1 units:").arg(text.size());
    for (int i = 0; i < qMin<qsizetype>(text.size(), 40); ++i)
        out += QStringLiteral(" %1").arg(text.at(i).unicode(), 4, 16, QLatin1Char('0'));
    return out;
}

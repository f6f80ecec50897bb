#include "engine/CaptionQueue.h"

bool CaptionQueue::contains(const QString& caption) const
{
    return m_text.contains(framed(caption));
}

bool CaptionQueue::append(const QString& caption)
{
    if (contains(caption))
        return false;
    m_text += caption + QLatin1Char('/');
    return true;
}

void CaptionQueue::remove(const QString& caption)
{
    const qsizetype start = m_text.indexOf(framed(caption));
    if (start < 0)
        return;
    // Cut at the first "/" after the leading one: a text holding "/" loses only its first piece.
    const qsizetype end = m_text.indexOf(QLatin1Char('/'), start + 1);
    m_text = m_text.left(start + 1) + m_text.mid(end + 1);
}

QString CaptionQueue::framed(const QString& caption)
{
    return QLatin1Char('/') + caption + QLatin1Char('/');
}

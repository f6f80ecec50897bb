#pragma once

#include <QStringList>

// The queue of fired texts the strip shows in turn, in the order they first fired. Each text is
// kept whole, whatever characters it holds, and occurs at most once.
class CaptionQueue
{
public:
    const QStringList& texts() const { return m_texts; }
    bool isEmpty() const { return m_texts.isEmpty(); }
    // Exact, case-sensitive comparison with the queued texts.
    bool contains(const QString& caption) const { return m_texts.contains(caption); }
    // Appends the text unless it is queued already; true when it was appended.
    bool append(const QString& caption);
    // Takes the text out; a text that is not queued leaves the queue as it is.
    void remove(const QString& caption) { m_texts.removeOne(caption); }

private:
    QStringList m_texts;
};

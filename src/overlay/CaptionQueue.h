#pragma once

#include <QList>
#include <QStringList>

// The texts the strip shows in turn: one entry per ringing slot, holding the text that slot fired
// with, in the order the slots fired. Each text is kept whole, whatever characters it holds.
class CaptionQueue
{
public:
    // The texts to show, in order; a text queued by several slots shows once.
    QStringList texts() const;
    bool isEmpty() const { return m_entries.isEmpty(); }
    // Exact, case-sensitive comparison with the queued texts.
    bool contains(const QString& caption) const;
    // Queues the slot with the text it fires with; a slot already queued takes the new text in its
    // place. True when the text was not queued before, so it has yet to be rendered.
    bool append(int slot, const QString& caption);
    // Takes the slot's entry out; a slot that is not queued leaves the queue as it is.
    void remove(int slot);

private:
    struct Entry
    {
        int slot;
        QString text;
    };
    QList<Entry> m_entries;
};

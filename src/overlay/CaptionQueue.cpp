#include "overlay/CaptionQueue.h"

#include <algorithm>

QStringList CaptionQueue::texts() const
{
    QStringList result;
    for (const Entry& entry : m_entries) {
        if (!result.contains(entry.text))
            result.append(entry.text);
    }
    return result;
}

bool CaptionQueue::contains(const QString& caption) const
{
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [&caption](const Entry& entry) { return entry.text == caption; });
}

bool CaptionQueue::append(int slot, const QString& caption)
{
    const bool known = contains(caption);
    const auto queued = std::find_if(m_entries.begin(), m_entries.end(),
                                     [slot](const Entry& entry) { return entry.slot == slot; });
    if (queued != m_entries.end())
        queued->text = caption;
    else
        m_entries.append({slot, caption});
    return !known;
}

void CaptionQueue::remove(int slot)
{
    m_entries.removeIf([slot](const Entry& entry) { return entry.slot == slot; });
}

#include "overlay/CaptionQueue.h"

bool CaptionQueue::append(const QString& caption)
{
    if (contains(caption))
        return false;
    m_texts.append(caption);
    return true;
}

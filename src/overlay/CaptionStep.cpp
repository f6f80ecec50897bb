#include "overlay/CaptionStep.h"

CaptionStep CaptionStep::next(const QString& current, const QStringList& queue, const QString& renderMark)
{
    CaptionStep step;
    if (queue.isEmpty())
        return step;

    // The text after the current one; the first when the current one is last or no longer queued
    // (indexOf gives -1 then, so the next index is 0).
    qsizetype nextIndex = queue.indexOf(current) + 1;
    if (nextIndex == queue.size())
        nextIndex = 0;

    const QString& nextText = queue.at(nextIndex);
    if (nextText != current || renderMark == QLatin1String("c")) {
        step.action = Action::RenderText;
        step.text = nextText;
    } else {
        step.action = Action::KeepLetters;
    }
    return step;
}

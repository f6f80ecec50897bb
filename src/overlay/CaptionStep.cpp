#include "overlay/CaptionStep.h"

CaptionStep CaptionStep::next(const QString& current, const QString& queue, const QString& renderMark)
{
    const QChar slash = QLatin1Char('/');
    CaptionStep step;

    // Indexes are 0-based here. Search from the "/" that ends the current caption, or from the
    // queue's first "/" when the current caption is not queued (any more).
    const qsizetype framed = queue.indexOf(slash + current + slash);
    qsizetype begin = queue.indexOf(slash, framed < 0 ? 0 : framed + 1);
    if (begin < 0)
        return step;
    if (begin == queue.size() - 1)
        begin = 0; // past the last text: start again with the first
    const qsizetype end = queue.indexOf(slash, begin + 1);
    if (end < 0)
        return step;

    const QString nextText = queue.mid(begin + 1, end - begin - 1);
    if (nextText != current || renderMark == QLatin1String("c")) {
        step.action = Action::RenderText;
        step.text = nextText;
    } else {
        step.action = Action::KeepLetters;
    }
    return step;
}

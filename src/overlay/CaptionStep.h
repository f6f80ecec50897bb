#pragma once

#include <QStringList>

// What the strip does with its letters at the end of a slide-out: show the queued text after
// the current one (wrapping to the first), keep the letters it has, or fall idle when nothing is
// queued.
class CaptionStep
{
public:
    enum class Action
    {
        RenderText,
        KeepLetters,
        GoIdle
    };

    // current: the caption last rendered; queue: the queued texts in order; renderMark "c" forces
    // a fresh rendering even when the next text is the current one.
    static CaptionStep next(const QString& current, const QStringList& queue, const QString& renderMark);

    Action action = Action::GoIdle;
    QString text; // the text to render, for RenderText
};

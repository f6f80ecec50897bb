#pragma once

#include <QString>

// The queue of fired texts the strip shows in turn: "/" when empty, else "/" and each text
// followed by its own "/". "/" inside a text is not escaped, so such a text reads as several.
class CaptionQueue
{
public:
    const QString& text() const { return m_text; }
    bool isEmpty() const { return m_text.size() == 1; }
    // "/" + text + "/" occurs in the queue.
    bool contains(const QString& caption) const;
    // Appends the text and its "/" unless it is queued already; true when it was appended.
    bool append(const QString& caption);
    // Removes the first occurrence of the text up to the next "/" after its leading one.
    void remove(const QString& caption);

private:
    static QString framed(const QString& caption);
    QString m_text = QStringLiteral("/");
};

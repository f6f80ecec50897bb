#pragma once

#include <QRandomGenerator>
#include <QString>

// Seeded random texts of the awkward kind: slashes, brackets, "——", quotes and escapes, control
// characters, Chinese, characters outside the basic plane, and now and then a very long line.
class RandomText
{
public:
    explicit RandomText(quint32 seed) : m_random(seed) {}

    // withLoneSurrogates adds halves of surrogate pairs on their own, which no file can hold.
    QString next(bool withLoneSurrogates = false);
    // A text of exactly `length` UTF-16 code units.
    QString ofLength(int length, bool withLoneSurrogates = false);
    int bounded(int limit) { return int(m_random.bounded(limit)); }

    // The seed a run uses: QUORVEL_SEED when set, so a failure can be replayed.
    static quint32 seed();
    // The text's start as code points, for failure messages.
    static QString describe(const QString& text);

private:
    void appendPiece(QString& text, bool withLoneSurrogates);
    QRandomGenerator m_random;
};

#pragma once

#include <QObject>
#include <QString>

// The alarm's sound: one file at a time, looped.
class SoundPlayer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    // The text last given to setURL, or "" after close.
    virtual QString URL() const = 0;
    // Starts playing the file at once, up to 255 plays in a row.
    virtual void setURL(const QString& fileName) = 0;
    // Stops and releases the file.
    virtual void close() = 0;

signals:
    // Why the chosen file is not heard and what plays instead.
    void playbackProblem(const QString& message);
};

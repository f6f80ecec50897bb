#pragma once

#include <QObject>
#include <QString>

// Something for a screen reader to say, whether or not any window is on screen. It is an object
// only assistive technologies see, in the alert role, shown anew with each text as its name:
// a screen reader speaks an alert when it is shown, and Qt has no announcement of its own.
class AccessibleAlert : public QObject
{
    Q_OBJECT
public:
    explicit AccessibleAlert(QObject* parent = nullptr);

    void say(const QString& text);
    QString text() const { return m_text; }

private:
    QString m_text;
};

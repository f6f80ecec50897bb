#pragma once

#include <QObject>

class AccessibleAlert;
class AlarmEngine;
class QListWidget;

// Tells a screen reader what rings: an alert with the alarm's time and text when it starts and when
// it is dismissed, and the row's description, "正在响铃" while it rings and "已停止" after.
class RingingAnnouncer : public QObject
{
    Q_OBJECT
public:
    RingingAnnouncer(AlarmEngine& engine, QListWidget& list, QObject* parent = nullptr);

    // What the alert said last.
    QString lastAlert() const;

private:
    void announce(int slot, const QString& what, const QString& rowState);

    AlarmEngine& m_engine;
    QListWidget& m_list;
    AccessibleAlert* m_alert = nullptr;
};

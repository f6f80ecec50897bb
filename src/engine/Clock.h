#pragma once

#include <QDateTime>

// The current local date and time. The alarm check and the date cues take "now" from here.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

// A clock that stands still until told otherwise; tests and benchmarks move it by hand.
class ManualClock : public Clock
{
public:
    explicit ManualClock(const QDateTime& start = QDateTime(QDate(2026, 12, 7), QTime(8, 0))) : m_now(start)
    {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime& now) { m_now = now; }
    void advanceSeconds(qint64 seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};

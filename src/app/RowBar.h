#pragma once

#include <QWidget>

// A bar laid over one row of the alarm list: while its alarm rings it blinks the row's line
// in magenta on white, and a click on it dismisses the alarm.
class RowBar : public QWidget
{
    Q_OBJECT
public:
    explicit RowBar(QWidget* parent = nullptr);

    void setLine(const QString& line);
    QString line() const { return m_line; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_line;
};

#pragma once

#include <QWidget>

// A bar laid over one row of the alarm list: while its alarm rings it blinks the row's line
// in magenta on white, and a click on it dismisses the alarm. It stays shown and blinks by
// painting, so that a screen reader hears nothing of it: it is decoration, and the list's row
// says that the alarm rings.
class RowBar : public QWidget
{
    Q_OBJECT
public:
    explicit RowBar(QWidget* parent = nullptr);

    void setLine(const QString& line);
    QString line() const { return m_line; }
    // Lit, the bar shows the line and takes clicks; unlit, the row below shows through and takes them.
    void setLit(bool lit);
    bool isLit() const { return m_lit; }
    // Whether the bar's alarm rings, so that the bar blinks; one that stops goes dark at once.
    void setRinging(bool ringing);
    bool isRinging() const { return m_ringing; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString m_line;
    bool m_lit = false;
    bool m_ringing = false;
};

#pragma once

#include <QObject>
#include <QPointer>
#include <vector>

class QWidget;

// Keeps the controls that a panel covers out of the keyboard's reach while the panel is shown, so
// that Tab stays inside the panel and no key lands on a control the user cannot see. When the
// panel is hidden again each control gets back exactly the focus policy it had.
class CoveredControls : public QObject
{
    Q_OBJECT
public:
    CoveredControls(QWidget* panel, std::vector<QWidget*> covered, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    struct Covered
    {
        QPointer<QWidget> widget;
        Qt::FocusPolicy policy = Qt::NoFocus;
    };
    QWidget* m_panel;
    std::vector<Covered> m_covered;
    bool m_fenced = false;
};

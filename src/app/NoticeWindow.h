#pragma once

#include <QWidget>

class AccessibleAlert;
class QListWidget;

// Lists the problems the desktop's notification service did not take. One window for all of them:
// it never takes the keyboard focus, and its owner places it clear of what the user works with.
class NoticeWindow : public QWidget
{
    Q_OBJECT
public:
    explicit NoticeWindow(QWidget* parent = nullptr);

    // Adds a line at the bottom; only the latest kMaxLines stay.
    void add(const QString& line);
    QStringList lines() const;
    // Its title, which also heads the desktop notifications.
    static QString title() { return QStringLiteral("Quorvel 提示"); }

    static constexpr int kMaxLines = 20;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QListWidget* m_list = nullptr;
    AccessibleAlert* m_alert = nullptr;
};

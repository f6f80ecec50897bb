#include "app/NoticeWindow.h"

#include "app/AccessibleAlert.h"
#include "app/AppIcon.h"
#include "overlay/AccessibleRole.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

NoticeWindow::NoticeWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("NoticeWindow"));
    AccessibleRole::give("NoticeWindow", QAccessible::Window);
    setWindowTitle(title());
    setWindowIcon(AppIcon::make());
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(360, 150);

    m_alert = new AccessibleAlert(this);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("noticeList"));
    m_list->setAccessibleName(title());
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setWordWrap(true);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    auto* close = new QPushButton(QStringLiteral("关闭"), this);
    close->setObjectName(QStringLiteral("noticeClose"));
    close->setFocusPolicy(Qt::NoFocus);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(m_list);
    layout->addWidget(close, 0, Qt::AlignRight);
}

void NoticeWindow::add(const QString& line)
{
    m_list->addItem(line);
    while (m_list->count() > kMaxLines)
        delete m_list->takeItem(0);
    m_list->scrollToBottom();
    // Said without the focus, which the window never takes.
    m_alert->say(title() + QStringLiteral("：") + line);
}

QStringList NoticeWindow::lines() const
{
    QStringList result;
    for (int i = 0; i < m_list->count(); ++i)
        result.append(m_list->item(i)->text());
    return result;
}

void NoticeWindow::closeEvent(QCloseEvent* event)
{
    // What the user has seen and closed does not come back with the next problem.
    m_list->clear();
    QWidget::closeEvent(event);
}

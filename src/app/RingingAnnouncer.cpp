#include "app/RingingAnnouncer.h"

#include "app/AccessibleAlert.h"
#include "engine/AlarmEngine.h"

#include <QAccessible>
#include <QListWidget>

RingingAnnouncer::RingingAnnouncer(AlarmEngine& engine, QListWidget& list, QObject* parent)
    : QObject(parent), m_engine(engine), m_list(list), m_alert(new AccessibleAlert(this))
{
    connect(&engine, &AlarmEngine::ringingStarted, this,
            [this](int slot) { announce(slot, QStringLiteral("闹钟响铃"), QStringLiteral("正在响铃")); });
    connect(&engine, &AlarmEngine::ringingStopped, this,
            [this](int slot) { announce(slot, QStringLiteral("闹钟已停止"), QStringLiteral("已停止")); });
}

QString RingingAnnouncer::lastAlert() const
{
    return m_alert->text();
}

void RingingAnnouncer::announce(int slot, const QString& what, const QString& rowState)
{
    QListWidgetItem* row = m_list.item(slot);
    if (row) {
        row->setData(Qt::AccessibleDescriptionRole, rowState);
        // The list tells of changed rows only to refresh a screen reader's cache; say what changed.
        if (QAccessible::isActive()) {
            if (QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&m_list)) {
                if (QAccessibleInterface* cell = list->child(slot)) {
                    QAccessibleEvent event(cell, QAccessible::DescriptionChanged);
                    QAccessible::updateAccessibility(&event);
                }
            }
        }
    }
    const AlarmEntry entry = m_engine.entry(slot);
    m_alert->say(what + QStringLiteral("：") + entry.time + QLatin1Char(' ') + entry.slogan);
}

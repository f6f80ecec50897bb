#include "app/AutostartChoice.h"

#include "schedule/EditorPanel.h"
#include "settings/SettingsValues.h"

#include <utility>

using SettingsLayout::StartWithSession;

AutostartChoice::AutostartChoice(SettingsStore& store, EditorPanel& panel,
                                 std::function<bool(bool)> setAutostart, Report report)
    : m_store(store), m_panel(panel), m_setAutostart(std::move(setAutostart)), m_report(std::move(report))
{}

void AutostartChoice::load()
{
    m_check2Tag = SettingsValues::readInt(m_store, StartWithSession.section, StartWithSession.key,
                                          StartWithSession.defaultValue, StartWithSession.minimum,
                                          StartWithSession.maximum);
    m_panel.setStartsWithSession(m_check2Tag == 1);
}

void AutostartChoice::applyOnClose()
{
    const int chosen = m_panel.startsWithSession() ? 1 : 0;
    if (chosen == m_check2Tag)
        return;
    // The exit path's only key: one write.
    const SaveOutcome outcome = SettingsValues::saveText(m_store, StartWithSession.section,
                                                         StartWithSession.key, QString::number(chosen));
    if (!outcome.saved)
        m_report(SettingsValues::unsavedAtExitMessage(QStringLiteral("开机启动设置"), outcome));
    if (m_setAutostart && !m_setAutostart(chosen == 1))
        m_report(chosen == 1 ? QStringLiteral("未能开启开机启动：自启动项无法写入。")
                             : QStringLiteral("未能关闭开机启动：自启动项无法删除。"));
}

#include "CompanionWindows.h"

#include "AppState.h"
#include "EditorActions.h"
#include "EditorStatusBar.h"
#include "Prompter.h"
#include "ScreenLayout.h"

#include <QWidget>

CompanionWindows::CompanionWindows(AppState& state, ScreenLayout& layout, EditorActions& actions,
                                   EditorStatusBar& status, QWidget* window)
    : QObject(window), m_state(state), m_layout(layout), m_actions(actions), m_status(status), m_window(*window)
{
}

void CompanionWindows::setArrowColoursOpener(SkinOpener opener)
{
    m_openArrowColours = std::move(opener);
    enableSkinCommands();
}

void CompanionWindows::setDeployOpener(DeployOpener opener)
{
    m_openDeploy = std::move(opener);
    enableSkinCommands();
}

void CompanionWindows::enableSkinCommands()
{
    m_actions.enableSkinCommands(m_state.LayoutLoaded, bool(m_openArrowColours), bool(m_openDeploy));
}

void CompanionWindows::openPreferences()
{
    if (m_openPreferences)
        m_openPreferences(&m_window);
}

void CompanionWindows::openSkinManager()
{
    if (m_openSkinManager)
        m_openSkinManager(&m_window);
}

void CompanionWindows::openArrowColours()
{
    if (m_openArrowColours && m_state.LayoutLoaded)
        m_openArrowColours(&m_window, m_state.SkinFolder);
}

void CompanionWindows::deploy(bool dryRun)
{
    if (!m_openDeploy || !m_state.LayoutLoaded || !m_layout.offerSave())
        return;
    m_status.showDone(m_openDeploy(&m_window, m_state.SkinFolder, dryRun));
}

void CompanionWindows::showShortcuts()
{
    m_actions.showShortcuts(*m_state.prompter);
}

void CompanionWindows::showAbout()
{
    m_state.prompter->note(QStringLiteral("Über Tivaro"),
                           QStringLiteral("Tivaro v%1\nDer Skin-Editor für MN|4.\n\nLizenz: GPL-3.0-or-later\nQt %2")
                               .arg(QStringLiteral(TIVARO_VERSION), QString::fromLatin1(qVersion())));
}

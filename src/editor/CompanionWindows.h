#pragma once

#include <QObject>
#include <QString>

#include <functional>

class EditorActions;
class EditorStatusBar;
class QWidget;
class ScreenLayout;
struct AppState;

// The program's other windows as the editor opens them: the speed profile
// editor, the skin manager, the arrow colours and the upload of the skin on
// show, and the Hilfe dialogs. The program hands in how each opens; a command
// whose window is missing, or that needs a skin before one is loaded, is off.
class CompanionWindows : public QObject
{
    Q_OBJECT

public:
    // Opens another window of the program modally, owned by the editor.
    using WindowOpener = std::function<void(QWidget* owner)>;
    // Opens a window for the skin on show.
    using SkinOpener = std::function<void(QWidget* owner, const QString& skinFolder)>;
    // Sends the skin to the PDA (or lists what would go) and returns what happened.
    using DeployOpener = std::function<QString(QWidget* owner, const QString& skinFolder, bool dryRun)>;

    CompanionWindows(AppState& state, ScreenLayout& layout, EditorActions& actions, EditorStatusBar& status,
                     QWidget* window);

    void setPreferencesOpener(WindowOpener opener) { m_openPreferences = std::move(opener); }
    void setSkinManagerOpener(WindowOpener opener) { m_openSkinManager = std::move(opener); }
    void setArrowColoursOpener(SkinOpener opener);
    void setDeployOpener(DeployOpener opener);
    // Follows whether a skin is loaded.
    void enableSkinCommands();

    void openPreferences();
    void openSkinManager();
    void openArrowColours();
    // Pending edits are offered for saving first: the device gets the files.
    void deploy(bool dryRun);
    void showShortcuts();
    void showAbout();

private:
    AppState& m_state;
    ScreenLayout& m_layout;
    EditorActions& m_actions;
    EditorStatusBar& m_status;
    QWidget& m_window;
    WindowOpener m_openPreferences;
    WindowOpener m_openSkinManager;
    SkinOpener m_openArrowColours;
    DeployOpener m_openDeploy;
};

#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QDockWidget;
class QKeyEvent;
class QMenu;
class QPushButton;
class QToolBar;
class Prompter;
class frmTivaro;

// The editor's commands: one QAction each, with a German text, a standard
// shortcut where Qt has one and a status tip, in the menus, and the window's
// buttons and check boxes bound to them, so a menu entry, its shortcut and its
// button run the same handler.
class EditorActions : public QObject
{
    Q_OBJECT

public:
    enum Command {
        Open, Save, Check, Quit,
        Undo, Redo, SelectAll, Lock, Unlock,
        ZoomIn, ZoomOut, ZoomFit, ZoomOne, Snap, Infobar, Dummys,
        SkinManager, Preferences, ArrowColours, Deploy, DeployDryRun,
        Shortcuts, About,
        CommandCount
    };

    // Builds the menus of window's menu bar and its main tool bar.
    explicit EditorActions(frmTivaro& window);

    QAction* action(Command command) const { return m_actions[command]; }
    QMenu* alignMenu() const { return m_align; }
    // The check box and the action show one state; either runs handler.
    void bindCheckBox(Command command, QCheckBox* box, std::function<void()> handler);
    // The button triggers the action and follows whether it is enabled.
    static void bindButton(QPushButton* button, QAction* action);
    // An entry in Ansicht that shows or hides the dock.
    void addDockToggle(QDockWidget* dock);
    // Zuletzt geöffnet: the folders, most recent first; those missing are shown disabled.
    void showRecentFolders(const QStringList& folders);
    // The commands that work on the skin on show; each also needs its opener.
    void enableSkinCommands(bool loaded, bool arrowColours, bool deploy);

    // The action a key press means that a text field would otherwise keep for
    // itself (the layout's undo and redo); null for none.
    QAction* takenFromFields(const QKeyEvent& key) const;
    // Every command with a shortcut: its text and its keys, as the menus show them.
    QList<QStringList> shortcutRows() const;
    // The list of shortcuts in a dialog, run through the prompter.
    void showShortcuts(Prompter& prompter) const;

private:
    QAction* make(Command command, const char* text, const char* tip, QList<QKeySequence> keys = {});
    void buildMenus();
    void buildToolBar();
    QMenu* buildAlignMenu();
    void followHistory();

    frmTivaro& m_window;
    std::array<QAction*, CommandCount> m_actions{};
    QList<QAction*> m_zoomSteps;
    QMenu* m_align = nullptr;
    QMenu* m_recent = nullptr;
    QMenu* m_view = nullptr;
    QAction* m_docksStart = nullptr; // the dock entries of Ansicht come after it
};

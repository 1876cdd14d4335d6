#pragma once

#include <QObject>
#include <QString>

#include <functional>

class EditorActions;
class QComboBox;
class QDropEvent;
class QMimeData;
class QWidget;
class ScreenLayout;
class cSHFolder;
struct AppState;

// Brings a skin folder into the editor, however it comes: chosen in the folder
// picker, from Zuletzt geöffnet, dropped onto the window or named on the
// command line. Pending edits are offered for saving first; the folder becomes
// lastDir and heads the recent folders, and the screen in the list is loaded
// from it.
class FolderOpener : public QObject
{
    Q_OBJECT

public:
    // opened runs after every folder change, once the screen is loaded.
    FolderOpener(AppState& state, ScreenLayout& layout, QComboBox& screens, EditorActions& actions,
                 std::function<void()> opened, QWidget* window);

    // Asks the user for the skin folder in the picker; "" on cancel.
    QString choose();
    // The picker's status line names the folder selected in it.
    void showSelection(const QString& path);
    // Asks whether to correct a path typed into the picker; true to give up.
    bool abandonsInvalidPath(const QString& path) const;
    // Laden: the folder from the picker, if one is chosen.
    void chooseAndOpen();
    // Shows "Hauptmenu" from folder; false, with a note to the user, when folder is no folder.
    bool open(const QString& folder);
    // The skin folder a drop brings: a local folder itself, or the folder of a
    // local file inside it; "" when the drop holds no local path.
    static QString droppedFolder(const QMimeData* data);
    void drop(QDropEvent& event);
    // Zuletzt geöffnet as stored in the settings.
    void showRecentFolders();

private:
    void use(const QString& path);
    QString settingsFile() const;

    AppState& m_state;
    ScreenLayout& m_layout;
    QComboBox& m_screens;
    EditorActions& m_actions;
    std::function<void()> m_opened;
    QWidget& m_window;
    cSHFolder* m_picker = nullptr; // the picker of the running choose()
};

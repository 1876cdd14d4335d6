#pragma once

#include "BindingView.h"
#include "Canvas.h"
#include "CompanionWindows.h"
#include "Elements.h"
#include "LayoutDocument.h"
#include "ScreenLayout.h"

#include <QMainWindow>

class CanvasView;
class EditorActions;
class EditorStatusBar;
class FolderOpener;
class ScreenBar;
class ScreenGallery;
class ElementList;
class ElementPanel;
class FindingsDock;
class HistoryDock;
class KeyRouter;
class LockKeeper;
class NudgeControl;
class QCheckBox;
class QComboBox;
class QDockWidget;
class QScrollArea;
class SkinCheck;
class ViewMemory;
class ZoomControl;
struct Finding;
struct AppState;

// The layout editor and start-up window: the canvas in the middle, the menus,
// the tool bars with the screen list, the docks "Element", "Elemente",
// "Verlauf" and "Befunde", and the status bar. Key presses reach Form_KeyDown
// before the focused item. Every edit is a step of the layout document's
// history. The handlers are the window's entry points; the work sits in the
// classes beside it.
class frmTivaro : public QMainWindow, public BindingView
{
    Q_OBJECT

public:
    using WindowOpener = CompanionWindows::WindowOpener;
    using SkinOpener = CompanionWindows::SkinOpener;
    using DeployOpener = CompanionWindows::DeployOpener;

    // Runs Form_Load. When state.AppPath is already set it is kept as the
    // program folder, so that a caller can point it at its own bitmaps.
    explicit frmTivaro(AppState& state, QWidget* parent = nullptr);
    ~frmTivaro() override;

    void setPreferencesOpener(WindowOpener opener);
    void setSkinManagerOpener(WindowOpener opener);
    void setArrowColoursOpener(SkinOpener opener);
    void setDeployOpener(DeployOpener opener);

    // Starts on a skin folder given on the command line: shows "Hauptmenu" and
    // loads it from folder as if the folder had been chosen with "Laden".
    // Returns false, with a note to the user, when folder is no folder.
    bool openSkinFolder(const QString& folder);
    // Picks screenName in the screen list as the user would; false for a name the
    // list lacks or when the user kept the screen on show.
    bool showScreen(const QString& screenName);
    // Shows the screen of a finding and makes its element the active one.
    void showFinding(const Finding& finding);
    // Adds a dock beside the canvas, with its entry in Ansicht.
    void addDock(QDockWidget* dock, Qt::DockWidgetArea area = Qt::RightDockWidgetArea);

    // Event handlers.
    void Form_Load();
    // False when closing must not go on: the user wanted to save and it failed.
    bool Form_Unload();
    // True when the key was used up.
    bool Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift);
    // Ctrl came up without another key since it went down.
    bool Form_KeyUp(int KeyCode, Qt::KeyboardModifiers Shift);
    void ComboAnsicht_Click();
    void BTNLoad_Click();
    void BTNSave_Click();
    void BTNUndo_Click();
    void BTNRedo_Click();
    void BTNpos_Click();
    void MoveN_Click();
    void MoveS_Click();
    void MoveW_Click();
    void MoveO_Click();
    void ChkInfobar_Click();
    void ChkDummys_Click();
    void BTNMisc_Click();
    void BTNSkinManager_Click();
    void BTNCheck_Click();
    void SHFolder_SelectionChanged(const QString& PathSelected);
    void SHFolder_ValidationFailed(const QString& InvalidPath, bool& Cancel);

    // Commands of the menus.
    void openRecentFolder(const QString& folder);
    void selectAll();
    void setSelectionLocked(bool locked);
    void openArrowColours();
    void deploy(bool dryRun);
    void showShortcuts();
    void showAbout();

    // Asks the user for the skin folder; "" on cancel.
    QString GetSkinFolder();

    int nudgeMode() const;
    Canvas& canvas() { return m_canvas; }
    Elements& elements() { return m_elements; }
    LayoutDocument& document() { return m_document; }
    ScreenLayout& layout() { return m_layout; }
    CanvasView* canvasView() const { return m_view; }
    QScrollArea* canvasArea() const { return m_area; }
    ZoomControl& zoom() const { return *m_zoom; }
    EditorActions& actions() const { return *m_actions; }
    ScreenGallery* gallery() const { return m_gallery; }
    void setZoom(int zoom);
    void zoomToFit();

    // BindingView
    void setMapBoxesVisible(bool visible) override;
    bool infobarTicked() const override;
    bool dummysTicked() const override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildCanvas();
    void buildScreenBar();
    void buildDocks();
    void buildStatusBar();
    void reloadAfterTick(QCheckBox& box);
    QString settingsFile() const;

    AppState& m_state;
    LayoutDocument m_document;
    Canvas m_canvas;
    Elements m_elements;
    ScreenLayout m_layout;

    CanvasView* m_view = nullptr;
    QScrollArea* m_area = nullptr;
    ZoomControl* m_zoom = nullptr;
    EditorActions* m_actions = nullptr;
    ElementPanel* m_panel = nullptr;
    ElementList* m_list = nullptr;
    LockKeeper* m_locks = nullptr;
    FindingsDock* m_findings = nullptr;
    SkinCheck* m_check = nullptr;
    FolderOpener* m_folders = nullptr;
    NudgeControl* m_nudge = nullptr;
    CompanionWindows* m_windows = nullptr;
    ScreenGallery* m_gallery = nullptr;
    HistoryDock* m_history = nullptr;
    KeyRouter* m_keys = nullptr;
    std::unique_ptr<ViewMemory> m_viewMemory;
    ScreenBar* m_screenBar = nullptr;
    EditorStatusBar* m_status = nullptr;
    QComboBox* ComboAnsicht = nullptr;
    QCheckBox* ChkInfobar = nullptr;
    QCheckBox* ChkDummys = nullptr;
};

#pragma once

#include "BindingView.h"
#include "Canvas.h"
#include "Elements.h"
#include "LayoutDocument.h"
#include "ScreenLayout.h"

#include <QWidget>

#include <QSet>

#include <functional>
#include <optional>

class CanvasView;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QKeyEvent;
class QPushButton;
class QScrollArea;
class ElementList;
class ScreenGallery;
class cSHFolder;
struct Finding;
struct AppState;

// The layout editor and start-up window: the canvas on the left, the screen
// list, the active element's coordinates, the nudge cross and the buttons on
// the right. Key presses reach Form_KeyDown before the focused item. Every
// edit is a step of the layout document's history, which "Rückgängig" and
// "Wiederholen" walk.
class frmTivaro : public QWidget, public BindingView
{
    Q_OBJECT

public:
    // Opens another window of the program modally, owned by the editor.
    using WindowOpener = std::function<void(QWidget* owner)>;

    // Runs Form_Load. When state.AppPath is already set it is kept as the
    // program folder, so that a caller can point it at its own bitmaps.
    explicit frmTivaro(AppState& state, QWidget* parent = nullptr);
    ~frmTivaro() override;

    void setPreferencesOpener(WindowOpener opener) { m_openPreferences = std::move(opener); }
    void setSkinManagerOpener(WindowOpener opener) { m_openSkinManager = std::move(opener); }

    // Starts on a skin folder given on the command line: shows "Hauptmenu" and
    // loads it from folder as if the folder had been chosen with "Laden".
    // Returns false, with a note to the user, when folder is no folder.
    bool openSkinFolder(const QString& folder);
    // Picks screenName in the screen list as the user would; false for a name the
    // list lacks or when the user kept the screen on show.
    bool showScreen(const QString& screenName);
    // Shows the screen of a finding and makes its element the active one.
    void showFinding(const Finding& finding);

    // Event handlers.
    void Form_Load();
    // False when closing must not go on: the user wanted to save and it failed.
    bool Form_Unload();
    // True when the key was used up.
    bool Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift);
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

    // Asks the user for the skin folder; "" on cancel.
    QString GetSkinFolder();

    int nudgeMode() const { return m_nudgeMode; }
    Canvas& canvas() { return m_canvas; }
    Elements& elements() { return m_elements; }
    LayoutDocument& document() { return m_document; }
    ScreenLayout& layout() { return m_layout; }
    CanvasView* canvasView() const { return m_view; }
    QScrollArea* canvasArea() const { return m_area; }
    ScreenGallery* gallery() const { return m_gallery; }

    // Shows the canvas at zoom (a step of ViewTransform::Zooms), keeping the
    // canvas point under `pointer` (view pixels) in place, or the centre of
    // the visible part when there is none.
    void setZoom(int zoom, std::optional<QPointF> pointer = std::nullopt);
    // The largest zoom that shows the whole screen in the visible canvas area.
    void zoomToFit();

    // BindingView
    void setMapBoxesVisible(bool visible) override;
    bool infobarTicked() const override;
    bool dummysTicked() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    enum Direction { North, South, West, East };

    void buildWidgets();
    void buildZoomActions();
    // Window size that shows the canvas whole at zoom beside the controls.
    QSize windowSizeAt(int zoom) const;
    void restoreView();
    QString lockKey(int slot) const;
    void storeView();
    QWidget* buildControls();
    CanvasText* fieldText(Field which) const;
    QLineEdit* field(Field which) const;
    // The coordinate field widget is, if it is one.
    std::optional<Field> fieldOf(const QObject* widget) const;
    void bindField(QLineEdit* field, Field which);
    // ↑ or ↓ in a coordinate field: its value one pixel up or down, merged as typing.
    void stepField(Field which, int step);
    void buildActions();
    // The action a key press means, wherever the focus is in the window; null for none.
    QAction* actionFor(const QKeyEvent* key) const;
    // The coordinate fields show the active element's rectangle again.
    void showActiveValues();
    void nudge(Direction direction);
    void focusNudging();
    void selectNeighbour(int step);
    void useSkinFolder(const QString& path);
    // Offers pending edits for saving before an action replaces them; false
    // when the user cancelled or the save failed, and the action must not run.
    bool releaseEdits();
    QString settingsFile() const;

    AppState& m_state;
    LayoutDocument m_document;
    Canvas m_canvas;
    Elements m_elements;
    ScreenLayout m_layout;
    int m_nudgeMode = 0;
    bool m_ctrlAlone = false; // Ctrl is down and no other key or button went down since
    cSHFolder* SHFolder = nullptr; // the picker of the running GetSkinFolder
    WindowOpener m_openPreferences;
    WindowOpener m_openSkinManager;

    CanvasView* m_view = nullptr;
    QScrollArea* m_area = nullptr;
    QWidget* m_controls = nullptr;
    QComboBox* m_zoomBox = nullptr;
    ElementList* m_list = nullptr;
    ScreenGallery* m_gallery = nullptr;
    QPushButton* BTNAlign = nullptr;
    QCheckBox* ChkSnap = nullptr;
    QLabel* LBLPointer = nullptr;
    // Elements the user locked, by file and section, while the program runs.
    QSet<QString> m_locks;
    QComboBox* ComboAnsicht = nullptr;
    QCheckBox* ChkInfobar = nullptr;
    QCheckBox* ChkDummys = nullptr;
    QLineEdit* txtX = nullptr;
    QLineEdit* txtY = nullptr;
    QLineEdit* txtCX = nullptr;
    QLineEdit* txtCY = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* LBLiniName = nullptr;
    QPushButton* MoveN = nullptr;
    QPushButton* MoveS = nullptr;
    QPushButton* MoveW = nullptr;
    QPushButton* MoveO = nullptr;
    QPushButton* BTNpos = nullptr;
    QPushButton* BTNLoad = nullptr;
    QPushButton* BTNSave = nullptr;
    QPushButton* BTNUndo = nullptr;
    QPushButton* BTNRedo = nullptr;
    QPushButton* BTNMisc = nullptr;
    QPushButton* BTNSkinManager = nullptr;
    QPushButton* BTNCheck = nullptr;
    QLabel* LBLStatus = nullptr;
    QLabel* lbl_Version = nullptr;
    QAction* m_undo = nullptr;
    QAction* m_redo = nullptr;
    QAction* m_save = nullptr;
};

#include "frmTivaro.h"

#include "CanvasView.h"
#include "CompanionWindows.h"
#include "EditorActions.h"
#include "ElementList.h"
#include "ElementPanel.h"
#include "FindingsDock.h"
#include "FolderOpener.h"
#include "HistoryDock.h"
#include "Ini.h"
#include "KeyRouter.h"
#include "LockKeeper.h"
#include "NudgeControl.h"
#include "Paths.h"
#include "EditorStatusBar.h"
#include "ScreenBar.h"
#include "ScreenGallery.h"
#include "Settings.h"
#include "SkinCheck.h"
#include "ViewMemory.h"
#include "ZoomControl.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QScrollArea>
#include <QUndoStack>

#include <cmath>

namespace {

// Room for the element list: section, file and the four values of a typical skin.
constexpr int ListWidth = 410;

// A 24-bit colour from the settings file, red in the low byte.
QColor settingsColour(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

int twipsPerPixel(qreal dotsPerInch)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen") || !(dotsPerInch > 0))
        return 15;
    return std::max(1, int(std::lround(1440.0 / dotsPerInch)));
}

} // namespace

frmTivaro::frmTivaro(AppState& state, QWidget* parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_elements(m_document, m_canvas, QLocale::system())
    , m_layout(state, m_canvas, m_elements, *this)
{
    setObjectName(QStringLiteral("frmTivaro"));
    setWindowTitle(QStringLiteral("Tivaro[*]"));
    setAccessibleName(QStringLiteral("Tivaro"));
    setAcceptDrops(true);
    setDockOptions(AnimatedDocks | AllowTabbedDocks);
    // A member that is also a child: it leaves its parent when it is destroyed first.
    m_canvas.setParent(this);
    buildCanvas();
    m_actions = new EditorActions(*this);
    buildScreenBar();
    buildDocks();
    buildStatusBar();
    m_windows = new CompanionWindows(m_state, m_layout, *m_actions, *m_status, this);
    m_keys = new KeyRouter(*this, *m_panel, *m_view, *m_actions);
    Form_Load();
}

frmTivaro::~frmTivaro()
{
    delete m_keys;
    // The fields lose the focus while the window is taken apart; their
    // "editing finished" must not reach the document, which is gone by then.
    for (const Field f : {FieldX, FieldY, FieldCX, FieldCY})
        m_panel->field(f)->disconnect(m_panel);
}

// ---- building ----

void frmTivaro::buildCanvas()
{
    m_area = new QScrollArea(this);
    m_area->setObjectName(QStringLiteral("CanvasArea"));
    m_area->setAccessibleName(QStringLiteral("Bildschirm"));
    m_view = new CanvasView(m_canvas, m_document, m_area);
    m_view->setAccessibleName(QStringLiteral("Zeichenfläche"));
    m_area->setWidget(m_view);
    m_area->setFrameShape(QFrame::NoFrame);
    setCentralWidget(m_area);
    m_zoom = new ZoomControl(*m_view, *m_area, this);
}

void frmTivaro::buildScreenBar()
{
    // A row of its own, so the screen list never hides in the tool bar's overflow.
    addToolBarBreak();
    m_screenBar = new ScreenBar(this);
    addToolBar(m_screenBar);
    ComboAnsicht = m_screenBar->screens();
    ChkInfobar = m_screenBar->infobar();
    ChkDummys = m_screenBar->dummys();
    connect(ComboAnsicht, &QComboBox::activated, this, [this] { ComboAnsicht_Click(); });
    connect(m_screenBar->snap(), &QCheckBox::toggled, this, [this](bool on) { m_view->setSnapping(on); });
    m_actions->bindCheckBox(EditorActions::Infobar, ChkInfobar, [this] { ChkInfobar_Click(); });
    m_actions->bindCheckBox(EditorActions::Dummys, ChkDummys, [this] { ChkDummys_Click(); });
    m_actions->bindCheckBox(EditorActions::Snap, m_screenBar->snap(), {});
    m_folders = new FolderOpener(m_state, m_layout, *ComboAnsicht, *m_actions, [this] {
        m_check->show({}); // the last check was of the other folder
        m_windows->enableSkinCommands();
    }, this);
    setMapBoxesVisible(false);
}

void frmTivaro::buildDocks()
{
    const auto dock = [this](QWidget* content, const QString& title, const char* name, Qt::DockWidgetArea area) {
        auto* d = new QDockWidget(title, this);
        d->setObjectName(QString::fromLatin1(name));
        d->setAccessibleName(title);
        d->setWidget(content);
        addDock(d, area);
        return d;
    };
    m_panel = new ElementPanel(m_document, m_canvas, m_elements, this);
    m_nudge = new NudgeControl(m_document, *m_panel, *m_view, *ComboAnsicht);
    QDockWidget* element = dock(m_panel, QStringLiteral("Element"), "ElementDock", Qt::LeftDockWidgetArea);
    m_history = new HistoryDock(m_document.undoStack(), this);
    addDock(m_history, Qt::LeftDockWidgetArea);
    splitDockWidget(element, m_history, Qt::Vertical);

    m_list = new ElementList(m_document, this);
    m_list->setAccessibleName(QStringLiteral("Elemente"));
    m_list->setMinimumWidth(ListWidth);
    QDockWidget* list = dock(m_list, QStringLiteral("Elemente"), "ElementListDock", Qt::RightDockWidgetArea);
    m_locks = new LockKeeper(m_document, *m_list, this);
    m_findings = new FindingsDock(this);
    m_check = new SkinCheck(m_state, m_layout, m_document, *m_list, *m_findings, *m_view);
    connect(m_findings, &FindingsDock::findingChosen, this, &frmTivaro::showFinding);
    addDock(m_findings, Qt::RightDockWidgetArea);
    splitDockWidget(list, m_findings, Qt::Vertical);

    m_gallery = new ScreenGallery(m_state, m_document, this);
    connect(m_gallery, &ScreenGallery::screenChosen, this, &frmTivaro::showScreen);
    // A tab beside the history, so the first start still shows the screen at 2× on a 1280 × 1024 display.
    QDockWidget* gallery = dock(m_gallery, QStringLiteral("Bildschirme"), "GalleryDock", Qt::LeftDockWidgetArea);
    tabifyDockWidget(m_history, gallery);
    gallery->raise();
}

void frmTivaro::addDock(QDockWidget* dock, Qt::DockWidgetArea area)
{
    addDockWidget(area, dock);
    m_actions->addDockToggle(dock);
}

void frmTivaro::buildStatusBar()
{
    m_status = new EditorStatusBar(this);
    setStatusBar(m_status);
    connect(m_view, &CanvasView::pointerAt, m_status, &EditorStatusBar::showPointer);
    connect(m_view, &CanvasView::pointerLeft, m_status, &EditorStatusBar::clearPointer);
    connect(m_zoom, &ZoomControl::zoomChanged, m_status, &EditorStatusBar::showZoom);
    m_layout.setSavedNotice([this](const QStringList& files) {
        m_status->showSaved(files);
        m_gallery->checkFiles();
        m_check->saved(files);
    });
    connect(&m_document.undoStack(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        setWindowModified(!clean);
        if (!clean)
            m_status->clearSaved();
    });
}

void frmTivaro::setZoom(int zoom) { m_zoom->setZoom(zoom); }
void frmTivaro::zoomToFit() { m_zoom->zoomToFit(); }

// ---- start and stop ----

QString frmTivaro::settingsFile() const
{
    return Settings::filePath(m_state.settingsFolder());
}

void frmTivaro::Form_Load()
{
    m_status->showVersion(QStringLiteral("Tivaro v") + QStringLiteral(TIVARO_VERSION));
    if (m_state.AppPath.isEmpty())
        m_state.AppPath = InitAppPath();
    m_state.LayoutLoaded = false;
    m_state.SkinFolder = ReadIni(settingsFile(), Settings::Directory, Settings::LastDir, Settings::defaultLastDir());

    const Settings::LayoutLook look = Settings::readLayoutLook(settingsFile());
    m_canvas.selector()->setColor(settingsColour(look.selectorColor));
    m_canvas.selector()->setLineWidth(look.borderSelector);
    for (int slot = 0; slot < SlotCount; ++slot) {
        m_canvas.bitmap(slot)->setVisible(false);
        m_canvas.frame(slot)->setLineWidth(look.borderFrame);
        m_canvas.frame(slot)->setColor(settingsColour(look.frameColor));
    }
    m_canvas.selector()->setVisible(false);

    const QScreen* display = screen() ? screen() : QGuiApplication::primaryScreen();
    m_state.TwipsPerPixelX = qint16(twipsPerPixel(display ? display->logicalDotsPerInchX() : 0));
    m_state.TwipsPerPixelY = qint16(twipsPerPixel(display ? display->logicalDotsPerInchY() : 0));
    m_canvas.setTwipsPerPixel(m_state.TwipsPerPixelX, m_state.TwipsPerPixelY);
    m_view->updateGeometryFromCanvas();
    m_viewMemory = std::make_unique<ViewMemory>(*this, *m_zoom, *m_actions->action(EditorActions::Snap), settingsFile());
    m_viewMemory->restore();
    m_folders->showRecentFolders();
}

bool frmTivaro::Form_Unload()
{
    return m_layout.offerSave();
}

void frmTivaro::closeEvent(QCloseEvent* event)
{
    // A failed save keeps the window open: closing now would lose the edits.
    if (Form_Unload()) {
        m_viewMemory->store();
        event->accept();
    } else
        event->ignore();
}

// ---- screens and folders ----

void frmTivaro::ComboAnsicht_Click()
{
    // Kept edits keep their screen, and the list says which one that is.
    if (!m_layout.CheckForSave(ComboAnsicht->currentText()))
        ComboAnsicht->setCurrentIndex(ComboAnsicht->findText(m_layout.currentScreen()));
}

QString frmTivaro::GetSkinFolder() { return m_folders->choose(); }
void frmTivaro::SHFolder_SelectionChanged(const QString& PathSelected) { m_folders->showSelection(PathSelected); }
void frmTivaro::BTNLoad_Click() { m_folders->chooseAndOpen(); }
bool frmTivaro::openSkinFolder(const QString& folder) { return m_folders->open(folder); }
void frmTivaro::openRecentFolder(const QString& folder) { m_folders->open(folder); }
void frmTivaro::dropEvent(QDropEvent* event) { m_folders->drop(*event); }

void frmTivaro::SHFolder_ValidationFailed(const QString& InvalidPath, bool& Cancel)
{
    Cancel = m_folders->abandonsInvalidPath(InvalidPath);
}

void frmTivaro::dragEnterEvent(QDragEnterEvent* event)
{
    if (!FolderOpener::droppedFolder(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

bool frmTivaro::showScreen(const QString& screenName)
{
    const int index = ComboAnsicht->findText(screenName, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    ComboAnsicht->setCurrentIndex(index);
    ComboAnsicht_Click();
    return m_layout.currentScreen() == screenName;
}

void frmTivaro::BTNSave_Click()
{
    m_layout.save();
    ComboAnsicht->setFocus();
}

void frmTivaro::BTNUndo_Click() { m_document.undoStack().undo(); }
void frmTivaro::BTNRedo_Click() { m_document.undoStack().redo(); }

void frmTivaro::ChkInfobar_Click() { reloadAfterTick(*ChkInfobar); }
void frmTivaro::ChkDummys_Click() { reloadAfterTick(*ChkDummys); }

void frmTivaro::reloadAfterTick(QCheckBox& box)
{
    // The reload would throw the edits away: the question comes before the box
    // changes anything, and kept edits untick it again.
    if (!m_layout.offerSave()) {
        box.setChecked(!box.isChecked());
        return;
    }
    m_layout.CheckForSave(ComboAnsicht->currentText());
}

// ---- other windows ----

void frmTivaro::BTNMisc_Click() { m_windows->openPreferences(); }
void frmTivaro::BTNSkinManager_Click() { m_windows->openSkinManager(); }
void frmTivaro::setPreferencesOpener(WindowOpener opener) { m_windows->setPreferencesOpener(std::move(opener)); }
void frmTivaro::setSkinManagerOpener(WindowOpener opener) { m_windows->setSkinManagerOpener(std::move(opener)); }
void frmTivaro::setArrowColoursOpener(SkinOpener opener) { m_windows->setArrowColoursOpener(std::move(opener)); }
void frmTivaro::setDeployOpener(DeployOpener opener) { m_windows->setDeployOpener(std::move(opener)); }
void frmTivaro::openArrowColours() { m_windows->openArrowColours(); }
void frmTivaro::deploy(bool dryRun) { m_windows->deploy(dryRun); }
void frmTivaro::showShortcuts() { m_windows->showShortcuts(); }
void frmTivaro::showAbout() { m_windows->showAbout(); }

// ---- the check ----

void frmTivaro::BTNCheck_Click() { m_check->run(); }

void frmTivaro::showFinding(const Finding& finding)
{
    if (!finding.screen.isEmpty() && showScreen(finding.screen))
        m_check->selectElement(finding);
}

// ---- binding view ----

void frmTivaro::setMapBoxesVisible(bool visible)
{
    m_screenBar->setMapBoxesVisible(visible);
    m_actions->action(EditorActions::Infobar)->setEnabled(visible);
    m_actions->action(EditorActions::Dummys)->setEnabled(visible);
}

bool frmTivaro::infobarTicked() const
{
    return ChkInfobar->isChecked();
}

bool frmTivaro::dummysTicked() const
{
    return ChkDummys->isChecked();
}

// ---- selection, nudging and keys ----

void frmTivaro::selectAll()
{
    QList<int> shown;
    for (int slot = 0; slot < m_document.count(); ++slot)
        if (m_document.visible(slot))
            shown << slot;
    if (!shown.isEmpty())
        m_document.setSelection(shown, shown.contains(m_document.current()) ? m_document.current() : shown.first());
}

void frmTivaro::setSelectionLocked(bool locked)
{
    m_locks->setSelectionLocked(locked);
}

int frmTivaro::nudgeMode() const { return m_nudge->mode(); }
void frmTivaro::BTNpos_Click() { m_nudge->switchMode(); }
void frmTivaro::MoveN_Click() { m_nudge->nudge(NudgeDirection::North); }
void frmTivaro::MoveS_Click() { m_nudge->nudge(NudgeDirection::South); }
void frmTivaro::MoveW_Click() { m_nudge->nudge(NudgeDirection::West); }
void frmTivaro::MoveO_Click() { m_nudge->nudge(NudgeDirection::East); }
bool frmTivaro::Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift) { return m_nudge->keyDown(KeyCode, Shift); }

// Ctrl came up alone.
bool frmTivaro::Form_KeyUp(int KeyCode, Qt::KeyboardModifiers)
{
    if (KeyCode != Qt::Key_Control)
        return false;
    BTNpos_Click();
    return true;
}

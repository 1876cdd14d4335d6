#include "frmTivaro.h"

#include "CanvasView.h"
#include "EditorActions.h"
#include "ElementList.h"
#include "ElementPanel.h"
#include "FindingsDock.h"
#include "HistoryDock.h"
#include "Ini.h"
#include "KeyRouter.h"
#include "LockKeeper.h"
#include "Paths.h"
#include "Prompter.h"
#include "EditorStatusBar.h"
#include "ScreenBar.h"
#include "ScreenGallery.h"
#include "Settings.h"
#include "SkinChecker.h"
#include "ViewMemory.h"
#include "ZoomControl.h"
#include "cSHFolder.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QUndoStack>

#include <cmath>

namespace {

const QString MainMenuScreen = QStringLiteral("Hauptmenu");

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

// The skin folder a drop brings: a local folder itself, or the folder of a
// local file inside it; "" when the drop holds no local path.
QString droppedSkinFolder(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty() || !data->urls().first().isLocalFile())
        return {};
    const QFileInfo info(data->urls().first().toLocalFile());
    if (info.isDir())
        return info.absoluteFilePath();
    return info.isFile() ? info.absolutePath() : QString();
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
    connect(m_panel, &ElementPanel::nudgeClicked, this, &frmTivaro::nudge);
    connect(m_panel, &ElementPanel::modeClicked, this, &frmTivaro::BTNpos_Click);
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
        // A fixed element loses its outline at once.
        if (!files.isEmpty() && m_view->showsFindings())
            showFindings(SkinChecker::check(m_state.SkinFolder).findings);
    });
    connect(&m_document.undoStack(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        setWindowModified(!clean);
        if (!clean)
            m_status->clearSaved();
    });
}

void frmTivaro::setZoom(int zoom)
{
    m_zoom->setZoom(zoom);
}

void frmTivaro::zoomToFit()
{
    m_zoom->zoomToFit();
}

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
    m_actions->showRecentFolders(Settings::readRecentFolders(settingsFile()));
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

QString frmTivaro::GetSkinFolder()
{
    cSHFolder picker(*m_state.prompter);
    SHFolder = &picker;
    connect(&picker, &cSHFolder::SelectionChanged, this, &frmTivaro::SHFolder_SelectionChanged);
    connect(&picker, &cSHFolder::ValidationFailed, this, &frmTivaro::SHFolder_ValidationFailed,
            Qt::DirectConnection);
    picker.setPlainFolderChoice(m_state.SkinFolder);
    const QString path = picker.BrowseForFolder(this);
    SHFolder = nullptr;
    return path;
}

void frmTivaro::SHFolder_SelectionChanged(const QString& PathSelected)
{
    if (SHFolder)
        SHFolder->setStatusText(PathSelected.isEmpty() ? QString() : PathSelected + QStringLiteral(" wurde gewählt."));
}

void frmTivaro::SHFolder_ValidationFailed(const QString& InvalidPath, bool& Cancel)
{
    const QString text = QStringLiteral("Der eingegebene Pfad \"") + InvalidPath + QStringLiteral("\" ist ungültig.\r\n")
                         + QStringLiteral("Wollen Sie Ihre Eingabe korrigieren?");
    Cancel = m_state.prompter->ask(QStringLiteral("Ungültige Pfadangabe"), text, Prompter::Buttons::OkCancel,
                                   Prompter::Icon::Exclamation)
             == Prompter::Answer::Cancel;
}

void frmTivaro::BTNLoad_Click()
{
    const QString path = GetSkinFolder();
    if (!path.isEmpty())
        useSkinFolder(path);
    ComboAnsicht->setFocus();
}

void frmTivaro::useSkinFolder(const QString& path)
{
    // Pending edits belong to the folder they were loaded from: they are offered
    // for saving there, before the folder changes, and never reach the new one.
    if (!releaseEdits())
        return;
    WriteIni(settingsFile(), Settings::Directory, Settings::LastDir, path);
    const QStringList recent = Settings::withRecentFolder(Settings::readRecentFolders(settingsFile()), path);
    Settings::writeRecentFolders(settingsFile(), recent);
    m_actions->showRecentFolders(recent);
    showFindings({}); // the last check was of the other folder
    m_state.SkinFolder = path;
    if (!path.endsWith(u'\\') && !path.endsWith(u'/'))
        m_state.SkinFolder += QDir::separator();
    m_state.LayoutLoaded = true;
    m_layout.CheckForSave(ComboAnsicht->currentText());
    enableSkinCommands();
}

bool frmTivaro::openSkinFolder(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir()) {
        m_state.prompter->note(QStringLiteral("Hinweis:"),
                               QStringLiteral("Der Ordner \"") + folder + QStringLiteral("\" wurde nicht gefunden."),
                               Prompter::Icon::Exclamation);
        return false;
    }
    const QString before = ComboAnsicht->currentText();
    ComboAnsicht->setCurrentIndex(ComboAnsicht->findText(MainMenuScreen));
    useSkinFolder(QDir::toNativeSeparators(info.absoluteFilePath()));
    // Kept edits keep their screen, and the list says which one that is.
    const QString shown = m_layout.currentScreen().isEmpty() ? before : m_layout.currentScreen();
    ComboAnsicht->setCurrentIndex(ComboAnsicht->findText(shown));
    ComboAnsicht->setFocus();
    return true;
}

void frmTivaro::openRecentFolder(const QString& folder)
{
    openSkinFolder(folder);
}

void frmTivaro::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedSkinFolder(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmTivaro::dropEvent(QDropEvent* event)
{
    const QString folder = droppedSkinFolder(event->mimeData());
    if (folder.isEmpty())
        return;
    event->acceptProposedAction();
    openSkinFolder(folder);
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

void frmTivaro::BTNUndo_Click()
{
    m_document.undoStack().undo();
}

void frmTivaro::BTNRedo_Click()
{
    m_document.undoStack().redo();
}

bool frmTivaro::releaseEdits()
{
    return m_layout.offerSave();
}

void frmTivaro::ChkInfobar_Click()
{
    // The reload would throw the edits away: the question comes before the box
    // changes anything, and kept edits untick it again.
    if (!releaseEdits()) {
        ChkInfobar->setChecked(!ChkInfobar->isChecked());
        return;
    }
    m_layout.CheckForSave(ComboAnsicht->currentText());
}

void frmTivaro::ChkDummys_Click()
{
    if (!releaseEdits()) {
        ChkDummys->setChecked(!ChkDummys->isChecked());
        return;
    }
    m_layout.CheckForSave(ComboAnsicht->currentText());
}

// ---- other windows ----

void frmTivaro::BTNMisc_Click()
{
    if (m_openPreferences)
        m_openPreferences(this);
}

void frmTivaro::BTNSkinManager_Click()
{
    if (m_openSkinManager)
        m_openSkinManager(this);
}

void frmTivaro::setArrowColoursOpener(SkinOpener opener)
{
    m_openArrowColours = std::move(opener);
    enableSkinCommands();
}

void frmTivaro::setDeployOpener(DeployOpener opener)
{
    m_openDeploy = std::move(opener);
    enableSkinCommands();
}

void frmTivaro::enableSkinCommands()
{
    m_actions->enableSkinCommands(m_state.LayoutLoaded, bool(m_openArrowColours), bool(m_openDeploy));
}

void frmTivaro::openArrowColours()
{
    if (m_openArrowColours && m_state.LayoutLoaded)
        m_openArrowColours(this, m_state.SkinFolder);
}

void frmTivaro::deploy(bool dryRun)
{
    // The device gets the files: pending edits go along only once they are saved.
    if (!m_openDeploy || !m_state.LayoutLoaded || !releaseEdits())
        return;
    m_status->showDone(m_openDeploy(this, m_state.SkinFolder, dryRun));
}

void frmTivaro::showShortcuts()
{
    m_actions->showShortcuts(*m_state.prompter);
}

void frmTivaro::showAbout()
{
    m_state.prompter->note(QStringLiteral("Über Tivaro"),
                           QStringLiteral("Tivaro v%1\nDer Skin-Editor für MN|4.\n\nLizenz: GPL-3.0-or-later\nQt %2")
                               .arg(QStringLiteral(TIVARO_VERSION), QString::fromLatin1(qVersion())));
}

// ---- the check ----

void frmTivaro::BTNCheck_Click()
{
    const QString title = QStringLiteral("Hinweis:");
    if (!m_state.LayoutLoaded) {
        m_state.prompter->note(title, QStringLiteral("Bitte erst mit „Laden“ einen Skin wählen."));
        return;
    }
    // The checker reads the files: pending edits count only once they are saved.
    if (!m_layout.offerSave())
        return;
    const SkinChecker::Result result = SkinChecker::check(m_state.SkinFolder);
    showFindings(result.findings);
    if (!result.readable || result.findings.isEmpty()) {
        m_state.prompter->note(title, result.readable ? QStringLiteral("Keine Befunde: der Skin ist in Ordnung.")
                                                      : QStringLiteral("Der Skin-Ordner lässt sich nicht lesen."));
        return;
    }
    m_findings->show();
    m_findings->raise();
}

void frmTivaro::showFindings(const QList<Finding>& findings)
{
    m_list->setFindings(findings);
    m_findings->setFindings(findings);
    m_view->setFindings(findings);
}

void frmTivaro::showFinding(const Finding& finding)
{
    if (finding.screen.isEmpty() || !showScreen(finding.screen))
        return;
    for (int slot = 0; slot < m_document.count(); ++slot) {
        const LayoutElement& e = m_document.element(slot);
        if (FindingConcerns(finding, e.file, e.section)) {
            m_document.select(slot);
            return;
        }
    }
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
        if (m_document.element(slot).visible)
            shown << slot;
    if (!shown.isEmpty())
        m_document.setSelection(shown, shown.contains(m_document.current()) ? m_document.current() : shown.first());
}

void frmTivaro::setSelectionLocked(bool locked)
{
    m_locks->setSelectionLocked(locked);
}

void frmTivaro::BTNpos_Click()
{
    m_nudgeMode = (m_nudgeMode + 1) % 3;
    m_panel->showMode(m_nudgeMode);
    focusNudging();
}

void frmTivaro::MoveN_Click() { nudge(NudgeDirection::North); }
void frmTivaro::MoveS_Click() { nudge(NudgeDirection::South); }
void frmTivaro::MoveW_Click() { nudge(NudgeDirection::West); }
void frmTivaro::MoveO_Click() { nudge(NudgeDirection::East); }

void frmTivaro::nudge(NudgeDirection direction)
{
    m_document.nudge(NudgeMode(m_nudgeMode), direction);
    focusNudging();
}

void frmTivaro::focusNudging()
{
    // The canvas, where the arrow keys go on nudging; in a field they would move the caret.
    m_view->setFocus();
}

void frmTivaro::selectNeighbour(int step)
{
    const int start = m_document.current();
    if (start < 0)
        return;
    std::vector<Touch> touch;
    for (const LayoutElement& e : m_document.elements())
        touch.push_back(e.touch);
    m_document.select(Layout::NeighbourOf(touch, start, step));
}

bool frmTivaro::Form_KeyDown(int KeyCode, Qt::KeyboardModifiers Shift)
{
    const Qt::KeyboardModifiers mods = Shift & ~Qt::KeypadModifier;
    if (mods == Qt::ShiftModifier)
        focusNudging();
    // Ctrl alone switches the mode when it comes up again (Form_KeyUp).
    if (KeyCode == Qt::Key_Control)
        return true;
    const bool arrow = KeyCode == Qt::Key_Left || KeyCode == Qt::Key_Up || KeyCode == Qt::Key_Right
                       || KeyCode == Qt::Key_Down;
    if (!arrow)
        return false;
    if (mods == Qt::ShiftModifier) {
        selectNeighbour(KeyCode == Qt::Key_Down || KeyCode == Qt::Key_Right ? 1 : -1);
        return true;
    }
    const QWidget* focus = QApplication::focusWidget();
    if (const std::optional<Field> inField = m_panel->fieldOf(focus); inField && mods == Qt::NoModifier) {
        // In a coordinate field ← and → move the caret; ↑ and ↓ step its value by a pixel.
        if (KeyCode == Qt::Key_Left || KeyCode == Qt::Key_Right)
            return false;
        m_panel->stepField(*inField, KeyCode == Qt::Key_Up ? 1 : -1);
        return true;
    }
    // The screen list and the lists in the docks keep their arrow keys.
    const bool list = focus && (focus == ComboAnsicht || ComboAnsicht->isAncestorOf(focus)
                                || qobject_cast<const QAbstractItemView*>(focus));
    if (mods != Qt::NoModifier || list || QApplication::activePopupWidget())
        return false;
    switch (KeyCode) {
    case Qt::Key_Left: MoveW_Click(); break;
    case Qt::Key_Up: MoveN_Click(); break;
    case Qt::Key_Right: MoveO_Click(); break;
    case Qt::Key_Down: MoveS_Click(); break;
    }
    return true;
}

bool frmTivaro::Form_KeyUp(int KeyCode, Qt::KeyboardModifiers)
{
    if (KeyCode != Qt::Key_Control)
        return false;
    BTNpos_Click();
    return true;
}

#include "frmTivaro.h"

#include "CanvasView.h"
#include "CheckDialog.h"
#include "ElementList.h"
#include "Ini.h"
#include "NumberText.h"
#include "Paths.h"
#include "Prompter.h"
#include "ScreenCatalogue.h"
#include "ScreenGallery.h"
#include "Settings.h"
#include "SkinChecker.h"
#include "cSHFolder.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <cmath>

namespace {

const QString MainMenuScreen = QStringLiteral("Hauptmenu");

// A 24-bit colour from the settings file, red in the low byte.
QColor settingsColour(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

// An arrow pointing the given way (0 up, 90 right, 180 down, 270 left).
QIcon arrowIcon(int degrees, const QColor& colour)
{
    constexpr int Size = 20;
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(Size / 2.0, Size / 2.0);
    painter.rotate(degrees);
    const QPolygonF arrow{{0, -8}, {7, 0}, {2.5, 0}, {2.5, 8}, {-2.5, 8}, {-2.5, 0}, {-7, 0}};
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPolygon(arrow);
    return QIcon(pixmap);
}

int twipsPerPixel(qreal dotsPerInch)
{
    if (QGuiApplication::platformName() == QLatin1String("offscreen") || !(dotsPerInch > 0))
        return 15;
    return std::max(1, int(std::lround(1440.0 / dotsPerInch)));
}

// Room for the element list: section, file and the four values of a typical skin.
constexpr int ListWidth = 410;

QString modeCaption(int mode)
{
    static const char* const captions[] = {"pos.", "scale+", "scale-"};
    return QString::fromLatin1(captions[mode]);
}

} // namespace

frmTivaro::frmTivaro(AppState& state, QWidget* parent)
    : QWidget(parent)
    , m_state(state)
    , m_elements(m_document, m_canvas, QLocale::system())
    , m_layout(state, m_canvas, m_elements, *this)
{
    setObjectName(QStringLiteral("frmTivaro"));
    setWindowTitle(QStringLiteral("Tivaro[*]"));
    // A member that is also a child: it leaves its parent when it is destroyed first.
    m_canvas.setParent(this);
    buildWidgets();
    buildActions();
    qApp->installEventFilter(this);
    Form_Load();
}

frmTivaro::~frmTivaro()
{
    qApp->removeEventFilter(this);
    // The fields lose the focus while the window is taken apart; their
    // "editing finished" must not reach a half-destroyed window.
    for (QLineEdit* field : {txtX, txtY, txtCX, txtCY})
        field->disconnect(this);
}

// ---- building ----

void frmTivaro::buildWidgets()
{
    m_area = new QScrollArea(this);
    m_area->setObjectName(QStringLiteral("CanvasArea"));
    m_area->setAccessibleName(QStringLiteral("Bildschirm"));
    m_view = new CanvasView(m_canvas, m_document, m_area);
    m_area->setWidget(m_view);
    m_area->setFrameShape(QFrame::NoFrame);
    connect(m_view, &CanvasView::zoomWheel, this,
            [this](int steps, QPointF at) { setZoom(ViewTransform::stepZoom(m_view->zoom(), steps), at); });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(12);
    layout->addWidget(m_area, 1);
    m_controls = buildControls();
    // The controls keep their width, so a long element name never moves the buttons.
    m_controls->setFixedWidth(m_controls->sizeHint().width());
    layout->addWidget(m_controls, 0, Qt::AlignTop);
    m_list = new ElementList(m_document, this);
    m_list->setMinimumWidth(ListWidth);
    layout->addWidget(m_list, 0);
    m_gallery = new ScreenGallery(m_state, m_document, this);
    layout->addWidget(m_gallery, 0);
    connect(m_gallery, &ScreenGallery::screenChosen, this, &frmTivaro::showScreen);
    connect(m_list, &ElementList::lockToggled, this, [this](int slot, bool locked) {
        m_document.setLocked(slot, locked);
        const QString key = lockKey(slot);
        if (locked)
            m_locks.insert(key);
        else
            m_locks.remove(key);
    });
    // Locks stay with their element while the program runs, across screens.
    connect(&m_document, &LayoutDocument::loaded, this, [this] {
        for (int slot = 0; slot < m_document.count(); ++slot) {
            const bool locked = m_locks.contains(lockKey(slot));
            m_document.setLocked(slot, locked);
            m_list->setLocked(slot, locked);
        }
    });
    connect(m_view, &CanvasView::pointerAt, this,
            [this](QPoint p) { LBLPointer->setText(QStringLiteral("Zeiger: %1, %2").arg(p.x()).arg(p.y())); });
    connect(m_view, &CanvasView::pointerLeft, this, [this] { LBLPointer->clear(); });
    buildZoomActions();
}

QString frmTivaro::lockKey(int slot) const
{
    const LayoutElement& e = m_document.element(slot);
    return e.file.toLower() + QLatin1Char('/') + e.section.toLower();
}

void frmTivaro::buildZoomActions()
{
    const struct { QKeySequence keys; std::function<void()> run; } actions[] = {
        {QKeySequence::ZoomIn, [this] { setZoom(ViewTransform::stepZoom(m_view->zoom(), 1)); }},
        {QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { setZoom(ViewTransform::stepZoom(m_view->zoom(), 1)); }},
        {QKeySequence::ZoomOut, [this] { setZoom(ViewTransform::stepZoom(m_view->zoom(), -1)); }},
        {QKeySequence(Qt::CTRL | Qt::Key_0), [this] { zoomToFit(); }},
        {QKeySequence(Qt::CTRL | Qt::Key_1), [this] { setZoom(1); }},
    };
    for (const auto& a : actions) {
        auto* action = new QAction(this);
        action->setShortcut(a.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, a.run);
        addAction(action);
    }
}

void frmTivaro::setZoom(int zoom, std::optional<QPointF> pointer)
{
    zoom = ViewTransform::stepZoom(zoom, 0);
    QWidget* viewport = m_area->viewport();
    // The view is the viewport's child, placed at minus the scroll position.
    const QPointF inViewport = pointer ? QPointF(m_view->pos()) + *pointer
                                       : QPointF(viewport->width() / 2.0, viewport->height() / 2.0);
    const QPointF twips = m_view->toTwips(inViewport - QPointF(m_view->pos()));
    m_view->setZoom(zoom);
    const QPointF scroll = m_view->transform().scrollKeeping(twips, inViewport);
    m_area->horizontalScrollBar()->setValue(int(std::lround(scroll.x())));
    m_area->verticalScrollBar()->setValue(int(std::lround(scroll.y())));
    m_zoomBox->setCurrentIndex(m_zoomBox->findData(zoom));
}

void frmTivaro::zoomToFit()
{
    const QSize room = m_area->maximumViewportSize() - QSize(2 * CanvasView::Margin, 2 * CanvasView::Margin);
    setZoom(ViewTransform::fitZoom(room, QSizeF(Canvas::ScreenWidth, Canvas::ScreenHeight)));
}

QSize frmTivaro::windowSizeAt(int zoom) const
{
    const QLayout* box = QWidget::layout();
    const QMargins m = box->contentsMargins();
    const QSize canvas = CanvasView::sizeAt(zoom);
    const QSize controls = m_controls->sizeHint();
    return {m.left() + canvas.width() + box->spacing() + controls.width() + box->spacing() + ListWidth
                + box->spacing() + m_gallery->minimumWidth() + m.right(),
            m.top() + std::max(canvas.height(), controls.height()) + m.bottom()};
}

void frmTivaro::restoreView()
{
    const Settings::ViewState stored = Settings::readViewState(settingsFile());
    int zoom = stored.zoom > 0 ? ViewTransform::stepZoom(stored.zoom, 0) : 0;
    if (!stored.window.isNull()) {
        setGeometry(stored.window);
        if (zoom == 0) {
            // As large as fits beside the controls in the stored window.
            const QSize chrome = windowSizeAt(1) - CanvasView::sizeAt(1);
            zoom = ViewTransform::fitZoom(stored.window.size() - chrome, {Canvas::ScreenWidth + 2.0 * CanvasView::Margin,
                                                                          Canvas::ScreenHeight + 2.0 * CanvasView::Margin});
        }
    } else {
        // The first start: the largest whole factor whose window fits the display.
        const QScreen* display = screen() ? screen() : QGuiApplication::primaryScreen();
        // Room for the window's own frame and title.
        const QSize room = display ? display->availableGeometry().size() - QSize(16, 48) : QSize(1024, 720);
        if (zoom == 0) {
            zoom = 1;
            for (int z : ViewTransform::Zooms)
                if (windowSizeAt(z).width() <= room.width() && windowSizeAt(z).height() <= room.height())
                    zoom = z;
        }
        resize(windowSizeAt(zoom).boundedTo(room).expandedTo(windowSizeAt(1).boundedTo(room)));
    }
    if (stored.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    ChkSnap->setChecked(stored.snap);
    m_view->setZoom(zoom);
    m_zoomBox->setCurrentIndex(m_zoomBox->findData(zoom));
}

void frmTivaro::storeView()
{
    Settings::ViewState view;
    view.zoom = m_view->zoom();
    view.window = normalGeometry();
    view.maximized = isMaximized();
    view.snap = ChkSnap->isChecked();
    // The view is a comfort: a settings file that cannot be written costs nothing else.
    Settings::writeViewState(settingsFile(), view);
}

QWidget* frmTivaro::buildControls()
{
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);

    auto* screenBox = new QGroupBox(QStringLiteral("Bildschirm"), panel);
    auto* screenLayout = new QVBoxLayout(screenBox);
    ComboAnsicht = new QComboBox(screenBox);
    ComboAnsicht->setObjectName(QStringLiteral("ComboAnsicht"));
    ComboAnsicht->setEditable(false);
    ComboAnsicht->addItems(ScreenCatalogue::sortedNames());
    ComboAnsicht->setMaxVisibleItems(20);
    ComboAnsicht->setCurrentIndex(-1);
    ChkInfobar = new QCheckBox(QStringLiteral("Infobar eingeschaltet"), screenBox);
    ChkInfobar->setObjectName(QStringLiteral("ChkInfobar"));
    ChkInfobar->setChecked(true);
    ChkDummys = new QCheckBox(QStringLiteral("Dummys sichtbar"), screenBox);
    ChkDummys->setObjectName(QStringLiteral("ChkDummys"));
    for (QCheckBox* box : {ChkInfobar, ChkDummys}) {
        // Hiding them on other screens must not shift the rest of the panel.
        QSizePolicy policy = box->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        box->setSizePolicy(policy);
    }
    screenLayout->addWidget(ComboAnsicht);
    screenLayout->addWidget(ChkInfobar);
    screenLayout->addWidget(ChkDummys);
    column->addWidget(screenBox);

    auto* elementBox = new QGroupBox(QStringLiteral("Element"), panel);
    auto* grid = new QGridLayout(elementBox);
    Label2 = new QLabel(QStringLiteral("aktives Element:"), elementBox);
    Label2->setObjectName(QStringLiteral("Label2"));
    LBLiniName = new QLabel(m_canvas.nameLabel()->text(), elementBox);
    LBLiniName->setObjectName(QStringLiteral("LBLiniName"));
    LBLiniName->setMinimumWidth(180);
    // A long name is cut rather than widening the panel; the tool tip shows it whole.
    LBLiniName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    QFont bold = LBLiniName->font();
    bold.setBold(true);
    LBLiniName->setFont(bold);
    connect(m_canvas.nameLabel(), &CanvasText::textChanged, LBLiniName, [this](const QString& name) {
        LBLiniName->setText(name);
        LBLiniName->setToolTip(name);
    });
    grid->addWidget(Label2, 0, 0, 1, 4);
    grid->addWidget(LBLiniName, 1, 0, 1, 4);
    const struct { const char* label; QLineEdit** field; Field which; int row, col; } fields[] = {
        {"X", &txtX, FieldX, 2, 0},
        {"Y", &txtY, FieldY, 2, 2},
        {"CX", &txtCX, FieldCX, 3, 0},
        {"CY", &txtCY, FieldCY, 3, 2},
    };
    for (const auto& f : fields) {
        auto* label = new QLabel(QString::fromLatin1(f.label), elementBox);
        *f.field = new QLineEdit(elementBox);
        (*f.field)->setObjectName(fieldText(f.which)->objectName());
        (*f.field)->setFixedWidth(64);
        (*f.field)->setAlignment(Qt::AlignRight);
        // A field paints its whole rectangle, so a new value during a drag
        // repaints the field alone and not the group box behind it.
        (*f.field)->setAttribute(Qt::WA_OpaquePaintEvent);
        label->setBuddy(*f.field);
        grid->addWidget(label, f.row, f.col, Qt::AlignRight);
        grid->addWidget(*f.field, f.row, f.col + 1);
        bindField(*f.field, f.which);
    }
    grid->setColumnStretch(4, 1);
    column->addWidget(elementBox);

    auto* nudgeBox = new QGroupBox(QStringLiteral("Verschieben"), panel);
    auto* nudgeRow = new QHBoxLayout(nudgeBox);
    auto* cross = new QGridLayout;
    cross->setSpacing(4);
    nudgeRow->addStretch();
    nudgeRow->addLayout(cross);
    nudgeRow->addStretch();
    const QColor arrowColour = palette().color(QPalette::ButtonText);
    const struct { QPushButton** button; const char* name; const char* tip; int degrees, row, col; } arrows[] = {
        {&MoveN, "MoveN", "hoch", 0, 0, 1},
        {&MoveS, "MoveS", "runter", 180, 2, 1},
        {&MoveW, "MoveW", "links", 270, 1, 0},
        {&MoveO, "MoveO", "rechts", 90, 1, 2},
    };
    for (const auto& a : arrows) {
        *a.button = new QPushButton(nudgeBox);
        (*a.button)->setObjectName(QString::fromLatin1(a.name));
        (*a.button)->setToolTip(QString::fromLatin1(a.tip));
        (*a.button)->setIcon(arrowIcon(a.degrees, arrowColour));
        (*a.button)->setIconSize(QSize(20, 20));
        (*a.button)->setFixedSize(56, 32);
        (*a.button)->setAutoRepeat(true);
        cross->addWidget(*a.button, a.row, a.col);
    }
    BTNpos = new QPushButton(modeCaption(0), nudgeBox);
    BTNpos->setObjectName(QStringLiteral("BTNpos"));
    BTNpos->setToolTip(QStringLiteral("Modus"));
    BTNpos->setFixedSize(56, 32);
    cross->addWidget(BTNpos, 1, 1);
    column->addWidget(nudgeBox);

    auto* buttons = new QGridLayout;
    buttons->setSpacing(6);
    const struct { QPushButton** button; const char* name; const char* caption; const char* tip; int row, col; } plain[] = {
        {&BTNLoad, "BTNLoad", "Laden", "Layout laden", 0, 0},
        {&BTNSave, "BTNSave", "Speichern", "Layout speichern", 0, 1},
        {&BTNUndo, "BTNUndo", "Rückgängig", "Rückgängig", 1, 0},
        {&BTNRedo, "BTNRedo", "Wiederholen", "Wiederholen", 1, 1},
        {&BTNMisc, "BTNMisc", "Misc", "miscelangelous", 2, 0},
        {&BTNSkinManager, "BTNSkinManager", "Skins", "PDA", 2, 1},
        {&BTNCheck, "BTNCheck", "Prüfen", "Skin prüfen", 3, 0},
    };
    for (const auto& b : plain) {
        *b.button = new QPushButton(QString::fromUtf8(b.caption), panel);
        (*b.button)->setObjectName(QString::fromLatin1(b.name));
        (*b.button)->setToolTip(QString::fromUtf8(b.tip));
        buttons->addWidget(*b.button, b.row, b.col);
    }
    column->addLayout(buttons);
    auto* zoomRow = new QHBoxLayout;
    auto* zoomLabel = new QLabel(QStringLiteral("Zoom"), panel);
    m_zoomBox = new QComboBox(panel);
    m_zoomBox->setObjectName(QStringLiteral("ZoomBox"));
    m_zoomBox->setToolTip(QStringLiteral("Vergrößerung (Strg+Mausrad, Strg++, Strg+-, Strg+0 einpassen, Strg+1)"));
    for (int z : ViewTransform::Zooms)
        m_zoomBox->addItem(QStringLiteral("%1×").arg(z), z);
    zoomLabel->setBuddy(m_zoomBox);
    zoomRow->addWidget(zoomLabel);
    zoomRow->addWidget(m_zoomBox, 1);
    column->addLayout(zoomRow);
    connect(m_zoomBox, &QComboBox::activated, this, [this](int index) { setZoom(m_zoomBox->itemData(index).toInt()); });

    // Several elements: arranging them, and snapping while dragging.
    auto* arrangeRow = new QHBoxLayout;
    BTNAlign = new QPushButton(QStringLiteral("Ausrichten"), panel);
    BTNAlign->setObjectName(QStringLiteral("BTNAlign"));
    BTNAlign->setToolTip(QStringLiteral("Ausgewählte Elemente ausrichten, verteilen oder angleichen"));
    auto* menu = new QMenu(BTNAlign);
    using A = Alignment::Action;
    const struct { A action; const char* text; bool separatorBefore; } arrangements[] = {
        {A::Left, "Links ausrichten", false},
        {A::HorizontalCentre, "Horizontal zentrieren", false},
        {A::Right, "Rechts ausrichten", false},
        {A::Top, "Oben ausrichten", true},
        {A::VerticalCentre, "Vertikal zentrieren", false},
        {A::Bottom, "Unten ausrichten", false},
        {A::DistributeHorizontally, "Horizontal gleich verteilen", true},
        {A::DistributeVertically, "Vertikal gleich verteilen", false},
        {A::SameWidth, "Gleiche Breite", true},
        {A::SameHeight, "Gleiche Höhe", false},
    };
    for (const auto& a : arrangements) {
        if (a.separatorBefore)
            menu->addSeparator();
        const QString text = QString::fromUtf8(a.text);
        QAction* action = menu->addAction(text);
        const A what = a.action;
        connect(action, &QAction::triggered, this, [this, what, text] { m_document.arrange(what, text); });
    }
    BTNAlign->setMenu(menu);
    ChkSnap = new QCheckBox(QStringLiteral("Einrasten"), panel);
    ChkSnap->setObjectName(QStringLiteral("ChkSnap"));
    ChkSnap->setToolTip(QStringLiteral("Beim Ziehen an Kanten und Mitten einrasten (Alt hält es an)"));
    connect(ChkSnap, &QCheckBox::toggled, this, [this](bool on) { m_view->setSnapping(on); });
    arrangeRow->addWidget(BTNAlign, 1);
    arrangeRow->addWidget(ChkSnap);
    column->addLayout(arrangeRow);
    // Where the pointer is, in device pixels.
    LBLPointer = new QLabel(panel);
    LBLPointer->setObjectName(QStringLiteral("LBLPointer"));
    LBLPointer->setAccessibleName(QStringLiteral("Zeigerposition"));
    column->addWidget(LBLPointer);

    // What the last save wrote.
    LBLStatus = new QLabel(panel);
    LBLStatus->setObjectName(QStringLiteral("LBLStatus"));
    LBLStatus->setWordWrap(true);
    LBLStatus->setAccessibleName(QStringLiteral("Status"));
    column->addWidget(LBLStatus);
    column->addStretch();

    lbl_Version = new QLabel(panel);
    lbl_Version->setObjectName(QStringLiteral("lbl_Version"));
    lbl_Version->setAlignment(Qt::AlignRight);
    lbl_Version->setEnabled(false);
    column->addWidget(lbl_Version);

    connect(ComboAnsicht, &QComboBox::activated, this, [this] { ComboAnsicht_Click(); });
    connect(ChkInfobar, &QCheckBox::clicked, this, [this] { ChkInfobar_Click(); });
    connect(ChkDummys, &QCheckBox::clicked, this, [this] { ChkDummys_Click(); });
    connect(MoveN, &QPushButton::clicked, this, [this] { MoveN_Click(); });
    connect(MoveS, &QPushButton::clicked, this, [this] { MoveS_Click(); });
    connect(MoveW, &QPushButton::clicked, this, [this] { MoveW_Click(); });
    connect(MoveO, &QPushButton::clicked, this, [this] { MoveO_Click(); });
    connect(BTNpos, &QPushButton::clicked, this, [this] { BTNpos_Click(); });
    connect(BTNLoad, &QPushButton::clicked, this, [this] { BTNLoad_Click(); });
    connect(BTNSave, &QPushButton::clicked, this, [this] { BTNSave_Click(); });
    connect(BTNMisc, &QPushButton::clicked, this, [this] { BTNMisc_Click(); });
    connect(BTNSkinManager, &QPushButton::clicked, this, [this] { BTNSkinManager_Click(); });
    connect(BTNCheck, &QPushButton::clicked, this, [this] { BTNCheck_Click(); });
    return panel;
}

CanvasText* frmTivaro::fieldText(Field which) const
{
    CanvasText* const texts[] = {m_canvas.txtX(), m_canvas.txtY(), m_canvas.txtCX(), m_canvas.txtCY()};
    return texts[which];
}

QLineEdit* frmTivaro::field(Field which) const
{
    QLineEdit* const fields[] = {txtX, txtY, txtCX, txtCY};
    return fields[which];
}

void frmTivaro::bindField(QLineEdit* field, Field which)
{
    CanvasText* text = fieldText(which);
    field->setText(text->text());
    connect(text, &CanvasText::textChanged, field, [field](const QString& value) {
        // Rewriting an equal text would move the caret while the user types.
        if (field->text() != value)
            field->setText(value);
    });
    // Each edit places the selection, when the text is a number other than the one shown.
    connect(field, &QLineEdit::textEdited, this, [this, which, text](const QString& typed) {
        text->setText(typed);
        if (typed == m_elements.fieldText(which))
            return;
        const auto value = ParseNumberOrPoint(typed, m_elements.locale());
        if (!value)
            return;
        // The field keeps the user's text: rewriting "-0" as "0" would turn the next "5" into "05".
        const QSignalBlocker keep(text);
        m_document.typeValue(which, *value);
    });
    // Enter, Tab and leaving the field end the typing: it shows the element's value.
    connect(field, &QLineEdit::editingFinished, this, &frmTivaro::showActiveValues);
}

void frmTivaro::showActiveValues()
{
    m_document.finishStep();
    m_elements.paintSelector();
    for (const Field f : {FieldX, FieldY, FieldCX, FieldCY})
        field(f)->setText(fieldText(f)->text());
}

void frmTivaro::stepField(Field which, int step)
{
    if (m_document.current() < 0)
        return;
    // From what the field holds, typed or shown; with several selected that differ, from the current one.
    const auto typed = ParseNumberOrPoint(field(which)->text(), m_elements.locale());
    const double value = typed ? *typed : Layout::FieldNumbers(m_document.shown(m_document.current()))[which];
    m_document.typeValue(which, value + step);
    field(which)->setText(m_elements.fieldText(which));
}

void frmTivaro::buildActions()
{
    QUndoStack& history = m_document.undoStack();
    const auto make = [this](const char* text, QList<QKeySequence> keys, QPushButton* button, auto handler) {
        auto* action = new QAction(QString::fromUtf8(text), this);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        connect(action, &QAction::triggered, this, handler);
        if (button)
            connect(button, &QPushButton::clicked, action, &QAction::trigger);
        return action;
    };
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key : {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
        if (!redoKeys.contains(key))
            redoKeys << key;
    m_undo = make("Rückgängig", QKeySequence::keyBindings(QKeySequence::Undo), BTNUndo, &frmTivaro::BTNUndo_Click);
    m_redo = make("Wiederholen", redoKeys, BTNRedo, &frmTivaro::BTNRedo_Click);
    m_save = make("Speichern", {QKeySequence(Qt::CTRL | Qt::Key_S)}, nullptr, &frmTivaro::BTNSave_Click);

    // The buttons say which step they take back or do again.
    const auto follow = [](QAction* action, QPushButton* button, const QString& caption) {
        return [action, button, caption](const QString& step) {
            const QString tip = step.isEmpty() ? caption : caption + QStringLiteral(": ") + step;
            button->setToolTip(tip);
            action->setToolTip(tip);
        };
    };
    const auto undoText = follow(m_undo, BTNUndo, m_undo->text());
    const auto redoText = follow(m_redo, BTNRedo, m_redo->text());
    connect(&history, &QUndoStack::undoTextChanged, this, undoText);
    connect(&history, &QUndoStack::redoTextChanged, this, redoText);
    for (auto [action, button] : {std::pair{m_undo, BTNUndo}, std::pair{m_redo, BTNRedo}}) {
        action->setEnabled(false);
        button->setEnabled(false);
    }
    connect(&history, &QUndoStack::canUndoChanged, m_undo, &QAction::setEnabled);
    connect(&history, &QUndoStack::canUndoChanged, BTNUndo, &QPushButton::setEnabled);
    connect(&history, &QUndoStack::canRedoChanged, m_redo, &QAction::setEnabled);
    connect(&history, &QUndoStack::canRedoChanged, BTNRedo, &QPushButton::setEnabled);
    undoText({});
    redoText({});
    connect(&history, &QUndoStack::cleanChanged, this, [this](bool clean) {
        setWindowModified(!clean);
        if (!clean)
            LBLStatus->clear();
    });
    m_layout.setSavedNotice([this](const QStringList& files) {
        LBLStatus->setText(files.isEmpty() ? QStringLiteral("Keine Änderungen zu speichern.")
                                           : QStringLiteral("Gespeichert: ") + files.join(QStringLiteral(", ")));
        m_gallery->checkFiles();
        // A fixed element loses its outline at once.
        if (!files.isEmpty() && m_view->showsFindings()) {
            const QList<Finding> findings = SkinChecker::check(m_state.SkinFolder).findings;
            m_list->setFindings(findings);
            m_view->setFindings(findings);
        }
    });
}

QAction* frmTivaro::actionFor(const QKeyEvent* key) const
{
    const QKeySequence pressed(key->keyCombination());
    for (QAction* action : {m_undo, m_redo, m_save})
        if (action->shortcuts().contains(pressed))
            return action;
    return nullptr;
}

void frmTivaro::BTNUndo_Click()
{
    m_document.undoStack().undo();
}

void frmTivaro::BTNRedo_Click()
{
    m_document.undoStack().redo();
}

// ---- start and stop ----

QString frmTivaro::settingsFile() const
{
    return Settings::filePath(m_state.settingsFolder());
}

void frmTivaro::Form_Load()
{
    lbl_Version->setText(QStringLiteral("Tivaro v") + QStringLiteral(TIVARO_VERSION));
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
    restoreView();
}

bool frmTivaro::Form_Unload()
{
    return m_layout.offerSave();
}

void frmTivaro::closeEvent(QCloseEvent* event)
{
    // A failed save keeps the window open: closing now would lose the edits.
    if (Form_Unload()) {
        storeView();
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
    m_list->setFindings({}); // the last check was of the other folder
    m_view->setFindings({});
    m_state.SkinFolder = path;
    if (!path.endsWith(u'\\') && !path.endsWith(u'/'))
        m_state.SkinFolder += QDir::separator();
    m_state.LayoutLoaded = true;
    m_layout.CheckForSave(ComboAnsicht->currentText());
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
    ComboAnsicht->setCurrentIndex(ComboAnsicht->findText(MainMenuScreen));
    useSkinFolder(QDir::toNativeSeparators(info.absoluteFilePath()));
    // Kept edits keep their screen, and the list says which one that is.
    if (!m_layout.currentScreen().isEmpty())
        ComboAnsicht->setCurrentIndex(ComboAnsicht->findText(m_layout.currentScreen()));
    ComboAnsicht->setFocus();
    return true;
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
    m_list->setFindings(result.findings);
    m_view->setFindings(result.findings);
    if (!result.readable || result.findings.isEmpty()) {
        m_state.prompter->note(title, result.readable ? QStringLiteral("Keine Befunde: der Skin ist in Ordnung.")
                                                      : QStringLiteral("Der Skin-Ordner lässt sich nicht lesen."));
        return;
    }
    CheckDialog dialog(result.findings, this);
    if (m_state.prompter->runDialog(dialog) && dialog.chosen())
        showFinding(*dialog.chosen());
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
    ChkDummys->setVisible(visible);
    ChkInfobar->setVisible(visible);
}

bool frmTivaro::infobarTicked() const
{
    return ChkInfobar->isChecked();
}

bool frmTivaro::dummysTicked() const
{
    return ChkDummys->isChecked();
}

// ---- nudging and keys ----

void frmTivaro::BTNpos_Click()
{
    m_nudgeMode = (m_nudgeMode + 1) % 3;
    BTNpos->setText(modeCaption(m_nudgeMode));
    focusNudging();
}

void frmTivaro::MoveN_Click() { nudge(North); }
void frmTivaro::MoveS_Click() { nudge(South); }
void frmTivaro::MoveW_Click() { nudge(West); }
void frmTivaro::MoveO_Click() { nudge(East); }

void frmTivaro::nudge(Direction direction)
{
    static constexpr NudgeDirection directions[] = {NudgeDirection::North, NudgeDirection::South,
                                                    NudgeDirection::West, NudgeDirection::East};
    m_document.nudge(NudgeMode(m_nudgeMode), directions[direction]);
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
    // Ctrl switches the mode when it comes up again without another key in
    // between, so Ctrl+A, Ctrl+Z and the like leave the mode alone.
    m_ctrlAlone = KeyCode == Qt::Key_Control;
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
    if (const std::optional<Field> inField = fieldOf(focus); inField && mods == Qt::NoModifier) {
        // In a coordinate field ← and → move the caret; ↑ and ↓ step its value by a pixel.
        if (KeyCode == Qt::Key_Left || KeyCode == Qt::Key_Right)
            return false;
        stepField(*inField, KeyCode == Qt::Key_Up ? 1 : -1);
        return true;
    }
    if (mods != Qt::NoModifier || (focus && (focus == ComboAnsicht || ComboAnsicht->isAncestorOf(focus)))
        || QApplication::activePopupWidget())
        return false;
    switch (KeyCode) {
    case Qt::Key_Left: MoveW_Click(); break;
    case Qt::Key_Up: MoveN_Click(); break;
    case Qt::Key_Right: MoveO_Click(); break;
    case Qt::Key_Down: MoveS_Click(); break;
    }
    return true;
}

std::optional<Field> frmTivaro::fieldOf(const QObject* widget) const
{
    for (const Field f : {FieldX, FieldY, FieldCX, FieldCY})
        if (widget && widget == field(f))
            return f;
    return std::nullopt;
}

bool frmTivaro::Form_KeyUp(int KeyCode, Qt::KeyboardModifiers)
{
    if (KeyCode != Qt::Key_Control || !m_ctrlAlone)
        return false;
    m_ctrlAlone = false;
    BTNpos_Click();
    return true;
}

bool frmTivaro::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress)
        m_ctrlAlone = false; // Ctrl+click is no Ctrl alone
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != this)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // A key during a canvas gesture ends it first, undone: Escape for that alone,
    // any other (a shortcut such as Ctrl+Z, too) so that its own step never mixes
    // with the drag.
    const bool modifier = key->key() == Qt::Key_Shift || key->key() == Qt::Key_Control || key->key() == Qt::Key_Alt
                          || key->key() == Qt::Key_Meta;
    if (type != QEvent::KeyRelease && !modifier && m_view->cancelGesture() && key->key() == Qt::Key_Escape)
        return true;
    if (type == QEvent::ShortcutOverride) {
        // A shortcut may take the key press itself away.
        if (key->key() != Qt::Key_Control)
            m_ctrlAlone = false;
        // A line edit would keep Ctrl+Z for its own undo: the window takes the
        // key first, as a key press, and undoes a step of the layout.
        if (qobject_cast<QLineEdit*>(widget) && actionFor(key)) {
            key->accept();
            return true;
        }
        return false;
    }
    if (type == QEvent::KeyRelease)
        return !key->isAutoRepeat() && Form_KeyUp(key->key(), key->modifiers());
    // Escape in a coordinate field drops what was typed: the element's value shows again.
    if (key->key() == Qt::Key_Escape && fieldOf(widget)) {
        showActiveValues();
        return true;
    }
    // The first receiver only: an unused key travels on to the parents, and
    // the window must see it once.
    QWidget* first = QApplication::focusWidget();
    if (!first || first->window() != this)
        first = this;
    // The press of a key taken from a line edit's own shortcuts (see above).
    QAction* action = actionFor(key);
    if (action && (widget == first || qobject_cast<QLineEdit*>(widget))) {
        action->trigger();
        return true;
    }
    if (widget != first)
        return false;
    return Form_KeyDown(key->key(), key->modifiers());
}

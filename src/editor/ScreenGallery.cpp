#include "ScreenGallery.h"

#include "AppState.h"
#include "Canvas.h"
#include "LayoutDocument.h"
#include "ScreenRenderer.h"

#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr QSize ThumbSize(Canvas::ScreenWidth / ScreenGallery::Scale,
                          (Canvas::ScreenHeight + ScreenGallery::Scale - 1) / ScreenGallery::Scale);
constexpr int Columns = 2;
// How long drawing waits while a mouse button is held, in milliseconds.
constexpr int DragPause = 100;
// Room beside a thumbnail for its name, and around the name inside the button.
constexpr int NameRoom = 24;
constexpr int ButtonPadding = 4;

struct Group
{
    const char* caption;
    std::initializer_list<LoaderKind> kinds;
};

const Group Groups[] = {
    {"Menüs und Seiten", {LoaderKind::Main}},
    {"Kartenansichten", {LoaderKind::MapView}},
    {"Dialoge", {LoaderKind::MsgBox}},
    {"Listen", {LoaderKind::ListBox, LoaderKind::ListBoxT9}},
};

QPixmap placeholder(const QColor& colour)
{
    QPixmap pixmap(ThumbSize);
    pixmap.fill(colour);
    return pixmap;
}

} // namespace

ScreenGallery::ScreenGallery(const AppState& state, const LayoutDocument& document, QWidget* parent)
    : QScrollArea(parent), m_state(state), m_document(document)
{
    setObjectName(QStringLiteral("ScreenGallery"));
    setAccessibleName(QStringLiteral("Bildschirme"));
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_tick.setSingleShot(true);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        // A drag goes first: its pointer moves must not pile up behind a thumbnail.
        if (QGuiApplication::mouseButtons() != Qt::NoButton)
            m_tick.start(DragPause);
        else if (drawNext())
            schedule();
    });
    // A save replaces a file in several steps; one look after the last report is enough.
    m_settle.setInterval(100);
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &ScreenGallery::checkFiles);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_document, &LayoutDocument::loaded, this, &ScreenGallery::followDocument);
    build();
}

ScreenGallery::~ScreenGallery() = default;

void ScreenGallery::build()
{
    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    const QStringList order = ScreenCatalogue::sortedNames();
    const QPixmap empty = placeholder(palette().color(QPalette::Mid));
    for (const Group& group : Groups) {
        auto* caption = new QLabel(QString::fromUtf8(group.caption), content);
        QFont bold = caption->font();
        bold.setBold(true);
        caption->setFont(bold);
        column->addWidget(caption);
        auto* grid = new QGridLayout;
        column->addLayout(grid);
        int index = 0;
        for (const QString& name : order) {
            const ScreenEntry* entry = ScreenCatalogue::find(name);
            if (std::find(group.kinds.begin(), group.kinds.end(), entry->loader) == group.kinds.end())
                continue;
            auto* button = new QToolButton(content);
            button->setObjectName(QStringLiteral("thumbnail ") + name);
            button->setAccessibleName(name);
            button->setToolTip(name);
            // Long names end in "…"; the tool tip has them whole.
            button->setText(button->fontMetrics().elidedText(name, Qt::ElideRight, ThumbSize.width() + NameRoom));
            button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            button->setIconSize(ThumbSize);
            button->setIcon(empty);
            button->setCheckable(true);
            button->setAutoRaise(true);
            connect(button, &QToolButton::clicked, this, [this, name] {
                emit screenChosen(name);
                // A kept screen stays the marked one.
                followDocument();
            });
            grid->addWidget(button, index / Columns, index % Columns);
            ++index;
            m_thumbs.push_back({entry, button, {}, false});
        }
    }
    column->addStretch(1);
    content->installEventFilter(this); // its first paint
    // One width for all, so the thumbnails stand in straight columns.
    for (const Thumb& t : m_thumbs)
        t.button->setFixedWidth(ThumbSize.width() + NameRoom + 2 * ButtonPadding);
    setWidget(content);
    setMinimumWidth(content->sizeHint().width() + verticalScrollBar()->sizeHint().width() + 2 * frameWidth());
}

QToolButton* ScreenGallery::thumbnail(const QString& screen) const
{
    for (const Thumb& t : m_thumbs)
        if (t.screen->displayName == screen)
            return t.button;
    return nullptr;
}

bool ScreenGallery::isWaiting(const QString& screen) const
{
    for (const Thumb& t : m_thumbs)
        if (t.screen->displayName == screen)
            return t.waiting;
    return false;
}

void ScreenGallery::followDocument()
{
    if (m_painted && m_state.LayoutLoaded && m_state.SkinFolder != m_folder)
        openSkin(m_state.SkinFolder);
    const QString shown = m_document.binding().screen;
    for (const Thumb& t : m_thumbs)
        t.button->setChecked(t.screen->displayName == shown);
}

void ScreenGallery::openSkin(const QString& folder)
{
    m_folder = folder;
    m_renderer = std::make_unique<ScreenRenderer>(m_state.AppPath);
    // The very paths the editor reads, so both share the parsed files.
    m_renderer->open(QDir(folder).absolutePath());
    readFiles();
    m_stamps = stamps();
    for (Thumb& t : m_thumbs)
        t.waiting = true;
    watch();
    schedule();
}

void ScreenGallery::readFiles()
{
    AppState probe;
    probe.SkinFolder = m_folder;
    getiniVersion(probe);
    m_fileSet = probe.LayoutFileSet;
    for (Thumb& t : m_thumbs) {
        const ScreenBinding binding = BindScreen(*t.screen, m_fileSet, {});
        t.files.clear();
        // Every slot of a map view, shown or not: a dummy can be switched on.
        for (int slot = 0; slot <= binding.lastSlot; ++slot)
            if (!binding.ElementFile[slot].isEmpty() && !t.files.contains(binding.ElementFile[slot].toLower()))
                t.files << binding.ElementFile[slot].toLower();
    }
}

QHash<QString, IniCache::Stamp> ScreenGallery::stamps() const
{
    QHash<QString, IniCache::Stamp> result;
    for (const Thumb& t : m_thumbs)
        for (const QString& file : t.files)
            if (!result.contains(file))
                IniCache::resolve(m_folder + file, &result[file]);
    return result;
}

void ScreenGallery::checkFiles()
{
    if (m_folder.isEmpty())
        return;
    const LayoutFiles before = m_fileSet;
    readFiles();
    const QHash<QString, IniCache::Stamp> now = stamps();
    for (Thumb& t : m_thumbs) {
        if (m_fileSet != before)
            t.waiting = true;
        for (const QString& file : t.files)
            if (now.value(file) != m_stamps.value(file))
                t.waiting = true;
    }
    m_stamps = now;
    // A file replaced by renaming is a new file to the watcher.
    watch();
    schedule();
}

void ScreenGallery::watch()
{
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    if (!watched.isEmpty())
        m_watcher.removePaths(watched);
    QStringList paths{m_folder};
    IniCache::Stamp stamp;
    for (auto it = m_stamps.cbegin(); it != m_stamps.cend(); ++it)
        if (it->kind == IniCache::Kind::File)
            paths << IniCache::resolve(m_folder + it.key(), &stamp);
    m_watcher.addPaths(paths);
}

void ScreenGallery::schedule()
{
    // Hidden thumbnails wait until the gallery shows, and the first until it has been painted.
    if (m_painted && isVisible() && std::any_of(m_thumbs.begin(), m_thumbs.end(), [](const Thumb& t) { return t.waiting; }))
        m_tick.start(0);
}

void ScreenGallery::showEvent(QShowEvent* event)
{
    QScrollArea::showEvent(event);
    schedule();
}

bool ScreenGallery::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == widget() && event->type() == QEvent::Paint && !m_painted) {
        m_painted = true;
        followDocument();
        schedule();
    }
    return QScrollArea::eventFilter(watched, event);
}

bool ScreenGallery::isOnView(const QToolButton* button) const
{
    return QRect(button->mapTo(viewport(), QPoint()), button->size()).intersects(viewport()->rect());
}

bool ScreenGallery::drawNext()
{
    Thumb* next = nullptr;
    for (Thumb& t : m_thumbs) {
        if (!t.waiting)
            continue;
        if (isOnView(t.button)) {
            next = &t;
            break;
        }
        if (!next)
            next = &t;
    }
    if (!next || !m_renderer)
        return false;
    next->waiting = false;
    // Kept in 16-bit colour: 48 thumbnails in 32 bits would take 1.6 MB.
    next->button->setIcon(QPixmap::fromImage(m_renderer->thumbnail(next->screen->displayName, ThumbSize),
                                             Qt::NoFormatConversion));
    return std::any_of(m_thumbs.begin(), m_thumbs.end(), [](const Thumb& t) { return t.waiting; });
}

#include "ScreenLayout.h"

#include "AppState.h"
#include "BindingView.h"
#include "Canvas.h"
#include "Elements.h"
#include "Ini.h"
#include "IniCache.h"
#include "NumberText.h"
#include "Paths.h"
#include "Prompter.h"
#include "Twips.h"

#include <QDir>
#include <QFileInfo>

#include <array>
#include <cmath>
#include <map>

namespace {

// The route and next-turn panels show only their bottom part of this height.
constexpr int MapInfoPanelHeight = 60;

const QString KeyX = QStringLiteral("x");
const QString KeyY = QStringLiteral("y");
const QString KeyCX = QStringLiteral("cx");
const QString KeyCY = QStringLiteral("cy");

// The INI keys of one slot in the order they are written, with their values.
using SlotValues = std::array<std::pair<QString, QString>, 4>;

// The layout file as it is on disk now; null when it is missing or unreadable.
std::shared_ptr<const IniDocument> storedLayout(const QString& file)
{
    IniCache::Stamp stamp;
    const QString path = IniCache::resolve(file, &stamp);
    return stamp.kind == IniCache::Kind::File ? IniCache::instance().load(path, stamp) : nullptr;
}

} // namespace

ScreenLayout::ScreenLayout(AppState& state, Canvas& canvas, Elements& elements, BindingView& view)
    : m_state(state)
    , m_canvas(canvas)
    , m_elements(elements)
    , m_document(elements.document())
    , m_view(view)
{
}

bool ScreenLayout::LayoutChanged() const
{
    return m_document.isModified();
}

// ---------------------------------------------------------------------------
// Save check

bool ScreenLayout::CheckForSave(const QString& screenName)
{
    if (!m_state.LayoutLoaded)
        return true;
    if (!offerSave())
        return false;
    getiniVersion(m_state, m_currentName);
    if (screenName.isEmpty())
        return true;

    m_previousName = m_currentName;
    m_currentName = screenName;
    const bool changed = m_previousName != m_currentName;
    if (ScreenCatalogue::isMapView(screenName)) {
        InitKartenansicht(m_state, m_view);
    } else if (screenName == QLatin1String("EinfacheListe") || screenName == QLatin1String("Wegeliste")) {
        if (changed)
            InitEinfacheListe(m_state, m_view, screenName);
    } else if (screenName == QLatin1String("AdresseingabeEdit") || screenName == QLatin1String("ZieleingabeEdit")) {
        if (changed)
            InitAdresseingabeEdit(m_state, m_view, screenName);
    } else if (changed) {
        RunBindingRoutine(screenName, m_state, m_view);
    }
    SetTheControls(screenName);
    return true;
}

bool ScreenLayout::offerSave()
{
    if (!m_state.LayoutLoaded || !LayoutChanged())
        return true;
    const auto answer = m_state.prompter->ask(QStringLiteral("Frage:"),
                                              QStringLiteral("Soll die Datei gespeichert werden?"),
                                              Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
    if (answer == Prompter::Answer::Cancel)
        return false;
    if (answer == Prompter::Answer::Yes)
        return BTNSave_Click();
    // Given up: whatever replaces the screen now asks no second time.
    m_document.undoStack().clear();
    return true;
}

// ---------------------------------------------------------------------------
// Saving

bool ScreenLayout::BTNSave_Click()
{
    if (!m_state.LayoutLoaded)
        return true;

    // The rules follow the screen that is bound, not the text of the screen
    // list: when the list has just moved on to another screen, the elements on
    // the canvas still belong to the previous one.
    const QString& name = m_currentName;
    const auto kind = ScreenCatalogue::loaderKindOf(name);
    const bool listLike = kind == LoaderKind::ListBox || kind == LoaderKind::ListBoxT9;
    const bool mapView = ScreenCatalogue::isMapView(name);
    const int lastSlot = std::min<int>(m_state.Binding.lastSlot, m_document.count() - 1);
    const double tppX = m_state.TwipsPerPixelX;
    const double tppY = m_state.TwipsPerPixelY;
    const QLocale& locale = m_elements.locale();
    auto text = [&](double pixels) { return DoubleText(pixels, locale); };
    const QString zero = QStringLiteral("0");
    const int partBase = kind == LoaderKind::ListBoxT9 ? 1 : 0; // the list box slot
    const int item = partBase + 1, up = partBase + 2, down = partBase + 3, ok = partBase + 4;

    const bool hasInfoBar = mapView && lastSlot >= MapSlots::Infobar;
    const qint32 infoBarHeight = hasInfoBar ? Twips::whole(m_document.frame(MapSlots::Infobar).height() / tppY) : 0;
    // Only what changed on this screen is written, together with what the rules
    // derive from it: the info bar's height decides the stored y of every
    // element that follows it. An untouched element keeps its lines, and a
    // section the file lacks is not invented.
    const bool infoBarChanged = mapView && m_document.changedSinceSave(MapSlots::Infobar);
    auto toWrite = [&](int slot) {
        return m_document.changedSinceSave(slot) || (infoBarChanged && m_document.element(slot).depend);
    };

    // One batch per file keeps the order of the writes within each file, which
    // is all that decides its bytes.
    struct FileWrites
    {
        std::unique_ptr<IniBatch> writes;
        std::shared_ptr<const IniDocument> stored;
        bool changes = false;
    };
    std::map<QString, FileWrites> batches;
    QStringList fileOrder;
    for (int slot = 0; slot <= lastSlot; ++slot) {
        if ((listLike && (slot == up || slot == down)) || !toWrite(slot))
            continue;
        const LayoutElement& e = m_document.element(slot);
        const QRect r = m_document.frame(slot);
        const QPointF origin = m_document.origin(slot);
        double y = (r.top() - origin.y()) / tppY;
        if (!listLike && e.depend)
            y += infoBarHeight - 2;
        SlotValues v = {{{KeyX, text((r.left() - origin.x()) / tppX)},
                         {KeyY, text(y)},
                         {KeyCX, text(r.width() / tppX)},
                         {KeyCY, text(r.height() / tppY)}}};
        if (listLike && (slot == item || slot == ok))
            v[0].second = v[1].second = zero;
        if (mapView && slot == MapSlots::From)
            v[0].second = zero;
        if (mapView && (slot == MapSlots::RouteInfo || slot == MapSlots::NextInfo))
            v[3].second = QString::number(MapInfoPanelHeight);

        const QString file = layoutFile(slot);
        auto& batch = batches[file];
        if (!batch.writes) {
            batch.writes = std::make_unique<IniBatch>(file);
            batch.stored = storedLayout(file);
            fileOrder << file;
        }
        // A key that already reads as its new value keeps its bytes: its
        // spelling, quotes and comment stay as the skin's author wrote them.
        for (const auto& [key, value] : v) {
            const auto stored = batch.stored ? batch.stored->value(e.section, key) : std::nullopt;
            if (!stored || LayoutNumber(*stored, locale) != LayoutNumber(value, locale)) {
                batch.writes->write(e.section, key, value);
                batch.changes = true;
            }
        }
    }

    // One save pays for durability once, however many files it changes.
    std::vector<IniBatch*> inOrder;
    QStringList written;
    for (const QString& file : std::as_const(fileOrder)) {
        inOrder.push_back(batches[file].writes.get());
        if (batches[file].changes)
            written << QFileInfo(file).fileName();
    }
    QStringList failed;
    for (const QString& file : IniBatch::commitTogether(inOrder))
        failed << QDir::toNativeSeparators(file);
    if (!failed.isEmpty()) {
        m_state.prompter->ask(QStringLiteral("Hinweis:"),
                              QStringLiteral("Das Layout konnte nicht vollständig gespeichert werden.\r\n"
                                             "Diese Dateien lassen sich nicht schreiben:\r\n")
                                  + failed.join(QStringLiteral("\r\n"))
                                  + QStringLiteral("\r\nDie Änderungen bleiben erhalten."),
                              Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
        return false;
    }
    m_document.markSaved();
    if (m_savedNotice)
        m_savedNotice(written);
    return true;
}

QString ScreenLayout::layoutFile(int slot) const
{
    return FindAnyCase(m_state.SkinFolder, m_state.Binding.ElementFile[slot]);
}

// ---------------------------------------------------------------------------
// Loading

void ScreenLayout::SetTheControls(const QString& screenName)
{
    m_loading.clear();
    if (ScreenCatalogue::isMapView(screenName)) {
        loadMapView(screenName);
    } else if (const auto kind = ScreenCatalogue::loaderKindOf(screenName)) {
        switch (*kind) {
        case LoaderKind::Main: SetMainControls(screenName); break;
        case LoaderKind::MsgBox: SetMsgBoxControls(screenName); break;
        case LoaderKind::ListBox: SetListBoxControls(screenName); break;
        case LoaderKind::ListBoxT9: SetListBoxt9Controls(screenName); break;
        case LoaderKind::MapView: loadMapView(screenName); break;
        }
    } else {
        finishLoad(Dependents::None, -1);
    }
    m_state.LayoutLoaded = true;
}

void ScreenLayout::startLoad(bool mapView)
{
    m_canvas.background()->loadPicture(m_state.AppPath + ScreenCatalogue::backgroundBitmap(mapView));
}

void ScreenLayout::finishLoad(Dependents dependents, int current)
{
    const ScreenRules rules{dependents, m_state.ViewIndex, m_state.TwipsPerPixelX, m_state.TwipsPerPixelY};
    m_document.load(std::move(m_loading), rules, current);
    m_loading.clear();
}

void ScreenLayout::SetMainControls(const QString& screenName)
{
    startLoad(false);
    for (int slot = 0; slot <= m_state.Binding.lastSlot; ++slot)
        loadSlot(slot, screenName, {}, readRectangle(slot));
    finishLoad(Dependents::None, m_state.Binding.lastSlot);
}

void ScreenLayout::SetMsgBoxControls(const QString& screenName)
{
    startLoad(false);
    // Everything in a message box counts from the box itself, slot 0.
    for (int slot = 0; slot <= m_state.Binding.lastSlot; ++slot)
        loadSlot(slot, screenName, {slot == 0 ? -1 : 0, {}}, readRectangle(slot));
    finishLoad(Dependents::None, m_state.Binding.lastSlot);
}

void ScreenLayout::SetListBoxControls(const QString& screenName)
{
    loadList(screenName, 0, Dependents::List);
}

void ScreenLayout::SetListBoxt9Controls(const QString& screenName)
{
    loadList(screenName, 1, Dependents::ListT9);
}

void ScreenLayout::loadList(const QString& screenName, int listSlot, Dependents dependents)
{
    startLoad(false);
    const int item = listSlot + 1, up = listSlot + 2, down = listSlot + 3, ok = listSlot + 4;
    const int last = m_state.Binding.lastSlot;
    for (int slot = 0; slot <= last; ++slot) {
        SlotRule rule;
        if (slot >= item && slot <= ok)
            rule.coSystem = listSlot;
        if (slot == item)
            rule.touch = {false, false, true, true};
        else if (slot == up || slot == down)
            rule.touch = {false, false, false, false};
        else if (slot == ok)
            rule.touch = {true, true, false, true};
        loadSlot(slot, screenName, rule, readRectangle(slot));
    }
    if (last < ok) {
        finishLoad(dependents, last);
        return;
    }
    Rects rects;
    for (const LayoutElement& e : m_loading)
        rects.push_back(e.rect);
    Layout::ListPostPass(rects, listSlot, {dependents, 0, m_state.TwipsPerPixelX, m_state.TwipsPerPixelY});
    for (int slot = item; slot <= ok; ++slot)
        m_loading[slot].rect = rects[slot];
    finishLoad(dependents, ok);
}

void ScreenLayout::loadMapView(const QString& screenName)
{
    if (screenName == QLatin1String("Kartenansicht 1"))
        m_state.ViewIndex = 0;
    else if (screenName == QLatin1String("Kartenansicht 2"))
        m_state.ViewIndex = 1;
    else if (screenName == QLatin1String("Kartenansicht 3"))
        m_state.ViewIndex = 2;
    startLoad(true);

    const ScreenBinding& b = m_state.Binding;
    const double infoBarCy = LayoutNumber(
        ReadIni(layoutFile(MapSlots::Infobar), b.ElementSection[MapSlots::Infobar], KeyCY, 0), m_elements.locale());
    const qint32 infoBarHeight = std::fabs(infoBarCy) < 1e9 ? qint32(std::floor(infoBarCy)) : 0;

    for (int slot = 0; slot < SlotCount; ++slot) {
        const int dummy = m_state.ViewIndex == 0 ? MapSlots::SmallDummy : MapSlots::LargeDummy;
        FieldValues values = readRectangle(slot, slot == MapSlots::From ? b.ElementSection[dummy] : QString());
        if (slot == MapSlots::RouteInfo || slot == MapSlots::NextInfo) {
            // The panel shows only its bottom part.
            values[FieldY] = Layout::AsFieldText(std::floor(values[FieldY]) + std::floor(values[FieldCY])
                                                 - MapInfoPanelHeight);
            values[FieldCY] = MapInfoPanelHeight;
        }
        const bool depend = b.ElementDepends[slot] && m_view.infobarTicked();
        loadSlot(slot, screenName, {}, values, depend ? infoBarHeight - 2.0 : 0.0);
    }
    finishLoad(Dependents::Map, SlotCount - 1);
}

void ScreenLayout::loadSlot(int slot, const QString& screenName, const SlotRule& rule, const FieldValues& values,
                            double d)
{
    const ScreenBinding& b = m_state.Binding;
    LayoutElement e;
    e.section = b.ElementSection[slot];
    e.file = b.ElementFile[slot];
    e.picture = m_state.AppPath + ScreenCatalogue::elementBitmap(screenName, e.section);
    e.visible = b.ElementVisible[m_state.ViewIndex][slot];
    e.touch = rule.touch;
    e.factor = b.NudgeFactor[slot];
    e.coSystem = rule.coSystem;
    e.depend = b.ElementDepends[slot] && m_view.infobarTicked();
    const QPointF origin = rule.coSystem >= 0 ? QPointF(Twips::whole(m_loading[rule.coSystem].rect.x()),
                                                        Twips::whole(m_loading[rule.coSystem].rect.y()))
                                              : QPointF(0, 0);
    FieldValues shifted = values;
    shifted[FieldY] -= d;
    const ScreenRules rules{Dependents::None, 0, m_state.TwipsPerPixelX, m_state.TwipsPerPixelY};
    // A value the canvas refuses leaves the element empty at its frame's corner.
    e.rect = Layout::Placed(origin, shifted, rules).value_or(QRectF(origin, QSizeF(0, 0)));
    m_loading.push_back(std::move(e));
}

FieldValues ScreenLayout::readRectangle(int slot, const QString& xSection) const
{
    const ScreenBinding& b = m_state.Binding;
    const QString file = layoutFile(slot);
    const QString& section = b.ElementSection[slot];
    const QLocale& locale = m_elements.locale();
    // Read as MN4 reads them, so that what the editor shows is where MN4 draws
    // it; a negative size draws nothing, as an empty one does.
    const auto read = [&](const QString& sectionName, const QString& key, int defaultValue, bool size) {
        const double value = LayoutNumber(ReadIni(file, sectionName, key, defaultValue), locale);
        return Layout::AsFieldText(size ? std::max(0.0, value) : value);
    };
    return {read(xSection.isEmpty() ? section : xSection, KeyX, 0, false), read(section, KeyY, 0, false),
            read(section, KeyCX, 20, true), read(section, KeyCY, 20, true)};
}

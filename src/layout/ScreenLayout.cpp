#include "ScreenLayout.h"

#include "AppState.h"
#include "BindingView.h"
#include "Canvas.h"
#include "Elements.h"
#include "Ini.h"
#include "NumberText.h"
#include "Paths.h"
#include "Prompter.h"
#include "Twips.h"

#include <QDir>

#include <cmath>

namespace {

// The route and next-turn panels show only their bottom part of this height.
constexpr int MapInfoPanelHeight = 60;

const QString KeyX = QStringLiteral("x");
const QString KeyY = QStringLiteral("y");
const QString KeyCX = QStringLiteral("cx");
const QString KeyCY = QStringLiteral("cy");

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
// Save check and binding

bool ScreenLayout::CheckForSave(const QString& screenName)
{
    if (!m_state.LayoutLoaded)
        return true;
    if (!offerSave())
        return false;
    getiniVersion(m_state);
    if (screenName.isEmpty())
        return true;
    SetTheControls(bind(screenName));
    return true;
}

ScreenBinding ScreenLayout::bind(const QString& screenName) const
{
    const ScreenEntry* entry = ScreenCatalogue::find(screenName);
    if (!entry) {
        // A name the catalogue does not know binds nothing: the canvas stays empty.
        ScreenBinding nothing;
        nothing.screen = screenName;
        return nothing;
    }
    m_view.setMapBoxesVisible(entry->loader == LoaderKind::MapView);
    return BindScreen(*entry, m_state.LayoutFileSet, {m_view.infobarTicked(), m_view.dummysTicked()});
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
        return save();
    // Given up: whatever replaces the screen now asks no second time.
    m_document.undoStack().clear();
    return true;
}

// ---------------------------------------------------------------------------
// Saving

bool ScreenLayout::save()
{
    if (!m_state.LayoutLoaded)
        return true;
    // The rules follow the screen that is bound, not the text of the screen
    // list: when the list has just moved on to another screen, the elements on
    // the canvas still belong to the previous one.
    const ScreenBinding& b = m_document.binding();
    const int lastSlot = std::min<int>(b.lastSlot, m_document.count() - 1);
    const bool hasInfoBar = b.isMapView() && lastSlot >= MapSlots::Infobar;
    const qint32 infoBarHeight =
        hasInfoBar ? Twips::whole(m_document.frame(MapSlots::Infobar).height() / m_state.TwipsPerPixelY) : 0;

    LayoutWrites writes(m_elements.locale());
    for (int slot = 0; slot <= lastSlot; ++slot)
        if (!b.listParts().isScroll(slot) && toWrite(slot))
            writes.add(layoutFile(b, slot), b.ElementSection[slot], savedValues(slot, infoBarHeight));
    const QStringList failed = writes.commit();
    if (!failed.isEmpty()) {
        reportFailure(failed);
        return false;
    }
    m_document.markSaved();
    if (m_savedNotice)
        m_savedNotice(writes.changedFiles());
    return true;
}

bool ScreenLayout::toWrite(int slot) const
{
    // Only what changed is written, with what the rules derive from it: the
    // info bar's height decides the stored y of every element that follows it.
    // An untouched element keeps its lines, and a section the file lacks is not invented.
    const bool infoBarChanged = m_document.binding().isMapView() && m_document.changedSinceSave(MapSlots::Infobar);
    return m_document.changedSinceSave(slot) || (infoBarChanged && m_document.binding().depends(slot));
}

SlotValues ScreenLayout::savedValues(int slot, qint32 infoBarHeight) const
{
    const ScreenBinding& b = m_document.binding();
    const ListParts list = b.listParts();
    const double tppX = m_state.TwipsPerPixelX;
    const double tppY = m_state.TwipsPerPixelY;
    const auto text = [&](double pixels) { return DoubleText(pixels, m_elements.locale()); };
    const QRect r = m_document.frame(slot);
    const QPointF origin = m_document.origin(slot);
    double y = (r.top() - origin.y()) / tppY;
    if (list.list < 0 && b.depends(slot))
        y += infoBarHeight - 2;
    SlotValues v = {{{KeyX, text((r.left() - origin.x()) / tppX)},
                     {KeyY, text(y)},
                     {KeyCX, text(r.width() / tppX)},
                     {KeyCY, text(r.height() / tppY)}}};
    // Values the loader derives are stored as MN4 expects them, not as placed.
    const QString zero = QStringLiteral("0");
    if (list.isSizeOnly(slot))
        v[FieldX].second = v[FieldY].second = zero;
    if (b.isMapView() && slot == MapSlots::From)
        v[FieldX].second = zero;
    if (b.isMapView() && (slot == MapSlots::RouteInfo || slot == MapSlots::NextInfo))
        v[FieldCY].second = QString::number(MapInfoPanelHeight);
    return v;
}

void ScreenLayout::reportFailure(const QStringList& failed) const
{
    QStringList shown;
    for (const QString& file : failed)
        shown << QDir::toNativeSeparators(file);
    m_state.prompter->ask(QStringLiteral("Hinweis:"),
                          QStringLiteral("Das Layout konnte nicht vollständig gespeichert werden.\r\n"
                                         "Diese Dateien lassen sich nicht schreiben:\r\n")
                              + shown.join(QStringLiteral("\r\n"))
                              + QStringLiteral("\r\nDie Änderungen bleiben erhalten."),
                          Prompter::Buttons::Ok, Prompter::Icon::Exclamation);
}

QString ScreenLayout::layoutFile(const ScreenBinding& b, int slot) const
{
    return FindAnyCase(m_state.SkinFolder, b.ElementFile[slot]);
}

// ---------------------------------------------------------------------------
// Loading

void ScreenLayout::SetTheControls(ScreenBinding binding)
{
    m_loading.clear();
    if (binding.lastSlot >= 0)
        m_canvas.background()->loadPicture(m_state.AppPath + ScreenCatalogue::backgroundBitmap(binding.isMapView()));
    if (binding.lastSlot < 0) {
        finishLoad(std::move(binding), -1);
    } else {
        switch (binding.kind) {
        case LoaderKind::Main: SetMainControls(binding); break;
        case LoaderKind::MsgBox: SetMsgBoxControls(binding); break;
        case LoaderKind::ListBox: SetListBoxControls(binding); break;
        case LoaderKind::ListBoxT9: SetListBoxt9Controls(binding); break;
        case LoaderKind::MapView: loadMapView(binding); break;
        }
    }
    m_state.LayoutLoaded = true;
}

ScreenRules ScreenLayout::rulesOf(const ScreenBinding& b) const
{
    const ListParts list = b.listParts();
    const Dependents dependents = b.isMapView()       ? Dependents::Map
                                  : list.list >= 0 ? Dependents::List
                                                   : Dependents::None;
    return {dependents, b.viewIndex, m_state.TwipsPerPixelX, m_state.TwipsPerPixelY, list};
}

void ScreenLayout::finishLoad(ScreenBinding binding, int current)
{
    const ScreenRules rules = rulesOf(binding);
    m_document.load(std::move(m_loading), rules, current, std::move(binding));
    m_loading.clear();
}

void ScreenLayout::SetMainControls(const ScreenBinding& b)
{
    for (int slot = 0; slot <= b.lastSlot; ++slot)
        loadSlot(b, slot, {}, readRectangle(b, slot));
    finishLoad(b, b.lastSlot);
}

void ScreenLayout::SetMsgBoxControls(const ScreenBinding& b)
{
    // Everything in a message box counts from the box itself, slot 0.
    for (int slot = 0; slot <= b.lastSlot; ++slot)
        loadSlot(b, slot, {slot == 0 ? -1 : 0, {}}, readRectangle(b, slot));
    finishLoad(b, b.lastSlot);
}

void ScreenLayout::SetListBoxt9Controls(const ScreenBinding& b)
{
    // The keyboard sits before the list box: the parts' slots say so.
    SetListBoxControls(b);
}

void ScreenLayout::SetListBoxControls(const ScreenBinding& b)
{
    const ListParts parts = b.listParts();
    const int last = b.lastSlot;
    for (int slot = 0; slot <= last; ++slot) {
        SlotRule rule;
        if (parts.contains(slot))
            rule.coSystem = parts.list;
        if (slot == parts.item())
            rule.touch = {false, false, true, true};
        else if (parts.isScroll(slot))
            rule.touch = {false, false, false, false};
        else if (slot == parts.ok())
            rule.touch = {true, true, false, true};
        loadSlot(b, slot, rule, readRectangle(b, slot));
    }
    if (last < parts.ok()) {
        finishLoad(b, last);
        return;
    }
    Rects rects;
    for (const LayoutElement& e : m_loading)
        rects.push_back(e.rect);
    Layout::ListPostPass(rects, rulesOf(b));
    for (int slot = parts.item(); slot <= parts.ok(); ++slot)
        m_loading[slot].rect = rects[slot];
    finishLoad(b, parts.ok());
}

void ScreenLayout::loadMapView(const ScreenBinding& b)
{
    const double infoBarCy = LayoutNumber(
        ReadIni(layoutFile(b, MapSlots::Infobar), b.ElementSection[MapSlots::Infobar], KeyCY, 0), m_elements.locale());
    const qint32 infoBarHeight = std::fabs(infoBarCy) < 1e9 ? qint32(std::floor(infoBarCy)) : 0;
    const int dummy = b.viewIndex == 0 ? MapSlots::SmallDummy : MapSlots::LargeDummy;

    for (int slot = 0; slot < SlotCount; ++slot) {
        FieldValues values = readRectangle(b, slot, slot == MapSlots::From ? b.ElementSection[dummy] : QString());
        if (slot == MapSlots::RouteInfo || slot == MapSlots::NextInfo) {
            // The panel shows only its bottom part.
            values[FieldY] = Layout::AsFieldText(std::floor(values[FieldY]) + std::floor(values[FieldCY])
                                                 - MapInfoPanelHeight);
            values[FieldCY] = MapInfoPanelHeight;
        }
        loadSlot(b, slot, {}, values, b.depends(slot) ? infoBarHeight - 2.0 : 0.0);
    }
    finishLoad(b, SlotCount - 1);
}

void ScreenLayout::loadSlot(const ScreenBinding& b, int slot, const SlotRule& rule, const FieldValues& values,
                            double d)
{
    LayoutElement e;
    e.picture = m_state.AppPath + ScreenCatalogue::elementBitmap(b.pictureFolder, b.ElementSection[slot]);
    e.touch = rule.touch;
    e.coSystem = rule.coSystem;
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

FieldValues ScreenLayout::readRectangle(const ScreenBinding& b, int slot, const QString& xSection) const
{
    const QString file = layoutFile(b, slot);
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

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
#include "clsImage.h"

#include <QDir>

#include <cmath>
#include <map>
#include <optional>

namespace {

// Map view slots with rules of their own.
constexpr int MapInfobar = 1;
constexpr int MapFrom = 3;
constexpr int MapRouteInfo = 4;
constexpr int MapNextInfo = 5;
constexpr int MapLargeDummy = 19;
constexpr int MapSmallDummy = 20;
// The route and next-turn panels show only their bottom part of this height.
constexpr int MapInfoPanelHeight = 60;

const QString KeyX = QStringLiteral("x");
const QString KeyY = QStringLiteral("y");
const QString KeyCX = QStringLiteral("cx");
const QString KeyCY = QStringLiteral("cy");

// The INI keys of one slot in the order they are written.
struct SlotValues
{
    std::optional<QString> x, y, cx, cy;
};

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
    , m_view(view)
{
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
    if (!m_state.LayoutLoaded || !m_state.LayoutChanged)
        return true;
    const auto answer = m_state.prompter->ask(QStringLiteral("Frage:"),
                                              QStringLiteral("Soll die Datei gespeichert werden?"),
                                              Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
    if (answer == Prompter::Answer::Cancel)
        return false;
    return answer != Prompter::Answer::Yes || BTNSave_Click();
}

bool ScreenLayout::changedSinceLoad(int slot) const
{
    if (!m_elements.at(slot))
        return false;
    // Exact comparison: QRectF's own is fuzzy and could miss a small step.
    const QRectF now = m_canvas.bitmap(slot)->rect();
    const QRectF& then = m_loaded[slot];
    return now.x() != then.x() || now.y() != then.y() || now.width() != then.width()
           || now.height() != then.height();
}

void ScreenLayout::rememberLoaded()
{
    for (int slot = 0; slot < SlotCount; ++slot)
        m_loaded[slot] = m_canvas.bitmap(slot)->rect();
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
    const bool listGroup = kind == LoaderKind::ListBox;
    const bool keyboardGroup = kind == LoaderKind::ListBoxT9;
    const bool mapView = ScreenCatalogue::isMapView(name);
    const int lastSlot = std::min<int>(m_state.Binding.lastSlot, m_elements.size() - 1);
    const double tppX = m_state.TwipsPerPixelX;
    const double tppY = m_state.TwipsPerPixelY;
    const QLocale& locale = m_elements.locale();
    auto text = [&](double pixels) { return DoubleText(pixels, locale); };
    const QString zero = QStringLiteral("0");

    if (mapView && lastSlot >= MapInfobar) {
        const qint32 infoBarHeight = Twips::whole(m_elements.at(MapInfobar)->height() / tppY);
        for (int slot = 0; slot <= lastSlot; ++slot)
            m_elements.at(slot)->SetInfoBarHeight(infoBarHeight);
    }
    // Only what changed on this screen is written, together with what the rules
    // derive from it: the info bar's height decides the stored y of every
    // element that follows it. An untouched element keeps its lines, and a
    // section the file lacks is not invented.
    const bool infoBarChanged = mapView && changedSinceLoad(MapInfobar);
    auto toWrite = [&](int slot) {
        return changedSinceLoad(slot) || (infoBarChanged && m_elements.at(slot)->Depend());
    };

    // One batch per file keeps the order of the writes within each file, which
    // is all that decides its bytes.
    struct FileWrites
    {
        std::unique_ptr<IniBatch> writes;
        std::shared_ptr<const IniDocument> stored;
    };
    std::map<QString, FileWrites> batches;
    QStringList fileOrder;
    for (int slot = 0; slot <= lastSlot; ++slot) {
        const clsImage* e = m_elements.at(slot);
        const bool listLike = listGroup || keyboardGroup;
        const int partBase = keyboardGroup ? 1 : 0; // the list box slot
        const int item = partBase + 1, up = partBase + 2, down = partBase + 3, ok = partBase + 4;

        SlotValues v;
        if ((listLike && (slot == up || slot == down)) || !toWrite(slot))
            continue;
        v.x = text((e->Left() - e->GetCoSystemLeft()) / tppX);
        double y = (e->Top() - e->GetCoSystemTop()) / tppY;
        if (!listLike && e->Depend())
            y += e->InfoBarHeight() - 2;
        v.y = text(y);
        v.cx = text(e->width() / tppX);
        v.cy = text(e->height() / tppY);
        if (listLike && (slot == item || slot == ok))
            v.x = v.y = zero;
        if (mapView && slot == MapFrom)
            v.x = zero;
        if (mapView && (slot == MapRouteInfo || slot == MapNextInfo))
            v.cy = QString::number(MapInfoPanelHeight);

        const QString file = layoutFile(slot);
        auto& batch = batches[file];
        if (!batch.writes) {
            batch.writes = std::make_unique<IniBatch>(file);
            batch.stored = storedLayout(file);
            fileOrder << file;
        }
        const QString& section = m_state.Binding.ElementSection[slot];
        // A key that already reads as its new value keeps its bytes: its
        // spelling, quotes and comment stay as the skin's author wrote them.
        const auto write = [&](const QString& key, const QString& value) {
            const auto stored = batch.stored ? batch.stored->value(section, key) : std::nullopt;
            if (!stored || LayoutNumber(*stored, locale) != LayoutNumber(value, locale))
                batch.writes->write(section, key, value);
        };
        write(KeyX, *v.x);
        write(KeyY, *v.y);
        write(KeyCX, *v.cx);
        write(KeyCY, *v.cy);
    }

    // One save pays for durability once, however many files it changes.
    std::vector<IniBatch*> inOrder;
    for (const QString& file : std::as_const(fileOrder))
        inOrder.push_back(batches[file].writes.get());
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
    m_state.LayoutChanged = false;
    rememberLoaded();
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
    m_elements.clear();
    m_elements.grow(1);
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
    }
    rememberLoaded();
    m_state.LayoutLoaded = true;
}

void ScreenLayout::startLoad(bool mapView)
{
    m_state.LayoutChanged = false;
    m_canvas.background()->loadPicture(m_state.AppPath + ScreenCatalogue::backgroundBitmap(mapView));
}

void ScreenLayout::SetMainControls(const QString& screenName)
{
    startLoad(false);
    for (int slot = 0; slot <= m_state.Binding.lastSlot; ++slot) {
        const SlotRule rule{m_canvas.screen()};
        loadSlot(slot, screenName, false, rule, 0);
        readRectangle(slot);
        finishSlot(slot, rule);
    }
}

void ScreenLayout::SetMsgBoxControls(const QString& screenName)
{
    startLoad(false);
    for (int slot = 0; slot <= m_state.Binding.lastSlot; ++slot) {
        // Everything in a message box counts from the box itself, slot 0.
        const SlotRule rule{slot == 0 ? m_canvas.screen() : m_canvas.frame(0)};
        loadSlot(slot, screenName, false, rule, 0);
        readRectangle(slot);
        finishSlot(slot, rule);
    }
}

void ScreenLayout::SetListBoxControls(const QString& screenName)
{
    loadList(screenName, 0, false);
}

void ScreenLayout::SetListBoxt9Controls(const QString& screenName)
{
    loadList(screenName, 1, true);
}

void ScreenLayout::loadList(const QString& screenName, int listSlot, bool t9)
{
    startLoad(false);
    const int item = listSlot + 1, up = listSlot + 2, down = listSlot + 3, ok = listSlot + 4;
    for (int slot = 0; slot <= m_state.Binding.lastSlot; ++slot) {
        SlotRule rule{m_canvas.screen()};
        if (slot >= item && slot <= ok)
            rule.coSystem = m_canvas.frame(listSlot);
        if (slot == item)
            rule = {rule.coSystem, false, false, true, true};
        else if (slot == up || slot == down)
            rule = {rule.coSystem, false, false, false, false};
        else if (slot == ok)
            rule = {rule.coSystem, true, true, false, true};
        loadSlot(slot, screenName, true, rule, 0, !t9, t9);
        readRectangle(slot);
        finishSlot(slot, rule);
    }
    listPostPass(listSlot);
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
    const double infoBarCy = LayoutNumber(ReadIni(layoutFile(MapInfobar), b.ElementSection[MapInfobar], KeyCY, 0),
                                          m_elements.locale());
    const qint32 infoBarHeight = std::fabs(infoBarCy) < 1e9 ? qint32(std::floor(infoBarCy)) : 0;

    for (int slot = 0; slot < SlotCount; ++slot) {
        const SlotRule rule{m_canvas.screen()};
        loadSlot(slot, screenName, true, rule, infoBarHeight);
        if (slot == MapFrom)
            readRectangle(slot, b.ElementSection[m_state.ViewIndex == 0 ? MapSmallDummy : MapLargeDummy]);
        else
            readRectangle(slot);
        if (slot == MapRouteInfo || slot == MapNextInfo) {
            // The panel shows only its bottom part.
            const QLocale& locale = m_elements.locale();
            const double y = LayoutNumber(m_canvas.txtY()->text(), locale);
            const double cy = LayoutNumber(m_canvas.txtCY()->text(), locale);
            m_canvas.txtY()->setText(DoubleText(std::floor(y) + std::floor(cy) - MapInfoPanelHeight, locale));
            m_canvas.txtCY()->setText(QString::number(MapInfoPanelHeight));
        }
        finishSlot(slot, rule);
    }
}

void ScreenLayout::loadSlot(int slot, const QString& screenName, bool hasDepts, const SlotRule& rule,
                            qint32 infoBarHeight, bool isListbox, bool isListboxt9)
{
    const ScreenBinding& b = m_state.Binding;
    m_elements.grow(slot + 1);
    clsImage* e = m_elements.at(slot);
    e->SetImage(m_canvas.bitmap(slot));
    e->Picture(m_state.AppPath + ScreenCatalogue::elementBitmap(screenName, b.ElementSection[slot]));
    e->SetFrame(m_canvas.frame(slot));
    e->SetX(m_canvas.txtX());
    e->SetY(m_canvas.txtY());
    e->SetCX(m_canvas.txtCX());
    e->SetCY(m_canvas.txtCY());
    e->HasDepts(hasDepts);
    if (isListbox)
        e->IsListbox(true);
    if (isListboxt9)
        e->IsListboxt9(true);
    e->SetNameLabel(m_canvas.nameLabel());
    e->SetName(b.ElementSection[slot] + QStringLiteral(" in ") + b.ElementFile[slot]);
    e->SetCoSystem(rule.coSystem);
    m_canvas.selector()->setTag(QString::number(slot));
    m_canvas.selector()->setVisible(true);
    e->SetSelector(m_canvas.selector());
    e->Index(qint16(slot));
    e->SetInfoBarHeight(infoBarHeight);
    e->SetDepend(b.ElementDepends[slot] && m_view.infobarTicked());
}

void ScreenLayout::finishSlot(int slot, const SlotRule& rule)
{
    clsImage* e = m_elements.at(slot);
    // A value the canvas refuses (a negative size) must not leave the element
    // where the previous screen had it.
    m_canvas.bitmap(slot)->setGeometry(rule.coSystem->left(), rule.coSystem->top(), 0, 0);
    e->paintImage();
    e->visible(m_state.Binding.ElementVisible[m_state.ViewIndex][slot]);
    e->TouchX(rule.touchX);
    e->TouchY(rule.touchY);
    e->TouchCX(rule.touchCX);
    e->TouchCY(rule.touchCY);
}

void ScreenLayout::readRectangle(int slot, const QString& xSection)
{
    const ScreenBinding& b = m_state.Binding;
    const QString file = layoutFile(slot);
    const QString& section = b.ElementSection[slot];
    const QLocale& locale = m_elements.locale();
    // Read as MN4 reads them, so that what the editor shows is where MN4 draws
    // it; a negative size draws nothing, as an empty one does.
    const auto read = [&](const QString& sectionName, const QString& key, int defaultValue, bool size) {
        const double value = LayoutNumber(ReadIni(file, sectionName, key, defaultValue), locale);
        return DoubleText(size ? std::max(0.0, value) : value, locale);
    };
    m_canvas.txtX()->setText(read(xSection.isEmpty() ? section : xSection, KeyX, 0, false));
    m_canvas.txtY()->setText(read(section, KeyY, 0, false));
    m_canvas.txtCX()->setText(read(section, KeyCX, 20, true));
    m_canvas.txtCY()->setText(read(section, KeyCY, 20, true));
}

void ScreenLayout::listPostPass(int listSlot)
{
    const int B = listSlot, I = B + 1, U = B + 2, D = B + 3, K = B + 4;
    const double tppX = m_state.TwipsPerPixelX;
    const double tppY = m_state.TwipsPerPixelY;
    auto W = [&](int s) { return m_elements.at(s)->width() / tppX; };
    auto H = [&](int s) { return m_elements.at(s)->height() / tppY; };
    const QLocale& locale = m_elements.locale();
    auto place = [&](int s, double x, double y, double cx, double cy) {
        m_canvas.txtX()->setText(DoubleText(x, locale));
        m_canvas.txtY()->setText(DoubleText(y, locale));
        m_canvas.txtCX()->setText(DoubleText(cx, locale));
        m_canvas.txtCY()->setText(DoubleText(cy, locale));
        m_canvas.selector()->setTag(QString::number(s));
        m_elements.at(s)->paintImage();
    };
    if (m_state.Binding.lastSlot < K || m_elements.size() <= K)
        return;
    place(I, 0, (H(K) + H(B)) / 2, W(I), H(I));
    place(U, W(I), 0, W(B) - W(I), (H(B) - H(K)) / 2);
    place(D, W(I), (H(K) + H(B)) / 2, W(B) - W(I), (H(B) - H(K)) / 2);
    place(K, W(B) - W(K), (H(B) - H(K)) / 2, W(K), H(K));
}

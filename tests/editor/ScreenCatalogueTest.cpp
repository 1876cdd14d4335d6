#include "BindingView.h"
#include "ScreenCatalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FakeBindingView : public BindingView
{
public:
    FakeBindingView() { slotShown.fill(true); }
    void setSlotVisible(int slot, bool visible) override { slotShown.at(slot) = visible; ++slotCalls; }
    void setMapBoxesVisible(bool visible) override { boxesShown = visible; }
    bool infobarTicked() const override { return infobar; }
    bool dummysTicked() const override { return dummys; }

    std::array<bool, SlotCount> slotShown{};
    int slotCalls = 0;
    bool boxesShown = true;
    bool infobar = true;
    bool dummys = false;
};

// A skin folder of one family; the TMC family is marked by "defaultltTMC.ini".
struct Skin
{
    explicit Skin(const QString& tmcMarker = {})
    {
        if (!tmcMarker.isEmpty()) {
            QFile f(dir.filePath(tmcMarker));
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        }
    }
    QString folder() const { return dir.path() + QDir::separator(); }
    QTemporaryDir dir;
};

// Where the files of a screen come from: D, M, E and G stand for the default,
// main menu, edit dialog and GPS dialog file of the family, anything else is fixed.
const struct { const char* screen; int slot; const char* file; } Spots[] = {
    {"Hauptmenu", 7, "M"}, {"Hauptmenu", 8, "D"}, {"Routenoptionen", 8, "routeoptionsviewlt.ini"},
    {"Routenoptionen", 9, "D"}, {"DialogEdit", 5, "E"}, {"DialogGPS", 14, "G"},
};

void bindIn(const Skin& skin, const QString& name, AppState& state, FakeBindingView& view)
{
    state.SkinFolder = skin.folder();
    QString current = name;
    getiniVersion(state, current);
    ASSERT_TRUE(RunBindingRoutine(name, state, view)) << name.toStdString();
}

} // namespace

TEST(ScreenCatalogueTest, BindsEveryScreenInBothFamilies)
{
    const Skin plain;
    const Skin tmc(QStringLiteral("defaultltTMC.ini"));
    const std::pair<const Skin*, LayoutFiles> families[] = {{&plain, PlainLayoutFiles()},
                                                            {&tmc, TmcLayoutFiles()}};
    for (const auto& [skin, family] : families) {
        AppState state;
        state.ViewIndex = 2; // left over from a map view
        for (const ScreenEntry& screen : ScreenCatalogue::screens()) {
            if (ScreenCatalogue::isMapView(screen.displayName))
                continue;
            SCOPED_TRACE(screen.displayName.toStdString() + " in " + family[0].toStdString());
            FakeBindingView view;
            state.Binding.ElementFile.fill(QStringLiteral("stale.ini"));
            bindIn(*skin, screen.displayName, state, view);
            const ScreenBinding& b = state.Binding;
            EXPECT_EQ(b.lastSlot, screen.lastSlot);
            EXPECT_EQ(screen.sections.size(), screen.lastSlot + 1);
            EXPECT_EQ(state.ViewIndex, 0);
            EXPECT_FALSE(view.boxesShown);
            EXPECT_EQ(view.slotCalls, SlotCount);
            const bool list = screen.loader == LoaderKind::ListBox || screen.loader == LoaderKind::ListBoxT9;
            for (int slot = 0; slot < SlotCount; ++slot) {
                const bool used = slot <= screen.lastSlot;
                EXPECT_EQ(b.ElementFile[slot].isEmpty(), !used) << slot;
                EXPECT_EQ(b.ElementSection[slot], used ? screen.sections[slot] : QString()) << slot;
                EXPECT_EQ(b.ElementVisible[0][slot], used) << slot;
                EXPECT_FALSE(b.ElementVisible[1][slot] || b.ElementVisible[2][slot] || b.ElementDepends[slot]);
                EXPECT_FALSE(view.slotShown[slot]) << "element and frame hidden until loaded";
                // Only the item column and the OK button of a list stay where the list puts them.
                const bool locked = list && (b.ElementSection[slot] == QLatin1String("listboxitem")
                                             || b.ElementSection[slot] == QLatin1String("okbutton"));
                const std::array<double, 4> factors = {locked ? 0.0 : 1.0, locked ? 0.0 : 1.0, 1.0, 1.0};
                EXPECT_EQ(b.NudgeFactor[slot], factors) << slot;
            }
        }
        for (const auto& spot : Spots) {
            FakeBindingView view;
            bindIn(*skin, QString::fromLatin1(spot.screen), state, view);
            const int role = QByteArray("DMEG").indexOf(spot.file);
            EXPECT_EQ(state.Binding.ElementFile[spot.slot], role >= 0 ? family[role] : QString::fromLatin1(spot.file))
                << spot.screen << " " << spot.slot;
        }
    }
}

TEST(ScreenCatalogueTest, MapViewVisibilityFollowsTheCheckBoxes)
{
    // Per slot the three views: Y shown, I with the info bar, D with the dummies, - hidden.
    const std::pair<int, const char*> visibility[] = {
        {0, "-Y-"}, {1, "I-I"}, {3, "Y-Y"}, {17, "YYY"}, {19, "--D"}, {20, "D--"}, {24, "YYY"}};
    const Skin tmc(QStringLiteral("defaultltTMC.ini"));
    for (const bool infobar : {false, true}) {
        for (const bool dummys : {false, true}) {
            SCOPED_TRACE(std::string(infobar ? "infobar " : "") + (dummys ? "dummys" : ""));
            AppState state;
            state.ViewIndex = 1;
            state.Binding.NudgeFactor[4] = {0.0, 0.0, 1.0, 1.0};
            FakeBindingView view;
            view.boxesShown = false;
            view.infobar = infobar;
            view.dummys = dummys;
            bindIn(tmc, QStringLiteral("Kartenansicht 2"), state, view);
            const ScreenBinding& b = state.Binding;
            EXPECT_EQ(b.lastSlot, 24);
            EXPECT_EQ(state.ViewIndex, 1) << "the map loader chooses the view";
            EXPECT_TRUE(view.boxesShown);
            for (const auto& [slot, views] : visibility) {
                for (int v = 0; v < ViewCount; ++v) {
                    const char c = views[v];
                    const bool shown = c == 'Y' || (c == 'I' && infobar) || (c == 'D' && dummys);
                    EXPECT_EQ(b.ElementVisible[v][slot], shown) << slot << " view " << v;
                }
            }
            for (int slot = 0; slot < SlotCount; ++slot) {
                EXPECT_EQ(b.ElementDepends[slot], slot >= 2 && slot <= 8) << slot;
                EXPECT_EQ(b.NudgeFactor[slot], (std::array<double, 4>{1.0, 1.0, 1.0, 1.0}));
                EXPECT_FALSE(view.slotShown[slot]);
            }
            EXPECT_EQ(b.ElementSection[3], QStringLiteral("from"));
            EXPECT_EQ(b.ElementFile[20], QStringLiteral("mapviewlt.ini"));
            EXPECT_EQ(b.ElementFile[21], QStringLiteral("defaultltTMC.ini"));
        }
    }
}

TEST(ScreenCatalogueTest, NamesAreExact)
{
    AppState state;
    state.LayoutFileSet = PlainLayoutFiles();
    FakeBindingView view;
    // The two list routines take the second file for anything but their first name.
    InitEinfacheListe(state, view, QStringLiteral("einfacheliste"));
    EXPECT_EQ(state.Binding.ElementFile[0], QStringLiteral("simplepopupmultilt.ini"));
    InitAdresseingabeEdit(state, view, QStringLiteral("AdresseingabeEdit "));
    EXPECT_EQ(state.Binding.ElementFile[0], QStringLiteral("targetpopuplt.ini"));
    view.slotCalls = 0;
    for (const char* name : {"hauptmenu", "", "Hauptmenu ", "Kartenansich"}) {
        EXPECT_FALSE(RunBindingRoutine(QString::fromLatin1(name), state, view)) << name;
        EXPECT_EQ(ScreenCatalogue::loaderKindOf(QString::fromLatin1(name)), std::nullopt) << name;
    }
    EXPECT_EQ(state.Binding.ElementFile[0], QStringLiteral("targetpopuplt.ini"));
    EXPECT_EQ(view.slotCalls, 0);
    for (const char* map : {"Kartenansicht 3", "Kartenansicht 7", "Meine Kartenansicht"})
        EXPECT_EQ(ScreenCatalogue::loaderKindOf(QString::fromLatin1(map)), LoaderKind::MapView) << map;
}

TEST(ScreenCatalogueTest, FamilyFollowsTheMarkerFile)
{
    struct Case { const char* marker; const char* before; bool changes; const char* after; };
    const Case cases[] = {
        {"", "", true, "defaultlt.ini"},  // the first choice always loads a family
        {"defaultltTMC.ini", "", true, "defaultltTMC.ini"},
        {"defaultltTMC.ini", "defaultltTMC.ini", false, "defaultltTMC.ini"},
        {"DEFAULTLTtmc.INI", "defaultlt.ini", true, "defaultltTMC.ini"}, // skins come from Windows
        {"", "defaultltTMC.ini", true, "defaultlt.ini"},
        {"defaultlt.ini", "defaultltTMC.ini", true, "defaultlt.ini"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.marker) + " after " + c.before);
        const Skin skin(QString::fromLatin1(c.marker));
        AppState state;
        state.SkinFolder = skin.folder();
        if (*c.before)
            state.LayoutFileSet = QLatin1String(c.before) == QLatin1String("defaultlt.ini") ? PlainLayoutFiles()
                                                                                          : TmcLayoutFiles();
        QString current = QStringLiteral("Hauptmenu");
        EXPECT_EQ(getiniVersion(state, current), c.changes);
        EXPECT_EQ(current.isEmpty(), c.changes);
        EXPECT_EQ(state.LayoutFileSet,
                  QLatin1String(c.after) == QLatin1String("defaultlt.ini") ? PlainLayoutFiles() : TmcLayoutFiles());
    }
}

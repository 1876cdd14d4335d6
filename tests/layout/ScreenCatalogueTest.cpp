#include "ScreenCatalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

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
    // The two screens of each shared list routine keep their own files.
    {"EinfacheListe", 0, "simplepopuplt.ini"}, {"Wegeliste", 0, "simplepopupmultilt.ini"},
    {"AdresseingabeEdit", 0, "editpopuplt.ini"}, {"ZieleingabeEdit", 0, "targetpopuplt.ini"},
};

ScreenBinding bound(const QString& name, const LayoutFiles& family, MapBoxes boxes = {})
{
    const ScreenEntry* entry = ScreenCatalogue::find(name);
    EXPECT_TRUE(entry) << name.toStdString();
    return entry ? BindScreen(*entry, family, boxes) : ScreenBinding{};
}

} // namespace

TEST(ScreenCatalogueTest, BindsEveryScreenInBothFamilies)
{
    for (const LayoutFiles& family : {PlainLayoutFiles(), TmcLayoutFiles()}) {
        for (const ScreenEntry& screen : ScreenCatalogue::screens()) {
            if (screen.loader == LoaderKind::MapView)
                continue;
            SCOPED_TRACE(screen.displayName.toStdString() + " in " + family[0].toStdString());
            const ScreenBinding b = bound(screen.displayName, family);
            EXPECT_EQ(screen.sections.size(), screen.lastSlot + 1);
            const bool list = screen.loader == LoaderKind::ListBox || screen.loader == LoaderKind::ListBoxT9;
            for (int slot = 0; slot < SlotCount; ++slot) {
                const bool used = slot <= screen.lastSlot;
                EXPECT_EQ(b.ElementFile[slot].isEmpty(), !used) << slot;
                EXPECT_EQ(b.ElementSection[slot], used ? screen.sections[slot] : QString()) << slot;
                EXPECT_EQ(b.ElementVisible[0][slot], used) << slot;
                EXPECT_FALSE(b.ElementVisible[1][slot] || b.ElementVisible[2][slot] || b.ElementDepends[slot]);
                // Only the item column and the OK button of a list stay where the list puts them.
                const bool locked = list && (b.ElementSection[slot] == QLatin1String("listboxitem")
                                             || b.ElementSection[slot] == QLatin1String("okbutton"));
                const std::array<double, 4> factors = {locked ? 0.0 : 1.0, locked ? 0.0 : 1.0, 1.0, 1.0};
                EXPECT_EQ(b.NudgeFactor[slot], factors) << slot;
            }
        }
        for (const auto& spot : Spots) {
            const ScreenBinding b = bound(QString::fromLatin1(spot.screen), family);
            const int role = QByteArray("DMEG").indexOf(spot.file);
            EXPECT_EQ(b.ElementFile[spot.slot], role >= 0 ? family[role] : QString::fromLatin1(spot.file))
                << spot.screen << " " << spot.slot;
        }
    }
}

TEST(ScreenCatalogueTest, MapViewVisibilityFollowsTheCheckBoxes)
{
    // Per slot the three views: Y shown, I with the info bar, D with the dummies, - hidden.
    const std::pair<int, const char*> visibility[] = {
        {0, "-Y-"}, {1, "I-I"}, {3, "Y-Y"}, {17, "YYY"}, {19, "--D"}, {20, "D--"}, {24, "YYY"}};
    for (const bool infobar : {false, true}) {
        for (const bool dummys : {false, true}) {
            SCOPED_TRACE(std::string(infobar ? "infobar " : "") + (dummys ? "dummys" : ""));
            const ScreenBinding b = bound(QStringLiteral("Kartenansicht 2"), TmcLayoutFiles(), {infobar, dummys});
            for (const auto& [slot, views] : visibility) {
                for (int v = 0; v < ViewCount; ++v) {
                    const char c = views[v];
                    const bool shown = c == 'Y' || (c == 'I' && infobar) || (c == 'D' && dummys);
                    EXPECT_EQ(b.ElementVisible[v][slot], shown) << slot << " view " << v;
                }
            }
            for (int slot = 0; slot < SlotCount; ++slot) {
                EXPECT_EQ(b.ElementDepends[slot], slot >= 2 && slot <= 8) << slot;
                // Dependents move with the info bar only while it is shown.
                EXPECT_EQ(b.depends(slot), infobar && slot >= 2 && slot <= 8) << slot;
                EXPECT_EQ(b.NudgeFactor[slot], (std::array<double, 4>{1.0, 1.0, 1.0, 1.0}));
            }
            EXPECT_EQ(b.ElementFile[21], QStringLiteral("defaultltTMC.ini"));
        }
    }
}

TEST(ScreenCatalogueTest, NamesAreExactAndEachMapViewShowsItsOwnView)
{
    for (const char* name : {"hauptmenu", "", "Hauptmenu ", "Kartenansich", "Kartenansicht 7", "einfacheliste"})
        EXPECT_EQ(ScreenCatalogue::find(QString::fromLatin1(name)), nullptr) << name;
    for (int view = 0; view < ViewCount; ++view) {
        const ScreenBinding b = bound(QStringLiteral("Kartenansicht %1").arg(view + 1), PlainLayoutFiles());
        EXPECT_EQ(b.viewIndex, view);
        EXPECT_EQ(b.pictureFolder, QStringLiteral("Kartenansicht"));
    }
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
        EXPECT_EQ(getiniVersion(state), c.changes);
        EXPECT_EQ(state.LayoutFileSet,
                  QLatin1String(c.after) == QLatin1String("defaultlt.ini") ? PlainLayoutFiles() : TmcLayoutFiles());
    }
}

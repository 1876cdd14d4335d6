#pragma once

#include "AppState.h"
#include "ScreenBinding.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// Index into AppState::LayoutFileSet: the shared files of the current family.
enum LayoutFileRole {
    DefaultLayoutFile = 0, // "defaultlt.ini" / "defaultltTMC.ini"
    MainMenuFile = 1,      // "mainmenult.ini" / "mainmenultSR.ini"
    EditDialogFile = 2,    // "editdlglt.ini" / "editdlgltsr.ini"
    GpsDialogFile = 3,     // "gpsdlglt.ini" / "startgpsdlglt.ini"
};

using LayoutFiles = std::array<QString, 4>;

// A layout file: a fixed name, or a role whose name depends on the family.
struct FileRef
{
    FileRef(const char* fixedName) : name(QString::fromLatin1(fixedName)) {}
    FileRef(LayoutFileRole shared) : role(shared) {}

    QString resolve(const LayoutFiles& fileSet) const { return role < 0 ? name : fileSet[role]; }

    QString name;
    int role = -1;
};

// A run of slots stored in one file; it starts after the previous run.
struct SlotFiles
{
    int lastSlot;
    FileRef file;
};

// One screen of the catalogue.
struct ScreenEntry
{
    QString displayName;
    LoaderKind loader;
    int lastSlot;
    std::vector<SlotFiles> files;   // in slot order
    QStringList sections;           // slot 0 first
    std::vector<int> lockedSlots;   // their x and y NudgeFactor are 0
    int view = 0;                   // the map view 0..2 a map entry shows

    // The layout file of slot in the given family, "" beyond lastSlot.
    QString fileOf(int slot, const LayoutFiles& fileSet) const;
};

// When a map-view slot is shown in one view.
enum class MapShown {
    No,
    Yes,
    Infobar, // when ChkInfobar was ticked at binding time
    Dummys,  // when ChkDummys was ticked at binding time
};

// One slot of the map view.
struct MapSlot
{
    QString section;
    FileRef file;
    std::array<MapShown, ViewCount> shown; // views 1, 2, 3
    bool dependsOnInfobar;
};

namespace ScreenCatalogue {

// All 48 screens; the three map views are the rows named "Kartenansicht 1..3".
const std::vector<ScreenEntry>& screens();
// The 25 slots shared by the three map views.
const std::array<MapSlot, SlotCount>& mapView();

// Exact, case-sensitive lookup of a display name; nullptr when unknown.
const ScreenEntry* find(const QString& displayName);
// The display names as the screen list shows them: alphabetical, ignoring letter case.
QStringList sortedNames();

// Program bitmaps, relative to the program folder and with "/" separators.
QString backgroundBitmap(bool mapView);
// The folder of a screen's element bitmaps: one for the three map views, else the screen's name.
QString pictureFolder(const ScreenEntry& screen);
QString elementBitmap(const QString& pictureFolder, const QString& section);

} // namespace ScreenCatalogue

// The shared layout files of both families.
LayoutFiles PlainLayoutFiles();
LayoutFiles TmcLayoutFiles();

// The two map-view check boxes at binding time.
struct MapBoxes
{
    bool infobar = true; // ChkInfobar "Infobar eingeschaltet"
    bool dummys = false; // ChkDummys "Dummys sichtbar"
};

// Resets every slot: no file, no section, hidden, independent, free to move.
void InitMyArr(ScreenBinding& binding);

// Chooses the plain or TMC family of shared files for state.SkinFolder.
// Returns whether the family changed.
bool getiniVersion(AppState& state);

// Fills the 25 slots shared by the three map views; the boxes decide the info
// bar and the dummies.
void InitKartenansicht(ScreenBinding& binding, const LayoutFiles& fileSet, MapBoxes boxes);

// Resolves a catalogue entry, with the files of the family, into the screen's binding.
ScreenBinding BindScreen(const ScreenEntry& screen, const LayoutFiles& fileSet, MapBoxes boxes);

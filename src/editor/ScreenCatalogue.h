#pragma once

#include "AppState.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class BindingView;

// The loader that reads a screen of this kind onto the canvas.
enum class LoaderKind {
    MapView,   // the three map views, read by SetTheControls itself
    Main,      // SetMainControls: full screens with the status buttons
    MsgBox,    // SetMsgBoxControls: dialogs whose first section is "size"
    ListBox,   // SetListBoxControls: list pop-ups
    ListBoxT9, // SetListBoxt9Controls: list pop-ups with keyboard and T9 list
};

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
    QString routine;                // name of the binding routine
    LoaderKind loader;
    int lastSlot;
    std::vector<SlotFiles> files;   // in slot order
    QStringList sections;           // slot 0 first
    std::vector<int> lockedSlots;   // their x and y NudgeFactor are 0

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
// Whether a name denotes a map view: it contains "Kartenansicht" (case-sensitive).
bool isMapView(const QString& displayName);
// The loader that reads the named screen; none for an unknown name.
std::optional<LoaderKind> loaderKindOf(const QString& displayName);
// The display names as the screen list shows them: alphabetical, ignoring letter case.
QStringList sortedNames();

// Program bitmaps, relative to the program folder and with "/" separators.
QString backgroundBitmap(bool mapView);
QString elementBitmap(const QString& screenName, const QString& section);

} // namespace ScreenCatalogue

// The shared layout files of both families.
LayoutFiles PlainLayoutFiles();
LayoutFiles TmcLayoutFiles();

// Resets the binding tables to bValue (every caller passes false) and sets every
// element's visibility from them, so all 25 elements disappear.
void InitMyArr(bool bValue, AppState& state, BindingView& view);

// Chooses the plain or TMC family of shared files for state.SkinFolder. When the
// family changes, currentScreenName is cleared so the next choice binds again.
// Returns whether the family changed.
bool getiniVersion(AppState& state, QString& currentScreenName);

// Binding routines. InitKartenansicht serves the three map views, InitEinfacheListe
// and InitAdresseingabeEdit two list pop-ups each, chosen by their exact display
// name; BindScreen is the routine named in any other entry of the catalogue.
void InitKartenansicht(AppState& state, BindingView& view);
void InitEinfacheListe(AppState& state, BindingView& view, const QString& strAuswahl);
void InitAdresseingabeEdit(AppState& state, BindingView& view, const QString& strAuswahl);
void BindScreen(const ScreenEntry& screen, AppState& state, BindingView& view);

// Runs the binding routine of the named screen. Returns false, binding nothing,
// when the name is in no catalogue entry.
bool RunBindingRoutine(const QString& displayName, AppState& state, BindingView& view);

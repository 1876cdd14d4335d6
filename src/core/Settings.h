#pragma once

#include <QLatin1String>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QByteArray>

#include <array>

// The program's own settings file, Tivaro.ini next to the executable: every
// section and key it holds, with its default.
namespace Settings {

inline constexpr QLatin1String FileName{"Tivaro.ini"};
// appPath ends with a separator.
QString filePath(const QString& appPath);

inline constexpr QLatin1String Directory{"Directory"};
inline constexpr QLatin1String LastDir{"lastDir"};
inline constexpr QLatin1String SkinDir{"SkinDir"};
inline constexpr QLatin1String MN4Dir{"MN4Dir"};
inline constexpr QLatin1String MapExportDir{"MapExportDir"};
// The user's home folder, ending with a separator.
QString defaultLastDir();
// MN4's installation folder inside the default Wine prefix, without a trailing separator.
QString defaultMapExportDir();

inline constexpr QLatin1String Layout{"Layout"};
inline constexpr QLatin1String BorderFrame{"BorderFrame"};
inline constexpr QLatin1String FrameColor{"FrameColor"};
inline constexpr QLatin1String BorderSelector{"BorderSelector"};
inline constexpr QLatin1String SelectorColor{"SelectorColor"};
inline constexpr int DefaultBorderFrame = 2;
inline constexpr QLatin1String DefaultFrameColor{"808080"};
inline constexpr int DefaultBorderSelector = 3;
inline constexpr QLatin1String DefaultSelectorColor{"FF0000"};

// Road classes of the speed profile editor, in table order.
inline constexpr QLatin1String Speed{"Speed"};
inline constexpr QLatin1String Consumes{"Consumes"};
struct RoadClass
{
    QLatin1String section;
    int speed;
    int consumes;
};
inline constexpr std::array<RoadClass, 16> RoadClasses = {{
    {QLatin1String("A_BAB"), 120, 11},
    {QLatin1String("A_Schnellstr"), 100, 10},
    {QLatin1String("A_Bundesstr"), 90, 9},
    {QLatin1String("A_Landstr"), 80, 9},
    {QLatin1String("A_Nebenstr"), 70, 8},
    {QLatin1String("A_Gasse"), 50, 8},
    {QLatin1String("A_Feldweg"), 40, 9},
    {QLatin1String("A_Wohnstr"), 30, 9},
    {QLatin1String("I_BAB"), 100, 11},
    {QLatin1String("I_Schnellstr"), 80, 10},
    {QLatin1String("I_Bundesstr"), 70, 9},
    {QLatin1String("I_Landstr"), 60, 9},
    {QLatin1String("I_Nebenstr"), 50, 8},
    {QLatin1String("I_Gasse"), 40, 8},
    {QLatin1String("I_Feldweg"), 30, 9},
    {QLatin1String("I_Wohnstr"), 20, 9},
}};

// Global weights of the speed profile editor.
inline constexpr QLatin1String GPrefs{"GPrefs"};
struct GlobalPref
{
    QLatin1String key;
    double defaultValue;
};
inline constexpr std::array<GlobalPref, 3> GlobalPrefs = {{
    {QLatin1String("Zeitkosten"), 20},
    {QLatin1String("Verbrauchskosten"), 1},
    {QLatin1String("Normierung"), 2},
}};

// The last rendered profile lines.
inline constexpr QLatin1String MProfile{"MProfile"};
inline constexpr QLatin1String ProfileSpeed{"Speed"};
inline constexpr QLatin1String ProfilePrefs{"Prefs"};

// Line widths and colours of the element frames and the selection marker.
// Colours are 24-bit values with red in the low byte ("FF0000" is blue).
struct LayoutLook
{
    int borderFrame = DefaultBorderFrame;
    quint32 frameColor = 0x808080;
    int borderSelector = DefaultBorderSelector;
    quint32 selectorColor = 0xFF0000;
    friend bool operator==(const LayoutLook&, const LayoutLook&) = default;
};

// Reads the four "Layout" keys, each on its own: a stored text that cannot be
// used gives the default, and what is used is written straight back, so a
// fresh file fills itself with the defaults.
LayoutLook readLayoutLook(const QString& settingsFile);

// How the editor window was left: zoom, place and size, snapping.
inline constexpr QLatin1String View{"View"};
inline constexpr QLatin1String Zoom{"Zoom"};
inline constexpr QLatin1String Window{"Window"};
inline constexpr QLatin1String Maximized{"Maximized"};
inline constexpr QLatin1String Snap{"Snap"};
inline constexpr QLatin1String Docks{"Docks"};
struct ViewState
{
    int zoom = 0;     // 0: as large as fits the window
    QRect window;     // null: the window's own size, placed by the system
    bool maximized = false;
    bool snap = false;
    QByteArray docks; // the window's own record of its docks and tool bars; empty: as built

    friend bool operator==(const ViewState&, const ViewState&) = default;
};

// Reads the "View" keys; a value that cannot be used gives its default.
ViewState readViewState(const QString& settingsFile);
// False when the file could not be written.
bool writeViewState(const QString& settingsFile, const ViewState& view);

// The skin folders opened last, most recent first, as "Folder1" … of "Recent".
inline constexpr QLatin1String Recent{"Recent"};
inline constexpr int RecentCount = 8;
QStringList readRecentFolders(const QString& settingsFile);
// False when the file could not be written.
bool writeRecentFolders(const QString& settingsFile, const QStringList& folders);
// folders with folder in front: once, however its trailing separator is
// written, and at most RecentCount of them.
QStringList withRecentFolder(QStringList folders, const QString& folder);

} // namespace Settings

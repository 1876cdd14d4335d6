#pragma once

#include <QString>

#include <array>
#include <optional>

// Writing the two profile lines into MN4's own files: prefs.ini and NavLib.ini
// on the device, speedprofiles.ini of the map export tool on the PC. A profile
// value is a head followed by "|"-separated fields; the head stays, the fields
// are replaced.
namespace ProfileUpdate {

enum class Place { Device, Pc };

// One row of the update; the check box ChkUpdate with the row's index selects it.
struct Target
{
    QString fileName;
    Place place;
    QString speedSection; // empty: the speed line is not written
    QString speedKey;
    QString preferenceSection;
    QString preferenceKey;
    QString suffix;       // appended after the preference line
    bool fillDecimals;    // every number of the preference value gets 3 decimals
};

inline constexpr int TargetCount = 5;
// The row whose check box starts the map export tool.
inline constexpr int StartToolBox = 5;

const QString& deviceSuffix(); // "|1.0|1.0|1.0"
const QString& pcSuffix();     // "|1.0,|1.0,|1.0"

// Rows 0 "fast", 1 "standard" (prefs.ini), 2 NavLib.ini; 3 "fast", 4 "standard" (speedprofiles.ini).
const std::array<Target, TargetCount>& targets();

// "prefs" for "prefs.ini": the base of the temporary copy and the progress text.
QString baseName(const Target& target);

// The new value for an old one: its head up to the first "|", then fields and
// suffix. Nothing when the old value has no "|" (the key is then left alone).
std::optional<QString> splice(const QString& oldValue, const QString& fields, const QString& suffix,
                              bool fillDecimals);

// Splices the speed line (where the row writes one) and the preference line
// into file, which is edited in place. Nothing is written when neither key
// holds a "|". False only when the file could not be written; it is then unchanged.
bool spliceFile(const QString& file, const Target& target, const QString& speedLine,
                const QString& preferenceLine);

// The map export folder from the settings file, without a trailing separator.
QString mapExportFolder(const QString& settingsFile);

} // namespace ProfileUpdate

// Fills the numbers of a "|"-separated list up to decimals decimals with fill,
// looking for decimal points from the 1-based position startPos on.
// Numbers without a point and numbers with enough decimals stay as they are.
QString MNFormatStr(const QString& line, qint16 decimals, const QString& fill, qint16 startPos);

#pragma once

#include <QLatin1String>
#include <QString>

#include <functional>

// Where Tivaro.ini lives. A program folder of the user's own (the build
// folder, a portable copy) keeps it beside the executable. An installed
// program, or one whose folder the user cannot write, keeps it in the user's
// configuration folder ($XDG_CONFIG_HOME/Tivaro/, by default ~/.config/Tivaro/).
// Earlier versions ran a per-user copy of the program from
// ~/.local/share/tivaro/ to keep Tivaro.ini beside it; those settings are
// taken over once.
namespace SettingsLocation {

// A file of this name in the program folder marks an installed program.
inline constexpr QLatin1String InstalledMarker{"installed"};

// Folders the choice depends on, each ending with a separator.
struct Folders
{
    QString program;
    QString config;  // the user's configuration folder for Tivaro
    QString earlier; // the per-user program folder of earlier versions
};

struct Place
{
    QString folder;   // the folder of Tivaro.ini, ending with a separator
    QString takeOver; // earlier settings to copy there first, or empty
};

using PathTest = std::function<bool(const QString& path)>;

// The rule itself; exists and writable answer for files and folders.
Place choose(const Folders& folders, const PathTest& exists, const PathTest& writable);

// This user's folders, from the environment ($XDG_CONFIG_HOME, $XDG_DATA_HOME, $HOME).
Folders userFolders(const QString& programFolder);

// True when the folder exists and the user may create files in it (root may
// everywhere but on a read-only file system).
bool folderIsWritable(const QString& folder);

struct Prepared
{
    QString folder;  // the folder of Tivaro.ini, ending with a separator
    QString message; // what to tell the user once, or empty
};

// Chooses the folder for programFolder and takes earlier settings over when
// due, copied safely; the message says where they went. When the copy fails
// the earlier folder stays in use, so nothing is lost, and the message says why.
Prepared prepare(const QString& programFolder, const PathTest& writable = folderIsWritable);

} // namespace SettingsLocation

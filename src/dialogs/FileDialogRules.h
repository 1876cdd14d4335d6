#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QFileDialog;

// Rules of the file dialog, free of any open window.

// Dialog flags in the values of the Windows common dialogs.
namespace FileDialogFlags {
inline constexpr qint32 OverwritePrompt = 0x2;
inline constexpr qint32 HideReadOnly = 0x4;
inline constexpr qint32 AllowMultiSelect = 0x200;
inline constexpr qint32 PathMustExist = 0x800;
inline constexpr qint32 FileMustExist = 0x1000;
inline constexpr qint32 Explorer = 0x80000;
} // namespace FileDialogFlags

// The filter list in the platform's form: display text, NUL, pattern, NUL, ...,
// closed by two NULs. filter is a complete list put in front of the five
// pairs; a pair counts only when both its text and its pattern are set; with
// nothing set the list offers "Alle Dateien" with "*.*".
QString BuildFilterList(const QString& filter, const std::array<QString, 5>& texts,
                        const std::array<QString, 5>& suffixes);

// The same list as Qt name filters ("Alle Dateien (*)"). Patterns separated by
// ';' become one filter, and "*.*" matches every name, as on Windows.
QStringList NameFiltersOf(const QString& filterList);

// The flags a dialog of the given intention ("Open" or "Save") runs with:
// flags 0 picks them by intention, other flags are kept, and multiple selection
// adds its flags. Nothing for an unknown intention.
std::optional<qint32> FlagsForIntention(qint32 flags, bool multiSelect, const QString& intention);

// Sets file mode, accept mode and overwrite question of dialog from flags.
void ConfigureFileDialog(QFileDialog& dialog, qint32 flags, bool save);

// Several chosen paths in the raw multi-file form: the folder, then every name,
// NUL-separated; one path stays a single full path.
QString MultiFileList(const QStringList& paths);

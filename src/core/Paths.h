#pragma once

#include <QString>

// Program folder with a trailing separator.
QString InitAppPath();

// Everything after the last backslash or slash; the whole path when it has none.
QString FileNameOf(const QString& path);
// Everything up to and including the last backslash or slash; "" when none.
QString FolderOf(const QString& path);

// Re-writes number from one base (2..36) into another, or returns "Error".
QString ConvertBase(const QString& number, quint8 fromBase, quint8 toBase);

// Skins come from Windows, whose file system ignores letter case. Returns the
// path of the entry called name inside folder: the exact name when it exists,
// else an existing entry whose name differs only in case, else folder + name
// (the spelling to create). folder may or may not end with a separator.
QString FindAnyCase(const QString& folder, const QString& name);
// True when FindAnyCase finds an existing file or folder.
bool ExistsAnyCase(const QString& folder, const QString& name);

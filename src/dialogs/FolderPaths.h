#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

#include <optional>

// Path rules of the folder picker, free of widgets.

// True when path matches the pattern validFolder + "*": '*' stands for any
// text, '?' for one character, letter case is ignored, and a backslash and a
// slash count as the same separator.
bool MatchesValidFolder(const QString& path, const QString& validFolder);

// The folder behind a shell special-folder number: 0 (desktop) and 17 (the
// computer) give "" for the whole file system; unknown numbers give nothing.
std::optional<QString> SpecialFolderPath(qint32 csidl);

// Top-left corner that centres a window of the given size on screen.
QPoint CenteredPosition(const QRect& screen, const QSize& window);

// A chosen path as the platform spells it: absolute, native separators and no
// trailing separator except for a root. "" stays "".
QString NativeResultPath(const QString& path);

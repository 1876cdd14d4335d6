#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// INI files travel between this program, Windows PCs and the PDA in the
// Windows-1252 code page, so we convert with a fixed table instead of relying
// on the locale or an ICU build.
namespace Cp1252 {

// Every byte maps to one character; the five unassigned bytes map to the C1
// controls of the same value, so any file round-trips unchanged.
QString decode(QByteArrayView bytes);
// Characters outside the code page become '?', as the Windows conversion does.
QByteArray encode(QStringView text);

} // namespace Cp1252

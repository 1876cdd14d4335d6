#pragma once

#include <QList>
#include <QString>

// What activating a stored skin brings to MN4. From the skin's root only
// "NavLib.ini", the default layout file and "mapviewlt.ini" travel, under
// exactly these names; every other layout file reaches MN4 only from the
// skin's Layout folder. Uploading keeps the PC skin's folders as they are, so
// these rules tell on the PC already what a skin will deliver.
namespace SkinDelivery {

// The default layout file of the skin whose root holds names: "defaultltTMC.ini"
// when one of them is that file in any letter case, else "defaultlt.ini".
QString defaultLayoutFileOf(const QStringList& names);

// Whether activation copies a file of the skin's root called name.
bool deliversRootFile(const QString& name, const QString& defaultLayoutFile);

// A layout file in the skin's root that activation leaves behind.
struct RootFile
{
    enum class LayoutCopy { Missing, Same, Differs };

    QString name;       // as it is spelled in the root
    LayoutCopy copy;    // the file of that name in Layout, letter case ignored
};

// The root's layout files that activation does not deliver: every INI file but
// the marker (skinName + ".ini") and "NavLib.ini" in any letter case. Those whose
// Layout copy has the same bytes are included, so callers can tell them apart.
QList<RootFile> undeliveredRootFiles(const QString& skinFolder, const QString& skinName,
                                     const QString& defaultLayoutFile);

// Whether name is "NavLib.ini" in another letter case, which activation ignores.
bool isMisspelledNavLib(const QString& name);

} // namespace SkinDelivery

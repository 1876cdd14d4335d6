#include "SkinDelivery.h"

#include "Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString NavLib = QStringLiteral("NavLib.ini");
const QString MapView = QStringLiteral("mapviewlt.ini");

bool sameBytes(const QString& a, const QString& b)
{
    QFile first(a), second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) || first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        const QByteArray chunk = first.read(65536);
        if (chunk.isEmpty() || chunk != second.read(chunk.size()))
            return false;
    }
    return true;
}

} // namespace

namespace SkinDelivery {

QString defaultLayoutFileOf(const QStringList& names)
{
    const QString tmc = QStringLiteral("defaultltTMC.ini");
    return names.contains(tmc, Qt::CaseInsensitive) ? tmc : QStringLiteral("defaultlt.ini");
}

bool deliversRootFile(const QString& name, const QString& defaultLayoutFile)
{
    return name == NavLib || name == defaultLayoutFile || name == MapView;
}

bool isMisspelledNavLib(const QString& name)
{
    return name != NavLib && name.compare(NavLib, Qt::CaseInsensitive) == 0;
}

QList<RootFile> undeliveredRootFiles(const QString& skinFolder, const QString& skinName,
                                     const QString& defaultLayoutFile)
{
    QList<RootFile> files;
    const QString marker = skinName + QStringLiteral(".ini");
    const QString layout = FindAnyCase(skinFolder, QStringLiteral("Layout"));
    const QStringList names = QDir(skinFolder).entryList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        if (deliversRootFile(name, defaultLayoutFile) || name.compare(marker, Qt::CaseInsensitive) == 0
            || name.compare(NavLib, Qt::CaseInsensitive) == 0)
            continue;
        const QString copy = FindAnyCase(layout, name);
        RootFile file{name, RootFile::LayoutCopy::Missing};
        if (QFileInfo(copy).isFile())
            file.copy = sameBytes(QDir(skinFolder).filePath(name), copy) ? RootFile::LayoutCopy::Same
                                                                         : RootFile::LayoutCopy::Differs;
        files << file;
    }
    return files;
}

} // namespace SkinDelivery

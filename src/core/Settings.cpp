#include "Settings.h"

#include "Ini.h"
#include "NumberText.h"
#include "Paths.h"

#include <QDir>
#include <QStringList>

#include <cmath>
#include <optional>

namespace Settings {

QString filePath(const QString& appPath)
{
    return appPath + FileName;
}

QString defaultLastDir()
{
    return QDir::toNativeSeparators(QDir::homePath()) + QDir::separator();
}

QString defaultMapExportDir()
{
    return QDir::toNativeSeparators(
        QDir::homePath()
        + QStringLiteral("/.wine/drive_c/Programme/NAVIGON GmbH/NAVIGON MobileNavigator 4.0"));
}

namespace {

// A line width the frames can take: a number rounding (halves to even) to 1..8192.
std::optional<int> widthOf(const QString& text)
{
    const auto number = ParseNumber(text);
    if (!number)
        return std::nullopt;
    const double rounded = std::nearbyint(*number);
    if (rounded < 1 || rounded > 8192)
        return std::nullopt;
    return int(rounded);
}

int readWidth(const QString& file, QLatin1String key, int fallback)
{
    const int width = widthOf(ReadIni(file, Layout, key, fallback)).value_or(fallback);
    WriteIni(file, Layout, key, QString::number(width));
    return width;
}

quint32 readColor(const QString& file, QLatin1String key, QLatin1String fallback)
{
    QString used = ReadIni(file, Layout, key, fallback).left(6);
    QString value = ConvertBase(used, 16, 10);
    if (value == u"Error") {
        used = fallback;
        value = ConvertBase(used, 16, 10);
    }
    WriteIni(file, Layout, key, used);
    return value.toUInt();
}

} // namespace

ViewState readViewState(const QString& file)
{
    ViewState view;
    const auto number = [&](QLatin1String key) { return ParseNumber(ReadIni(file, View, key, QString())); };
    if (const auto zoom = number(Zoom); zoom && *zoom >= 1 && *zoom <= 64)
        view.zoom = int(*zoom);
    const QStringList parts = ReadIni(file, View, Window, QString()).split(QLatin1Char(','));
    if (parts.size() == 4) {
        bool ok[4];
        const QRect r(parts[0].trimmed().toInt(&ok[0]), parts[1].trimmed().toInt(&ok[1]),
                      parts[2].trimmed().toInt(&ok[2]), parts[3].trimmed().toInt(&ok[3]));
        if (ok[0] && ok[1] && ok[2] && ok[3] && r.width() >= 100 && r.height() >= 100 && r.width() <= 100000
            && r.height() <= 100000)
            view.window = r;
    }
    view.maximized = number(Maximized).value_or(0) != 0;
    view.snap = number(Snap).value_or(0) != 0;
    view.docks = QByteArray::fromBase64(ReadIni(file, View, Docks, QString()).toLatin1());
    return view;
}

bool writeViewState(const QString& file, const ViewState& view)
{
    IniBatch batch(file);
    batch.write(View, Zoom, QString::number(view.zoom));
    if (!view.window.isNull())
        batch.write(View, Window, QStringLiteral("%1,%2,%3,%4")
                                      .arg(view.window.x())
                                      .arg(view.window.y())
                                      .arg(view.window.width())
                                      .arg(view.window.height()));
    batch.write(View, Maximized, view.maximized ? QStringLiteral("1") : QStringLiteral("0"));
    batch.write(View, Snap, view.snap ? QStringLiteral("1") : QStringLiteral("0"));
    if (!view.docks.isEmpty())
        batch.write(View, Docks, QString::fromLatin1(view.docks.toBase64()));
    return batch.commit();
}

namespace {

QString recentKey(int index)
{
    return QStringLiteral("Folder%1").arg(index + 1);
}

QString withoutTrailingSeparator(QString folder)
{
    while (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')))
        folder.chop(1);
    return folder;
}

} // namespace

QStringList readRecentFolders(const QString& file)
{
    // From the oldest to the newest, so a folder written twice by hand keeps its newest place.
    QStringList folders;
    for (int i = RecentCount - 1; i >= 0; --i)
        if (const QString folder = ReadIni(file, Recent, recentKey(i), QString()).trimmed(); !folder.isEmpty())
            folders = withRecentFolder(folders, folder);
    return folders;
}

bool writeRecentFolders(const QString& file, const QStringList& folders)
{
    IniBatch batch(file);
    for (int i = 0; i < RecentCount; ++i)
        batch.write(Recent, recentKey(i), folders.value(i));
    return batch.commit();
}

QStringList withRecentFolder(QStringList folders, const QString& folder)
{
    const QString key = withoutTrailingSeparator(folder);
    folders.removeIf([&](const QString& f) { return withoutTrailingSeparator(f) == key; });
    folders.prepend(folder);
    while (folders.size() > RecentCount)
        folders.removeLast();
    return folders;
}

LayoutLook readLayoutLook(const QString& settingsFile)
{
    LayoutLook look;
    look.borderFrame = readWidth(settingsFile, BorderFrame, DefaultBorderFrame);
    look.selectorColor = readColor(settingsFile, SelectorColor, DefaultSelectorColor);
    look.borderSelector = readWidth(settingsFile, BorderSelector, DefaultBorderSelector);
    look.frameColor = readColor(settingsFile, FrameColor, DefaultFrameColor);
    return look;
}

} // namespace Settings

#include "Settings.h"

#include "Ini.h"
#include "NumberText.h"
#include "Paths.h"

#include <QDir>

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

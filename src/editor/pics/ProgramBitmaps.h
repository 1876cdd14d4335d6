#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

// The pictures the editor shows for screen backgrounds and elements. A skin
// keeps its own bitmaps in formats the editor cannot draw, so the editor brings
// a recognisable stand-in for every element: a button, label or panel look
// with the section's name on it.
class ProgramBitmaps
{
public:
    // Dark menu background of every screen except the map views (240 x 320).
    static QImage menuBackground();
    // Road-map background of the map views (240 x 320).
    static QImage mapBackground();
    // The element of section in the named screen.
    static QImage element(const QString& screenName, const QString& section);

    // Writes every program bitmap below programFolder as a 24-bit BMP and returns
    // the relative paths that could not be written.
    static QStringList writeAll(const QString& programFolder);
};

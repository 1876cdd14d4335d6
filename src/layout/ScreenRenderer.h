#pragma once

#include "ScreenBench.h"

#include <QImage>
#include <QString>

// Paints screens of a skin exactly as the editor's canvas shows them at its
// start: program bitmaps, frames and the selection marker in the default look.
// It reads only the skin and the program bitmaps and writes nothing, and it
// holds no bitmap once a screen is painted.
class ScreenRenderer
{
public:
    // programFolder holds the program bitmaps (pics/...), ending with a separator.
    explicit ScreenRenderer(const QString& programFolder);

    // Chooses a skin folder as the editor does on "Laden"; false when it is no folder.
    bool open(const QString& folder) { return m_bench.open(folder); }
    // The screen screenName, every pixel zoom × zoom; null for a screen the catalogue lacks.
    QImage render(const QString& screenName, int zoom = 1);
    // The screen area of screenName scaled smoothly to size, in 16-bit colour
    // (half the memory of 32 bits; a thumbnail needs no more); null as render().
    QImage thumbnail(const QString& screenName, QSize size);

private:
    // Paints screenName into image with the screen's top left at origin.
    bool paint(const QString& screenName, QImage& image, QPointF origin);

    ScreenBench m_bench;
    QImage m_screen; // thumbnails are painted here first
};

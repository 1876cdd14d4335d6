#pragma once

#include "ScreenBench.h"

#include <QImage>
#include <QString>

// Paints screens of a skin exactly as the editor's canvas shows them at its
// start: program bitmaps, frames and the selection marker in the default look.
// It reads only the skin and the program bitmaps and writes nothing.
class ScreenRenderer
{
public:
    // programFolder holds the program bitmaps (pics/...), ending with a separator.
    explicit ScreenRenderer(const QString& programFolder);

    // Chooses a skin folder as the editor does on "Laden"; false when it is no folder.
    bool open(const QString& folder) { return m_bench.open(folder); }
    // The screen screenName, every pixel zoom × zoom; null for a screen the catalogue lacks.
    QImage render(const QString& screenName, int zoom = 1);

private:
    ScreenBench m_bench;
};

#pragma once

#include <QImage>
#include <QString>

#include <memory>

class frmTivaro;
struct AppState;

// Paints screens of a skin exactly as the editor's canvas shows them: program
// bitmaps, frames and the selection marker. It drives a hidden editor window,
// so the picture is always the editor's own.
class ScreenRenderer
{
public:
    // state.prompter answers what the window asks; the window is never shown.
    explicit ScreenRenderer(AppState& state);
    ~ScreenRenderer();

    // Opens a skin folder as the editor does on "Laden"; false when it is no folder.
    bool open(const QString& folder);
    // The canvas showing screenName, every pixel zoom × zoom; null for a screen the editor does not offer.
    QImage render(const QString& screenName, int zoom = 1);

private:
    std::unique_ptr<frmTivaro> m_window;
};

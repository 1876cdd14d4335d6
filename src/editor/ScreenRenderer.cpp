#include "ScreenRenderer.h"

#include "CanvasView.h"
#include "frmTivaro.h"

ScreenRenderer::ScreenRenderer(AppState& state)
    : m_window(std::make_unique<frmTivaro>(state))
{
}

ScreenRenderer::~ScreenRenderer() = default;

bool ScreenRenderer::open(const QString& folder)
{
    return m_window->openSkinFolder(folder);
}

QImage ScreenRenderer::render(const QString& screenName, int zoom)
{
    if (!m_window->showScreen(screenName))
        return {};
    // One device pixel per pixel, then scaled: frames grow with the picture.
    m_window->setZoom(1);
    const QImage image = m_window->canvasView()->grab().toImage();
    if (zoom <= 1)
        return image;
    // Whole pixels stay whole pixels: a zoomed canvas is for looking closely.
    return image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

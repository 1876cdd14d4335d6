#include "ScreenRenderer.h"

#include "ScreenPainter.h"
#include "Settings.h"
#include "ViewTransform.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>

namespace {

QColor lookColour(quint32 value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace

ScreenRenderer::ScreenRenderer(const QString& programFolder)
    : m_elements(m_document, m_canvas, QLocale::system())
    , m_layout(m_state, m_canvas, m_elements, m_view)
{
    m_state.AppPath = programFolder;
    // The default look: the picture does not depend on the user's settings.
    const Settings::LayoutLook look;
    m_canvas.selector()->setColor(lookColour(look.selectorColor));
    m_canvas.selector()->setLineWidth(look.borderSelector);
    for (int slot = 0; slot < SlotCount; ++slot) {
        m_canvas.frame(slot)->setLineWidth(look.borderFrame);
        m_canvas.frame(slot)->setColor(lookColour(look.frameColor));
    }
}

bool ScreenRenderer::open(const QString& folder)
{
    const QFileInfo info(folder);
    if (!info.isDir())
        return false;
    m_state.SkinFolder = QDir::toNativeSeparators(info.absoluteFilePath()) + QDir::separator();
    m_state.LayoutLoaded = true;
    return true;
}

QImage ScreenRenderer::render(const QString& screenName, int zoom)
{
    if (!ScreenCatalogue::find(screenName) || !m_layout.CheckForSave(screenName))
        return {};
    const ViewTransform transform(1, m_state.TwipsPerPixelX, m_state.TwipsPerPixelY, QPointF(ScreenMargin, ScreenMargin));
    QImage image(Canvas::ScreenWidth + 2 * ScreenMargin, Canvas::ScreenHeight + 2 * ScreenMargin,
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(QGuiApplication::palette().window().color());
    QPainter painter(&image);
    PaintScreen(painter, m_canvas, m_document, transform, image.rect());
    painter.end();
    if (zoom <= 1)
        return image;
    // Whole pixels stay whole pixels: a zoomed canvas is for looking closely.
    return image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

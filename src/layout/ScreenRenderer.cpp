#include "ScreenRenderer.h"

#include "ScreenPainter.h"
#include "Settings.h"
#include "ViewTransform.h"

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
    : m_bench(programFolder, QLocale::system())
{
    // The default look: the picture does not depend on the user's settings.
    const Settings::LayoutLook look;
    Canvas& canvas = m_bench.canvas();
    canvas.selector()->setColor(lookColour(look.selectorColor));
    canvas.selector()->setLineWidth(look.borderSelector);
    for (int slot = 0; slot < SlotCount; ++slot) {
        canvas.frame(slot)->setLineWidth(look.borderFrame);
        canvas.frame(slot)->setColor(lookColour(look.frameColor));
    }
}

bool ScreenRenderer::paint(const QString& screenName, QImage& image, QPointF origin)
{
    if (!m_bench.load(screenName))
        return false;
    const AppState& state = m_bench.state();
    const ViewTransform transform(1, state.TwipsPerPixelX, state.TwipsPerPixelY, origin);
    image.fill(QGuiApplication::palette().window().color());
    QPainter painter(&image);
    PaintScreen(painter, m_bench.canvas(), m_bench.document(), transform, image.rect());
    painter.end();
    // The pictures go back to the shared cache, which keeps them only while it has room.
    Canvas& canvas = m_bench.canvas();
    canvas.background()->loadPicture({});
    for (int slot = 0; slot < SlotCount; ++slot)
        canvas.bitmap(slot)->loadPicture({});
    return true;
}

QImage ScreenRenderer::render(const QString& screenName, int zoom)
{
    QImage image(Canvas::ScreenWidth + 2 * ScreenMargin, Canvas::ScreenHeight + 2 * ScreenMargin,
                 QImage::Format_ARGB32_Premultiplied);
    if (!paint(screenName, image, QPointF(ScreenMargin, ScreenMargin)))
        return {};
    if (zoom <= 1)
        return image;
    // Whole pixels stay whole pixels: a zoomed canvas is for looking closely.
    return image.scaled(image.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage ScreenRenderer::thumbnail(const QString& screenName, QSize size)
{
    if (m_screen.isNull())
        m_screen = QImage(Canvas::ScreenWidth, Canvas::ScreenHeight, QImage::Format_ARGB32_Premultiplied);
    if (!paint(screenName, m_screen, QPointF()))
        return {};
    return m_screen.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB16);
}

#include "ScreenPainter.h"

#include "Canvas.h"
#include "LayoutDocument.h"
#include "ViewTransform.h"

#include <QPainter>

namespace {

// Colour of the canvas where no background picture is loaded yet.
const QColor EmptyCanvas(0x30, 0x30, 0x30);

// An outline drawn inside its rectangle, as the frames of the device screen are.
void drawOutline(QPainter& painter, const QRectF& r, const QColor& color, int lineWidth)
{
    if (lineWidth <= 0)
        return;
    const double inset = lineWidth / 2.0;
    const QRectF inner = r.adjusted(inset, inset, -inset, -inset);
    QPen pen(color, lineWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    if (inner.width() >= 0 && inner.height() >= 0)
        painter.drawRect(inner);
    else
        painter.fillRect(r, color);
}

} // namespace

void PaintScreen(QPainter& painter, const Canvas& canvas, const LayoutDocument& document,
                 const ViewTransform& transform, const QRectF& clip)
{
    const CanvasBitmap* background = canvas.background();
    const QRectF screen = transform.toWidget(canvas.screen()->rect());
    if (background->isVisible() && !background->picture().isNull())
        painter.drawImage(transform.toWidget(background->rect()), background->picture());
    else
        painter.fillRect(screen, EmptyCanvas);

    // Higher slots lie above lower ones.
    for (int slot = 0; slot < SlotCount; ++slot) {
        const CanvasBitmap* bitmap = canvas.bitmap(slot);
        if (bitmap->isVisible() && !bitmap->picture().isNull() && bitmap->width() > 0 && bitmap->height() > 0) {
            const QRectF target = transform.toWidget(bitmap->rect());
            if (target.intersects(clip))
                painter.drawImage(target, bitmap->picture());
        }
    }
    for (int slot = 0; slot < SlotCount; ++slot) {
        const CanvasShape* frame = canvas.frame(slot);
        if (frame->isVisible())
            drawOutline(painter, transform.toWidget(frame->rect()), frame->color(), frame->lineWidth());
    }
    const CanvasShape* screenFrame = canvas.screen();
    if (screenFrame->isVisible())
        drawOutline(painter, screen.adjusted(-1, -1, 1, 1), screenFrame->color(), 1);
    const CanvasShape* selector = canvas.selector();
    // The other selected elements: a thin line of the marker's colour.
    for (int slot : document.selection())
        if (slot != document.current() && document.contains(slot) && document.visible(slot))
            drawOutline(painter, transform.toWidget(document.rect(slot)), selector->color(), 1);
    if (selector->isVisible())
        drawOutline(painter, transform.toWidget(selector->rect()), selector->color(), selector->lineWidth());
}

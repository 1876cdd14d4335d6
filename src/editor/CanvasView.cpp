#include "CanvasView.h"

#include "Canvas.h"
#include "Elements.h"
#include "clsImage.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QWheelEvent>

#include <algorithm>

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

CanvasView::CanvasView(Canvas& canvas, Elements& elements, QWidget* parent)
    : QWidget(parent), m_canvas(canvas), m_elements(elements)
{
    setObjectName(QStringLiteral("CanvasView"));
    setMouseTracking(true);
    // A click on the canvas takes the focus from the screen list, so the arrow keys then nudge.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_canvas, &Canvas::itemChanged, this,
            [this](CanvasItem*, const QRectF& before, const QRectF& after) { onItemChanged(before, after); });
    updateGeometryFromCanvas();
}

void CanvasView::updateTransform(int zoom)
{
    m_transform = ViewTransform(zoom, m_canvas.twipsPerPixelX(), m_canvas.twipsPerPixelY(), QPointF(Margin, Margin));
}

void CanvasView::updateGeometryFromCanvas()
{
    updateTransform(zoom());
    setFixedSize(sizeHint());
    update();
}

void CanvasView::setZoom(int zoom)
{
    if (zoom == this->zoom())
        return;
    updateTransform(zoom);
    setFixedSize(sizeHint());
    update();
}

QSize CanvasView::sizeAt(int zoom)
{
    return {Canvas::ScreenWidth * zoom + 2 * Margin, Canvas::ScreenHeight * zoom + 2 * Margin};
}

QSize CanvasView::sizeHint() const
{
    return sizeAt(zoom());
}

QRectF CanvasView::toWidget(const QRectF& twips) const
{
    return m_transform.toWidget(twips);
}

QPointF CanvasView::toTwips(const QPointF& pixel) const
{
    return m_transform.toTwips(pixel);
}

QPointF CanvasView::relative(int slot, const QPointF& pixel) const
{
    return toTwips(pixel) - m_elements.document().rect(slot).topLeft();
}

void CanvasView::onItemChanged(const QRectF& before, const QRectF& after)
{
    // Outlines lie inside their rectangle; one pixel more covers rounding.
    const QRect dirty = toWidget(before).united(toWidget(after)).toAlignedRect().adjusted(-1, -1, 1, 1);
    update(dirty);
}

void CanvasView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.fillRect(event->rect(), palette().window());

    const CanvasBitmap* background = m_canvas.background();
    const QRectF screen = toWidget(m_canvas.screen()->rect());
    if (background->isVisible() && !background->picture().isNull())
        painter.drawImage(toWidget(background->rect()), background->picture());
    else
        painter.fillRect(screen, EmptyCanvas);

    // Higher slots lie above lower ones.
    for (int slot = 0; slot < SlotCount; ++slot) {
        const CanvasBitmap* bitmap = m_canvas.bitmap(slot);
        if (bitmap->isVisible() && !bitmap->picture().isNull() && bitmap->width() > 0 && bitmap->height() > 0) {
            const QRectF target = toWidget(bitmap->rect());
            if (target.intersects(event->rect()))
                painter.drawImage(target, bitmap->picture());
        }
    }
    for (int slot = 0; slot < SlotCount; ++slot) {
        const CanvasShape* frame = m_canvas.frame(slot);
        if (frame->isVisible())
            drawOutline(painter, toWidget(frame->rect()), frame->color(), frame->lineWidth());
    }
    const CanvasShape* screenFrame = m_canvas.screen();
    if (screenFrame->isVisible())
        drawOutline(painter, screen.adjusted(-1, -1, 1, 1), screenFrame->color(), 1);
    const CanvasShape* selector = m_canvas.selector();
    if (selector->isVisible())
        drawOutline(painter, toWidget(selector->rect()), selector->color(), selector->lineWidth());
}

void CanvasView::mousePressEvent(QMouseEvent* event)
{
    const QPointF pixel = event->position();
    if (m_captured < 0)
        m_captured = m_elements.document().elementAt(toTwips(pixel));
    if (clsImage* element = m_elements.at(m_captured)) {
        const QPointF at = relative(m_captured, pixel);
        element->myImage_MouseDown(event->button(), event->modifiers(), at.x(), at.y());
    }
    applyPointerShape();
    event->accept();
}

void CanvasView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pixel = event->position();
    const int slot = m_captured >= 0 ? m_captured : m_elements.document().elementAt(toTwips(pixel));
    if (clsImage* element = m_elements.at(slot)) {
        const QPointF at = relative(slot, pixel);
        element->myImage_MouseMove(event->buttons(), event->modifiers(), at.x(), at.y());
    } else {
        // Over the background the default pointer comes back.
        m_elements.setPointerShape(Qt::ArrowCursor);
    }
    applyPointerShape();
    event->accept();
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    if (clsImage* element = m_elements.at(m_captured)) {
        const QPointF at = relative(m_captured, event->position());
        element->myImage_MouseUp(event->button(), event->modifiers(), at.x(), at.y());
    }
    if (event->buttons() == Qt::NoButton)
        m_captured = -1;
    applyPointerShape();
    event->accept();
}

void CanvasView::wheelEvent(QWheelEvent* event)
{
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore(); // the scroll area scrolls
        return;
    }
    // One step per notch (120 eighths of a degree), however finely the wheel reports.
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / 120;
    m_wheelAngle -= steps * 120;
    if (steps != 0)
        emit zoomWheel(steps, event->position());
    event->accept();
}

void CanvasView::applyPointerShape()
{
    const Qt::CursorShape shape = m_elements.pointerShape();
    if (cursor().shape() != shape)
        setCursor(shape);
}

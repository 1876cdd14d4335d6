#include "CanvasView.h"

#include "Canvas.h"
#include "Elements.h"
#include "clsImage.h"

#include "ElementList.h"
#include "LayoutDocument.h"
#include "ScreenPainter.h"
#include "Selection.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace {

// Snap guides: a colour no skin uses much, so a guide never hides in the picture.
const QColor GuideColour(0xFF, 0x00, 0xFF);

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
    // The outlines of the other selected elements.
    connect(&m_elements.document(), &LayoutDocument::selectionChanged, this, &CanvasView::onSelectionChanged);
    connect(&m_elements.document(), &LayoutDocument::loaded, this, [this] { m_outlined.clear(); });
    updateGeometryFromCanvas();
}

void CanvasView::updateTransform(int zoom)
{
    m_elements.setZoom(zoom);
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

    PaintScreen(painter, m_canvas, m_elements.document(), m_transform, event->rect());
    // Guides across the whole view, one screen pixel wide whatever the zoom.
    painter.setPen(QPen(GuideColour, 0));
    for (const Snapping::Guide& g : m_guides) {
        const QPointF at = toWidget(QRectF(g.position, g.position, 0, 0)).topLeft();
        if (g.orientation == Qt::Vertical)
            painter.drawLine(QPointF(std::floor(at.x()) + 0.5, 0), QPointF(std::floor(at.x()) + 0.5, height()));
        else
            painter.drawLine(QPointF(0, std::floor(at.y()) + 0.5), QPointF(width(), std::floor(at.y()) + 0.5));
    }
    if (m_banding && !m_band.isNull()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 0, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(toWidget(m_band).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void CanvasView::mousePressEvent(QMouseEvent* event)
{
    LayoutDocument& doc = m_elements.document();
    const QPointF pixel = event->position();
    const QPointF point = toTwips(pixel);
    if (m_captured < 0 && !m_banding && !m_groupDrag && event->button() == Qt::LeftButton) {
        const int slot = doc.elementAt(point);
        const bool touchable = doc.contains(slot) && doc.element(slot).touch.any();
        if (event->modifiers() & Qt::ControlModifier) {
            // Ctrl+click adds or removes one element; on empty canvas it draws a band that adds.
            if (touchable)
                doc.toggleSelected(slot);
            else if (slot < 0) {
                m_banding = true;
                m_bandBase = doc.selection();
            }
        } else if (slot < 0) {
            m_banding = true;
            m_bandBase.clear();
        } else if (touchable && doc.selection().size() > 1 && doc.isSelected(slot)) {
            // Inside one of several selected elements: they all move. Its edges still resize it alone.
            const LayoutElement& e = doc.element(slot);
            const double zone = transform().edgeZone(m_canvas.selector()->lineWidth());
            if (!Layout::GrabsAt(e.rect.size(), point - e.rect.topLeft(), zone, e.touch).any()) {
                m_groupDrag = true;
                m_groupStart = point;
                doc.pressSelection();
            }
        }
        if (m_banding) {
            // The selection changes once the band has grown; a plain click leaves it as it is.
            m_bandStart = point;
            m_band = {};
        }
        if (m_banding || m_groupDrag || (event->modifiers() & Qt::ControlModifier)) {
            event->accept();
            return;
        }
    }
    if (m_captured < 0)
        m_captured = doc.elementAt(point);
    if (clsImage* element = m_elements.at(m_captured)) {
        const QPointF at = relative(m_captured, pixel);
        element->myImage_MouseDown(event->button(), event->modifiers(), at.x(), at.y());
    }
    applyPointerShape();
    event->accept();
}

double CanvasView::snapDistance(Qt::KeyboardModifiers modifiers) const
{
    if (!m_snapping || (modifiers & Qt::AltModifier))
        return 0;
    return Snapping::DistancePixels * transform().twipsPerScreenPixel();
}

void CanvasView::setGuides(std::vector<Snapping::Guide> guides)
{
    if (guides == m_guides)
        return;
    // Only the strips under the old and the new lines are painted again.
    const auto strip = [this](const Snapping::Guide& g) {
        const QPointF at = toWidget(QRectF(g.position, g.position, 0, 0)).topLeft();
        return g.orientation == Qt::Vertical ? QRect(int(std::floor(at.x())) - 1, 0, 3, height())
                                             : QRect(0, int(std::floor(at.y())) - 1, width(), 3);
    };
    for (const Snapping::Guide& g : m_guides)
        update(strip(g));
    m_guides = std::move(guides);
    for (const Snapping::Guide& g : m_guides)
        update(strip(g));
}

namespace {

// The lines a drag of `moving` can snap to: everything visible that neither
// moves nor follows what moves.
Snapping::Lines linesFor(const LayoutDocument& doc, const QList<int>& moving, const QRectF& screen)
{
    const Rects& atPress = doc.rectsAtPress();
    QList<int> excluded = moving;
    for (int slot : moving)
        excluded += Snapping::Followers(atPress, doc.rules(), slot);
    std::vector<bool> visible;
    for (const LayoutElement& e : doc.elements())
        visible.push_back(e.visible);
    return Snapping::LinesOf(atPress, visible, excluded, screen);
}

} // namespace

QPointF CanvasView::snappedDrag(int slot, QPointF point, Qt::KeyboardModifiers modifiers)
{
    const LayoutDocument& doc = m_elements.document();
    if (doc.dragged() != slot || !doc.contains(slot)) {
        setGuides({});
        return point;
    }
    const LayoutElement& e = doc.element(slot);
    // Without snapping only the pixel grid remains, and no line is needed.
    const double distance = snapDistance(modifiers);
    const Snapping::Lines lines = distance > 0 ? linesFor(doc, {slot}, m_canvas.screen()->rect()) : Snapping::Lines{};
    const Snapping::Snap snap =
        Snapping::SnapDrag(doc.rectsAtPress(), slot, doc.grip(), point, e.factor, e.touch, lines, distance, doc.rules());
    setGuides(snap.guides);
    return snap.pointer;
}

void CanvasView::moveGroup(QPointF point, Qt::KeyboardModifiers modifiers)
{
    LayoutDocument& doc = m_elements.document();
    QList<int> moving;
    std::vector<Factors> factors;
    std::vector<Touch> touch;
    for (int slot = 0; slot < doc.count(); ++slot) {
        factors.push_back(doc.element(slot).factor);
        touch.push_back(doc.isLocked(slot) ? Touch{false, false, false, false} : doc.element(slot).touch);
        if (doc.isSelected(slot) && !doc.isLocked(slot))
            moving << slot;
    }
    const double distance = snapDistance(modifiers);
    const Snapping::Lines lines = distance > 0 ? linesFor(doc, moving, m_canvas.screen()->rect()) : Snapping::Lines{};
    const Snapping::Snap snap =
        Snapping::SnapMove(doc.rectsAtPress(), moving, factors, touch, point - m_groupStart, lines, distance, doc.rules());
    setGuides(snap.guides);
    doc.moveSelectionTo(snap.pointer);
}

void CanvasView::moveBand(QPointF point)
{
    LayoutDocument& doc = m_elements.document();
    const QRectF before = m_band;
    m_band = QRectF(m_bandStart, point).normalized();
    if (m_band.width() <= 0 || m_band.height() <= 0)
        return;
    std::vector<bool> selectable;
    for (const LayoutElement& e : doc.elements())
        selectable.push_back(e.visible && e.touch.any());
    QList<int> chosen = m_bandBase;
    for (int slot : Selection::BandHits(doc.rects(), selectable, m_band))
        if (!chosen.contains(slot))
            chosen << slot;
    const int current = chosen.contains(doc.current()) ? doc.current() : (chosen.isEmpty() ? -1 : chosen.last());
    doc.setSelection(chosen, current);
    updateOutline(before);
    updateOutline(m_band);
}

void CanvasView::updateOutline(const QRectF& twips)
{
    // Only the four edges: the inside of a large band stays as it is.
    const QRect r = toWidget(twips).toAlignedRect();
    update(QRect(r.left() - 2, r.top() - 2, r.width() + 4, 5));
    update(QRect(r.left() - 2, r.bottom() - 2, r.width() + 4, 5));
    update(QRect(r.left() - 2, r.top() - 2, 5, r.height() + 4));
    update(QRect(r.right() - 2, r.top() - 2, 5, r.height() + 4));
}

void CanvasView::onSelectionChanged()
{
    // The outlines of what was and what is selected.
    const LayoutDocument& doc = m_elements.document();
    const QList<int> now = doc.selection();
    for (const QList<int>* list : {static_cast<const QList<int>*>(&m_outlined), &now})
        for (int slot : *list)
            if (doc.contains(slot))
                updateOutline(doc.rect(slot));
    m_outlined = now;
}

void CanvasView::mouseMoveEvent(QMouseEvent* event)
{
    LayoutDocument& doc = m_elements.document();
    const QPointF pixel = event->position();
    const QPointF point = toTwips(pixel);
    const double tppX = std::max(1, m_canvas.twipsPerPixelX()), tppY = std::max(1, m_canvas.twipsPerPixelY());
    emit pointerAt(QPoint(int(std::floor(point.x() / tppX)), int(std::floor(point.y() / tppY))));
    if (m_banding) {
        moveBand(point);
        event->accept();
        return;
    }
    if (m_groupDrag) {
        if (event->buttons() == Qt::LeftButton)
            moveGroup(point, event->modifiers());
        event->accept();
        return;
    }
    const int slot = m_captured >= 0 ? m_captured : doc.elementAt(point);
    if (clsImage* element = m_elements.at(slot)) {
        const QPointF at = (event->buttons() == Qt::LeftButton ? snappedDrag(slot, point, event->modifiers()) : point)
                           - doc.rect(slot).topLeft();
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
    if (m_banding || m_groupDrag) {
        if (event->buttons() == Qt::NoButton) {
            if (m_groupDrag)
                m_elements.document().release();
            m_banding = m_groupDrag = false;
            updateOutline(m_band);
            m_band = {};
            setGuides({});
        }
        event->accept();
        return;
    }
    if (clsImage* element = m_elements.at(m_captured)) {
        const QPointF at = relative(m_captured, event->position());
        element->myImage_MouseUp(event->button(), event->modifiers(), at.x(), at.y());
    }
    if (event->buttons() == Qt::NoButton) {
        m_captured = -1;
        setGuides({});
    }
    applyPointerShape();
    event->accept();
}

void CanvasView::leaveEvent(QEvent* event)
{
    emit pointerLeft();
    QWidget::leaveEvent(event);
}

bool CanvasView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        // The element under the pointer, with its section and rectangle.
        auto* help = static_cast<QHelpEvent*>(event);
        const LayoutDocument& doc = m_elements.document();
        const int slot = doc.elementAt(toTwips(help->pos()));
        if (slot >= 0)
            QToolTip::showText(help->globalPos(), ElementList::describe(doc, slot), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
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

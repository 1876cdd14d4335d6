#include "CanvasView.h"

#include "Canvas.h"

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
// Width of a finding's outline, in screen pixels at every zoom.
constexpr int MarkWidth = 2;

} // namespace

CanvasView::CanvasView(Canvas& canvas, LayoutDocument& document, QWidget* parent)
    : QWidget(parent), m_canvas(canvas), m_document(document), m_tool(document)
{
    setObjectName(QStringLiteral("CanvasView"));
    setMouseTracking(true);
    // A click on the canvas takes the focus from the screen list, so the arrow keys then nudge.
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_canvas, &Canvas::itemChanged, this,
            [this](CanvasItem*, const QRectF& before, const QRectF& after) { onItemChanged(before, after); });
    // The outlines of the other selected elements.
    connect(&m_document, &LayoutDocument::selectionChanged, this, &CanvasView::onSelectionChanged);
    connect(&m_document, &LayoutDocument::loaded, this, [this] {
        m_outlined.clear();
        m_tool.reset();
        showTool();
        markFindings();
    });
    connect(&m_document, &LayoutDocument::rectsChanged, this, &CanvasView::updateMarks);
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
    updateMarks();
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

    PaintScreen(painter, m_canvas, m_document, m_transform, event->rect());
    for (const FindingMark& mark : m_marks) {
        const QRect r = mark.painted;
        const QColor colour = QColor::fromRgb(mark.error ? ErrorOutline : WarningOutline);
        if (r.width() <= 2 * MarkWidth || r.height() <= 2 * MarkWidth) {
            painter.fillRect(r, colour);
            continue;
        }
        painter.fillRect(QRect(r.left(), r.top(), r.width(), MarkWidth), colour);
        painter.fillRect(QRect(r.left(), r.bottom() - MarkWidth + 1, r.width(), MarkWidth), colour);
        painter.fillRect(QRect(r.left(), r.top(), MarkWidth, r.height()), colour);
        painter.fillRect(QRect(r.right() - MarkWidth + 1, r.top(), MarkWidth, r.height()), colour);
    }
    // Guides across the whole view, one screen pixel wide whatever the zoom.
    painter.setPen(QPen(GuideColour, 0));
    for (const Snapping::Guide& g : m_guides) {
        const QPointF at = toWidget(QRectF(g.position, g.position, 0, 0)).topLeft();
        if (g.orientation == Qt::Vertical)
            painter.drawLine(QPointF(std::floor(at.x()) + 0.5, 0), QPointF(std::floor(at.x()) + 0.5, height()));
        else
            painter.drawLine(QPointF(0, std::floor(at.y()) + 0.5), QPointF(width(), std::floor(at.y()) + 0.5));
    }
    if (!m_band.isNull()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 0, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(toWidget(m_band).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void CanvasView::mousePressEvent(QMouseEvent* event)
{
    // The marker's line width may have changed with the settings.
    m_tool.setView(m_transform.twipsPerScreenPixel(), m_transform.edgeZone(m_canvas.selector()->lineWidth()),
                   m_canvas.screen()->rect());
    m_tool.press(toTwips(event->position()), event->button(), event->modifiers());
    showTool();
    event->accept();
}

bool CanvasView::cancelGesture()
{
    const bool cancelled = m_tool.cancel();
    showTool();
    return cancelled;
}

void CanvasView::showTool()
{
    setGuides(m_tool.guides());
    const QRectF band = m_tool.band().width() > 0 || m_tool.band().height() > 0 ? m_tool.band() : QRectF();
    if (band != m_band) {
        updateOutline(m_band);
        updateOutline(band);
        m_band = band;
    }
    if (cursor().shape() != m_tool.pointerShape())
        setCursor(m_tool.pointerShape());
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
    const LayoutDocument& doc = m_document;
    const QList<int> now = doc.selection();
    for (const QList<int>* list : {static_cast<const QList<int>*>(&m_outlined), &now})
        for (int slot : *list)
            if (doc.contains(slot))
                updateOutline(doc.rect(slot));
    m_outlined = now;
}

void CanvasView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF point = toTwips(event->position());
    const double tppX = std::max(1, m_canvas.twipsPerPixelX()), tppY = std::max(1, m_canvas.twipsPerPixelY());
    emit pointerAt(QPoint(int(std::floor(point.x() / tppX)), int(std::floor(point.y() / tppY))));
    m_tool.move(point, event->buttons(), event->modifiers());
    showTool();
    event->accept();
}

void CanvasView::mouseReleaseEvent(QMouseEvent* event)
{
    m_tool.release();
    showTool();
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
        const int slot = m_document.elementAt(toTwips(help->pos()));
        const int mark = markAt(help->pos(), slot);
        // The findings about it follow, also for an element off the view, shown by its outline.
        if (mark >= 0)
            QToolTip::showText(help->globalPos(),
                               ElementList::describe(m_document, m_marks[mark].slot) + u'\n' + m_marks[mark].text, this);
        else if (slot >= 0)
            QToolTip::showText(help->globalPos(), ElementList::describe(m_document, slot), this);
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

void CanvasView::setFindings(const QList<Finding>& findings)
{
    m_findings = findings;
    markFindings();
}

void CanvasView::markFindings()
{
    for (const FindingMark& mark : m_marks)
        update(mark.painted);
    m_marks.clear();
    for (int slot = 0; slot < m_document.count(); ++slot) {
        if (!m_document.visible(slot))
            continue;
        FindingMark mark{slot, false, {}, {}};
        for (const Finding& f : std::as_const(m_findings)) {
            if (!FindingConcerns(f, m_document.file(slot), m_document.section(slot)))
                continue;
            mark.error = mark.error || f.severity == Finding::Severity::Error;
            mark.text += (mark.text.isEmpty() ? QString() : QStringLiteral("\n"))
                         + (f.severity == Finding::Severity::Error ? QStringLiteral("Fehler: ")
                                                                   : QStringLiteral("Warnung: "))
                         + f.message;
        }
        if (!mark.text.isEmpty())
            m_marks.push_back(mark);
    }
    updateMarks();
}

void CanvasView::updateMarks()
{
    for (FindingMark& mark : m_marks) {
        update(mark.painted);
        mark.painted = markRect(mark.slot);
        update(mark.painted);
    }
}

QRect CanvasView::markRect(int slot) const
{
    if (!m_document.contains(slot))
        return {};
    const QRect r = toWidget(QRectF(m_document.frame(slot))).toRect();
    // At least a strip of the margin's width, where the element lies beyond the edge.
    const QRect area = rect();
    const int left = std::clamp(r.left(), 0, area.width() - Margin);
    const int top = std::clamp(r.top(), 0, area.height() - Margin);
    const int right = std::clamp(r.right(), left + Margin - 1, area.width() - 1);
    const int bottom = std::clamp(r.bottom(), top + Margin - 1, area.height() - 1);
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

int CanvasView::markAt(QPoint pos, int slot) const
{
    for (int i = 0; i < int(m_marks.size()); ++i)
        if (m_marks[i].slot == slot)
            return i;
    // Over an outline at the edge, for an element off the view.
    for (int i = int(m_marks.size()) - 1; i >= 0; --i)
        if (m_marks[i].painted.contains(pos))
            return i;
    return -1;
}

#include "SelectTool.h"

#include "LayoutDocument.h"
#include "Selection.h"
#include "Twips.h"

SelectTool::SelectTool(LayoutDocument& document)
    : m_document(document)
{
}

void SelectTool::setView(double twipsPerScreenPixel, double edgeZone, const QRectF& screen)
{
    m_twipsPerScreenPixel = twipsPerScreenPixel;
    m_zone = edgeZone;
    m_screen = screen;
}

void SelectTool::press(QPointF point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    if (m_action != NoAction) {
        // Another button while one is held: a drag of one element takes hold
        // again, keeping the edges it holds; anything else goes on unchanged.
        if (m_slot >= 0)
            pressElement(m_slot, point, true);
        return;
    }
    m_before = m_document.rects();
    m_selectionBefore = m_document.selection();
    m_currentBefore = m_document.current();
    m_start = point;
    const int slot = m_document.elementAt(point);
    const bool touchable = slot >= 0 && m_document.element(slot).touch.any();
    if (button == Qt::LeftButton) {
        if (modifiers & Qt::ControlModifier) {
            // Ctrl+click adds or removes one element; on empty canvas it draws a band that adds.
            if (touchable)
                m_document.toggleSelected(slot);
            else if (slot < 0)
                startBand(point, m_document.selection());
            return;
        }
        if (slot < 0) {
            startBand(point, {});
            return;
        }
        if (touchable && m_document.selection().size() > 1 && m_document.isSelected(slot)) {
            // Inside one of several selected elements: they all move. Its edges still resize it alone.
            const LayoutElement& e = m_document.element(slot);
            if (!Layout::GrabsAt(e.rect.size(), point - e.rect.topLeft(), m_zone, e.touch).any()) {
                m_action = Moving;
                m_slot = -1;
                m_atPress = m_before;
                return;
            }
        }
    }
    // An element none of whose values may change ignores the press.
    if (touchable)
        pressElement(slot, point, false);
}

void SelectTool::pressElement(int slot, QPointF point, bool again)
{
    if (m_document.isLocked(slot)) {
        // A locked element can be chosen, not moved.
        m_document.select(slot);
        return;
    }
    const LayoutElement& e = m_document.element(slot);
    const QPointF at = point - e.rect.topLeft();
    Grip grip;
    grip.grabs = Layout::GrabsAt(e.rect.size(), at, m_zone, e.touch);
    if (again) {
        grip.grabs.left |= m_grip.grabs.left;
        grip.grabs.top |= m_grip.grabs.top;
        grip.grabs.right |= m_grip.grabs.right;
        grip.grabs.bottom |= m_grip.grabs.bottom;
        grip.moveMode = m_grip.moveMode;
    }
    grip.moveMode = grip.moveMode || !grip.grabs.any();
    grip.start = QPointF(Twips::whole(at.x()), Twips::whole(at.y()));
    m_document.select(slot);
    m_slot = slot;
    m_grip = grip;
    m_skipNextMove = true;
    m_atPress = m_document.rects();
    m_action = grip.grabs.any() ? Resizing : Moving;
}

void SelectTool::startBand(QPointF point, QList<int> base)
{
    // The selection changes once the band has grown; a plain click leaves it as it is.
    m_action = Selecting;
    m_start = point;
    m_band = {};
    m_bandBase = std::move(base);
}

void SelectTool::move(QPointF point, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    if (m_action == Selecting)
        moveBand(point);
    else if (m_action != NoAction && m_slot < 0) {
        if (buttons == Qt::LeftButton)
            moveSelection(point, modifiers);
    } else if (m_action != NoAction)
        moveElement(point, buttons, modifiers);
    else
        hover(point);
}

void SelectTool::moveBand(QPointF point)
{
    m_band = QRectF(m_start, point).normalized();
    if (m_band.width() <= 0 || m_band.height() <= 0)
        return;
    std::vector<bool> selectable;
    for (int slot = 0; slot < m_document.count(); ++slot)
        selectable.push_back(m_document.visible(slot) && m_document.element(slot).touch.any());
    QList<int> chosen = m_bandBase;
    for (int slot : Selection::BandHits(m_document.rects(), selectable, m_band))
        if (!chosen.contains(slot))
            chosen << slot;
    const int current = m_document.current();
    m_document.setSelection(chosen, chosen.contains(current) ? current : (chosen.isEmpty() ? -1 : chosen.last()));
}

double SelectTool::snapDistance(Qt::KeyboardModifiers modifiers) const
{
    if (!m_snapping || (modifiers & Qt::AltModifier))
        return 0;
    return Snapping::DistancePixels * m_twipsPerScreenPixel;
}

Snapping::Lines SelectTool::linesFor(const QList<int>& moving, double distance) const
{
    // Without snapping only the pixel grid remains, and no line is needed.
    if (distance <= 0)
        return {};
    // Everything visible that neither moves nor follows what moves.
    QList<int> excluded = moving;
    for (int slot : moving)
        excluded += Snapping::Followers(m_atPress, m_document.rules(), slot);
    std::vector<bool> visible;
    for (int slot = 0; slot < m_document.count(); ++slot)
        visible.push_back(m_document.visible(slot));
    return Snapping::LinesOf(m_atPress, visible, excluded, m_screen);
}

void SelectTool::moveElement(QPointF point, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    if (m_skipNextMove) {
        m_skipNextMove = false;
        return;
    }
    const int slot = m_slot;
    const LayoutElement& e = m_document.element(slot);
    const QRectF before = e.rect;
    if (buttons == Qt::LeftButton) {
        const double distance = snapDistance(modifiers);
        const Factors& factor = m_document.factor(slot);
        const Snapping::Snap snap = Snapping::SnapDrag(m_atPress, slot, m_grip, point, factor, e.touch,
                                                       linesFor({slot}, distance), distance, m_document.rules());
        m_guides = snap.guides;
        point = snap.pointer;
        // The drag belongs to its element, also if the keyboard chose another one meanwhile.
        if (m_document.current() != slot)
            m_document.select(slot);
        m_document.preview(Layout::DragResult(m_atPress, slot, m_grip, point - m_atPress[slot].topLeft(), factor,
                                              m_document.rules()));
    }
    m_pointer = Layout::PointerShapeAt(before.size(), point - before.topLeft(), m_zone);
}

void SelectTool::moveSelection(QPointF point, Qt::KeyboardModifiers modifiers)
{
    QList<int> moving;
    std::vector<Factors> factors;
    std::vector<Touch> touch;
    for (int slot = 0; slot < m_document.count(); ++slot) {
        const bool locked = m_document.isLocked(slot);
        factors.push_back(locked ? Factors{0, 0, 0, 0} : m_document.factor(slot));
        touch.push_back(locked ? Touch{false, false, false, false} : m_document.element(slot).touch);
        if (m_document.isSelected(slot) && !locked)
            moving << slot;
    }
    const double distance = snapDistance(modifiers);
    const Snapping::Snap snap = Snapping::SnapMove(m_atPress, moving, factors, touch, point - m_start,
                                                   linesFor(moving, distance), distance, m_document.rules());
    m_guides = snap.guides;
    m_document.preview(Selection::Moved(m_atPress, m_document.selection(), factors, snap.pointer, m_document.rules()));
}

void SelectTool::hover(QPointF point)
{
    const int slot = m_document.elementAt(point);
    m_pointer = slot >= 0 && slot == m_document.current()
                    ? Layout::PointerShapeAt(m_document.rect(slot).size(), point - m_document.rect(slot).topLeft(), m_zone)
                    : Qt::ArrowCursor;
}

void SelectTool::release()
{
    finish(true);
}

bool SelectTool::cancel()
{
    if (m_action == NoAction)
        return false;
    finish(false);
    return true;
}

void SelectTool::reset()
{
    m_action = NoAction;
    finish(true);
}

void SelectTool::finish(bool keep)
{
    const Action action = m_action;
    m_action = NoAction;
    m_slot = -1;
    m_skipNextMove = false;
    m_band = {};
    m_guides.clear();
    if (action == NoAction)
        return;
    if (!keep) {
        m_document.preview(m_before);
        m_document.setSelection(m_selectionBefore, m_currentBefore);
    } else if (action != Selecting) {
        m_document.commit(m_before, m_document.editText(action == Moving));
    }
}

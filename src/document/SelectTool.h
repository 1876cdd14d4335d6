#pragma once

#include "LayoutRules.h"
#include "Snapping.h"

#include <QList>
#include <QPointF>
#include <QRectF>

#include <vector>

class LayoutDocument;

// The canvas gesture from press to release or Escape: a click chooses an
// element, a band on empty canvas chooses what it touches, a drag moves or
// resizes one element or moves several. Points are canvas twips. Every step is
// computed from the rectangles at the press, and the rectangles show the drag
// as it goes; the release makes it one step of the history, Escape puts
// rectangles and selection back as they were and leaves no step.
class SelectTool
{
public:
    enum Action { NoAction, Selecting, Moving, Resizing };

    explicit SelectTool(LayoutDocument& document);

    // How the view shows the canvas: twips per screen pixel (snap distances),
    // the edge zone in twips and the screen's rectangle (snap lines).
    void setView(double twipsPerScreenPixel, double edgeZone, const QRectF& screen);
    // Whether drags snap; Alt held during a drag suspends it.
    bool snapping() const { return m_snapping; }
    void setSnapping(bool on) { m_snapping = on; }

    void press(QPointF point, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void move(QPointF point, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void release();
    // Escape: false when no gesture was running.
    bool cancel();
    // The document was loaded anew: the gesture is dropped without touching it.
    void reset();

    Action action() const { return m_action; }
    // The guides that hold during a drag, and the band being drawn.
    const std::vector<Snapping::Guide>& guides() const { return m_guides; }
    QRectF band() const { return m_band; }
    // The pointer shape over the element under the pointer.
    Qt::CursorShape pointerShape() const { return m_pointer; }

private:
    void pressElement(int slot, QPointF point, bool again);
    void startBand(QPointF point, QList<int> base);
    void moveBand(QPointF point);
    void moveElement(QPointF point, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    void moveSelection(QPointF point, Qt::KeyboardModifiers modifiers);
    void hover(QPointF point);
    double snapDistance(Qt::KeyboardModifiers modifiers) const;
    Snapping::Lines linesFor(const QList<int>& moving, double distance) const;
    // The one place a gesture ends: kept as one step, or undone.
    void finish(bool keep);

    LayoutDocument& m_document;
    double m_twipsPerScreenPixel = 15;
    double m_zone = 45;
    QRectF m_screen;
    bool m_snapping = false;

    Action m_action = NoAction;
    int m_slot = -1;            // the element a one-element drag holds; -1 for several
    Grip m_grip;
    bool m_skipNextMove = false; // the first move after a press of an element does nothing
    QPointF m_start;             // the press, for a band and a move of several
    Rects m_before;              // rectangles and selection before the gesture
    QList<int> m_selectionBefore;
    int m_currentBefore = -1;
    Rects m_atPress;             // what the steps count from; a second press takes it anew
    QList<int> m_bandBase;       // the selection a Ctrl band adds to
    QRectF m_band;
    std::vector<Snapping::Guide> m_guides;
    Qt::CursorShape m_pointer = Qt::ArrowCursor;
};

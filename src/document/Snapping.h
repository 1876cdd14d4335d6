#pragma once

#include "LayoutRules.h"

#include <QList>
#include <QPointF>
#include <QRectF>

#include <vector>

// Snapping while dragging: an edge or the centre of what moves comes to rest
// on an edge or centre line of the screen or of another visible element when
// it passes within a few screen pixels. It adjusts the pointer of a gesture
// that is computed from its start, so the drag itself stays a pure function of
// the press, and it never changes a value the binding locks.
namespace Snapping {

// Distance within which a line catches, in screen pixels.
inline constexpr int DistancePixels = 4;

// A line that holds after a snap, in twips: vertical lines sit at an x.
struct Guide
{
    Qt::Orientation orientation;
    double position;
    bool operator==(const Guide&) const = default;
};

// The lines to snap to along each axis. Their order breaks ties between lines
// at the same distance: the screen before the elements, lower slots first,
// edges before centres.
struct Lines
{
    std::vector<double> x, y;
};

// The screen's edges and centre line, then those of every visible element that
// is not excluded (what moves, and what follows it).
Lines LinesOf(const Rects& rects, const std::vector<bool>& visible, const QList<int>& excluded, const QRectF& screen);

// The slots the dependent rules move along when slot changes.
QList<int> Followers(const Rects& rects, const ScreenRules& rules, int slot);

struct Snap
{
    QPointF pointer;
    std::vector<Guide> guides;
};

// A move of the `moving` slots by `delta` (twips since the press): the delta
// that puts the nearest edge or centre on a line within `distance` (twips),
// rounded to whole device pixels, and the guides that then hold. Only values
// that may change take part: factor not 0 and Touch flag set.
Snap SnapMove(const Rects& atPress, const QList<int>& moving, const std::vector<Factors>& factors,
              const std::vector<Touch>& touch, QPointF delta, const Lines& lines, double distance,
              const ScreenRules& rules);

// A resize of an element by its grabbed edges: the pointer (twips from its
// top-left at the press) that puts each grabbed edge on a line within
// `distance`, or on the nearest whole device pixel, and the guides that hold.
// An edge whose value is locked is left to the pointer.
Snap SnapResize(const QRectF& atPress, const Grabs& grabs, QPointF pointer, const Factors& factor,
                const Lines& lines, double distance, const ScreenRules& rules);

// The pointer (twips on the canvas) a drag of one element by grip goes on
// with: its move or its grabbed edges caught by the lines, on whole pixels.
Snap SnapDrag(const Rects& atPress, int slot, const Grip& grip, QPointF pointer, const Factors& factor,
              const Touch& touch, const Lines& lines, double distance, const ScreenRules& rules);

} // namespace Snapping

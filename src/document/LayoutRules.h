#pragma once

#include "AppState.h"
#include "ScreenBinding.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include <array>
#include <optional>
#include <vector>

// The rules of editing a screen layout, as pure functions of rectangles in
// twips: where a press grabs an element, what a drag, a nudge or a typed value
// makes of the rectangles, and how the elements of a list pop-up or the map
// view follow each other. A gesture is always computed from the rectangles at
// its start, so repeated pointer moves never drift.

// Every element rectangle of a screen, by slot, in twips as the canvas keeps them.
using Rects = std::vector<QRectF>;
// NudgeFactor of one slot, indexed by ScreenBinding::Nudge: x, y, width, height.
using Factors = std::array<double, 4>;
// What the coordinate fields hold: x, y, cx, cy in device pixels.
using FieldValues = std::array<double, 4>;
// The same as the fields compute them, in single precision; the text of a
// field is SingleText of its value.
using ShownFloats = std::array<float, 4>;

enum Field { FieldX = 0, FieldY = 1, FieldCX = 2, FieldCY = 3 };
enum class NudgeMode { Position = 0, Grow = 1, Shrink = 2 };
enum class NudgeDirection { North, South, West, East };

// Which values of an element the user may change with the mouse.
struct Touch
{
    bool x = true, y = true, cx = true, cy = true;
    bool any() const { return x || y || cx || cy; }
};

// The edges a press took hold of.
struct Grabs
{
    bool left = false, top = false, right = false, bottom = false;
    bool any() const { return left || top || right || bottom; }
};

// How a drag changes its element: the grabbed edges, or the whole element when
// no edge is grabbed, and where the pointer went down inside it (whole twips).
struct Grip
{
    Grabs grabs;
    bool moveMode = false;
    QPointF start;
};

// The rule set that makes other elements follow a changed one.
enum class Dependents { None, Map, List };

// What the rules need to know about the screen beside its rectangles.
struct ScreenRules
{
    Dependents dependents = Dependents::None;
    int viewIndex = 0;      // map view 0..2
    int twipsPerPixelX = 15;
    int twipsPerPixelY = 15;
    ListParts list;         // where the list rules find the list box
};

namespace Layout {

// Width of the edge zones in twips for a marker of the given line width.
double EdgeZone(int lineWidth);

// The edges a press at `at` (twips from the element's top-left) grabs on an
// element of `size`: within `zone` of an edge, and only where Touch allows.
Grabs GrabsAt(QSizeF size, QPointF at, double zone, Touch touch);

// Pointer shape while hovering at `at` over the active element; the zones
// here ignore the Touch flags.
Qt::CursorShape PointerShapeAt(QSizeF size, QPointF at, double zone);

// The rectangles while a drag of `slot` goes on: the grabbed edges (or the
// move) applied once to the rectangles at the press, with the pointer at
// `pointer` (twips from the element's top-left at the press), then the
// dependent rules. An edge never passes the opposite one: the size stops at 0.
Rects DragResult(const Rects& atPress, int slot, const Grip& grip, QPointF pointer, const Factors& factor,
                 const ScreenRules& rules);

// Lets the list parts or the map's "from" and its dummies follow slot. A value
// the canvas would refuse (a negative size) is skipped, the rest goes on.
void ApplyDependents(Rects& rects, const ScreenRules& rules, int slot);

// After loading a list pop-up (its parts in rules.list) the loader lays out its
// parts from the sizes the elements then have: the item column on the left
// from the OK button's bottom down, "up" and "down" in the right column above and
// below the OK button, which sits on the right edge, centred. Slot by slot, as
// placing them from typed values would.
void ListPostPass(Rects& rects, const ScreenRules& rules);

// What the coordinate fields show for rect, relative to the coordinate frame's
// top-left `origin`: device pixels in single precision, y rounded down.
ShownFloats ShownValues(const QRectF& rect, QPointF origin, const ScreenRules& rules);
// The numbers the fields' texts stand for: each value to seven significant digits.
FieldValues FieldNumbers(const ShownFloats& shown);

// Field values after pressing an arrow in `mode` (table of the nudge cross).
FieldValues Nudged(FieldValues values, NudgeMode mode, NudgeDirection direction, const Factors& factor,
                   Touch touch);

// The rectangle the field values describe relative to origin; none when the
// canvas would refuse it (a negative size, or beyond its range).
std::optional<QRectF> Placed(QPointF origin, const FieldValues& values, const ScreenRules& rules);

// A number as a field holds it when it is written with fifteen significant
// digits, as the loader's values are.
double AsFieldText(double value);

// Whether the canvas takes this rectangle.
bool Acceptable(const QRectF& rect);

// Exact comparison; QRectF's own is fuzzy and would swallow small steps.
bool Same(const QRectF& a, const QRectF& b);

// The slot Shift+arrow selects from `start`: the next (step 1) or previous
// (step -1) one, wrapping, that has any Touch flag; start itself when none has.
int NeighbourOf(const std::vector<Touch>& touch, int start, int step);

} // namespace Layout

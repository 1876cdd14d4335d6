#pragma once

#include "LayoutRules.h"

#include <QList>
#include <QRectF>

#include <vector>

// Arranging several elements at once: lining them up, spacing them evenly and
// giving them one size. Pure functions of the rectangles; a value the binding
// locks (factor 0 or Touch flag clear) never changes, and the elements that
// follow a changed one are laid out again by the dependent rules.
namespace Alignment {

enum class Action {
    Left,
    Right,
    Top,
    Bottom,
    HorizontalCentre,
    VerticalCentre,
    DistributeHorizontally,
    DistributeVertically,
    SameWidth,
    SameHeight,
};

// Which values of one element may change.
struct Freedom
{
    bool x = true, y = true, cx = true, cy = true;
};

// What the binding and the user's lock leave free: a value with factor 0 or
// its Touch flag clear is locked, a locked element has nothing free.
Freedom FreedomOf(const Touch& touch, const Factors& factor, bool locked);

// The rectangles after the action on the selected slots. Lines and centres
// come from the selection's bounds, or from its elements that cannot move
// along that axis when there are any, so they stay where they are. Equal gaps
// keep the first and last element (by their left or top edge) and every one
// that cannot move in place, and space the others evenly between them. Same
// width or height takes the size of `current`. Results lie on whole device
// pixels.
Rects Arranged(const Rects& rects, const QList<int>& selection, int current, Action action,
               const std::vector<Freedom>& freedom, const ScreenRules& rules);

} // namespace Alignment

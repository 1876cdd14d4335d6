#pragma once

#include "LayoutRules.h"

#include <QList>
#include <QRectF>

#include <vector>

// Working on several elements at once: choosing them with a band and moving
// them together.
namespace Selection {

// The slots a band drawn on the canvas selects: every selectable element it
// touches, edges included. A band without area (a plain click) selects nothing.
QList<int> BandHits(const Rects& rects, const std::vector<bool>& selectable, const QRectF& band);

// The selection dragged by delta (twips since the press): each element moves
// by its own factors, so a locked value stays, and its followers follow it.
Rects Moved(const Rects& atPress, const QList<int>& selection, const std::vector<Factors>& factors, QPointF delta,
            const ScreenRules& rules);

} // namespace Selection

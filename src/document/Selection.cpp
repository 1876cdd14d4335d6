#include "Selection.h"

namespace Selection {

QList<int> BandHits(const Rects& rects, const std::vector<bool>& selectable, const QRectF& band)
{
    QList<int> hits;
    const QRectF b = band.normalized();
    if (b.width() <= 0 || b.height() <= 0)
        return hits;
    for (int slot = 0; slot < int(rects.size()) && slot < int(selectable.size()); ++slot) {
        const QRectF& r = rects[slot];
        // Closed intervals: QRectF::intersects misses touching edges and empty rectangles.
        if (selectable[slot] && r.left() <= b.right() && b.left() <= r.right() && r.top() <= b.bottom()
            && b.top() <= r.bottom())
            hits << slot;
    }
    return hits;
}

Rects Moved(const Rects& atPress, const QList<int>& selection, const std::vector<Factors>& factors, QPointF delta,
            const ScreenRules& rules)
{
    Rects rects = atPress;
    for (int slot : selection) {
        if (slot < 0 || slot >= int(rects.size()) || slot >= int(factors.size()))
            continue;
        const Factors& f = factors[slot];
        rects[slot].translate(delta.x() * f[ScreenBinding::NudgeX], delta.y() * f[ScreenBinding::NudgeY]);
    }
    for (int slot : selection)
        if (slot >= 0 && slot < int(rects.size()))
            Layout::ApplyDependents(rects, rules, slot);
    return rects;
}

} // namespace Selection

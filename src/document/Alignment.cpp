#include "Alignment.h"

#include "Twips.h"

#include <algorithm>

namespace {

using Alignment::Action;
using Alignment::Freedom;

// Reads and writes of one axis, so each action is written once for both.
struct Axis
{
    bool horizontal;
    double start(const QRectF& r) const { return horizontal ? r.left() : r.top(); }
    double size(const QRectF& r) const { return horizontal ? r.width() : r.height(); }
    double end(const QRectF& r) const { return start(r) + size(r); }
    bool canMove(const Freedom& f) const { return horizontal ? f.x : f.y; }
    bool canResize(const Freedom& f) const { return horizontal ? f.cx : f.cy; }
    void moveTo(QRectF& r, double v) const { horizontal ? r.moveLeft(v) : r.moveTop(v); }
    void resize(QRectF& r, double v) const { horizontal ? r.setWidth(v) : r.setHeight(v); }
};

double onGrid(double v, double tpp)
{
    return Twips::roundHalfEven(v / tpp) * tpp;
}

// Lines the elements up on the bounds of the selection, or of those of its
// elements that cannot move, which then keep their place. where: 0 start,
// 1 end, 0.5 centre.
void line(Rects& r, const QList<int>& sel, const std::vector<Freedom>& free, const Axis& a, double where, double tpp)
{
    QList<int> basis;
    for (int s : sel)
        if (!a.canMove(free[s]))
            basis << s;
    if (basis.isEmpty())
        basis = sel;
    double lo = a.start(r[basis.first()]), hi = a.end(r[basis.first()]);
    for (int s : basis) {
        lo = std::min(lo, a.start(r[s]));
        hi = std::max(hi, a.end(r[s]));
    }
    const double target = lo + (hi - lo) * where;
    for (int s : sel)
        if (a.canMove(free[s]))
            a.moveTo(r[s], onGrid(target - a.size(r[s]) * where, tpp));
}

void distribute(Rects& r, QList<int> sel, const std::vector<Freedom>& free, const Axis& a, double tpp)
{
    std::stable_sort(sel.begin(), sel.end(), [&](int p, int q) { return a.start(r[p]) < a.start(r[q]); });
    // The first, the last and every element that cannot move stay; the others
    // share the room between two such anchors with equal gaps.
    int from = 0;
    for (int i = 1; i < sel.size(); ++i) {
        if (i != sel.size() - 1 && a.canMove(free[sel[i]]))
            continue;
        double inner = 0;
        for (int k = from + 1; k < i; ++k)
            inner += a.size(r[sel[k]]);
        const double gap = (a.start(r[sel[i]]) - a.end(r[sel[from]]) - inner) / (i - from);
        double at = a.end(r[sel[from]]) + gap;
        for (int k = from + 1; k < i; ++k) {
            const double size = a.size(r[sel[k]]);
            a.moveTo(r[sel[k]], onGrid(at, tpp));
            at += size + gap;
        }
        from = i;
    }
}

void sameSize(Rects& r, const QList<int>& sel, int reference, const std::vector<Freedom>& free, const Axis& a)
{
    for (int s : sel)
        if (s != reference && a.canResize(free[s]))
            a.resize(r[s], a.size(r[reference]));
}

} // namespace

namespace Alignment {

Freedom FreedomOf(const Touch& touch, const Factors& f, bool locked)
{
    if (locked)
        return {false, false, false, false};
    return {touch.x && f[ScreenBinding::NudgeX] != 0, touch.y && f[ScreenBinding::NudgeY] != 0,
            touch.cx && f[ScreenBinding::NudgeWidth] != 0, touch.cy && f[ScreenBinding::NudgeHeight] != 0};
}

Rects Arranged(const Rects& rects, const QList<int>& selection, int current, Action action,
               const std::vector<Freedom>& freedom, const ScreenRules& rules)
{
    Rects out = rects;
    QList<int> sel;
    for (int s : selection)
        if (s >= 0 && s < int(rects.size()) && s < int(freedom.size()) && !sel.contains(s))
            sel << s;
    if (sel.size() < 2)
        return out;
    const double tppX = rules.twipsPerPixelX > 0 ? rules.twipsPerPixelX : 15;
    const double tppY = rules.twipsPerPixelY > 0 ? rules.twipsPerPixelY : 15;
    const Axis h{true}, v{false};
    const int reference = sel.contains(current) ? current : sel.first();

    switch (action) {
    case Action::Left: line(out, sel, freedom, h, 0, tppX); break;
    case Action::Right: line(out, sel, freedom, h, 1, tppX); break;
    case Action::HorizontalCentre: line(out, sel, freedom, h, 0.5, tppX); break;
    case Action::Top: line(out, sel, freedom, v, 0, tppY); break;
    case Action::Bottom: line(out, sel, freedom, v, 1, tppY); break;
    case Action::VerticalCentre: line(out, sel, freedom, v, 0.5, tppY); break;
    case Action::DistributeHorizontally: distribute(out, sel, freedom, h, tppX); break;
    case Action::DistributeVertically: distribute(out, sel, freedom, v, tppY); break;
    case Action::SameWidth: sameSize(out, sel, reference, freedom, h); break;
    case Action::SameHeight: sameSize(out, sel, reference, freedom, v); break;
    }
    for (int s : sel)
        if (!Layout::Same(out[s], rects[s]))
            Layout::ApplyDependents(out, rules, s);
    return out;
}

} // namespace Alignment

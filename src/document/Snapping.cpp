#include "Snapping.h"

#include "Twips.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

using Snapping::Guide;

// Edges first, then the centre: the order in which ties are decided.
std::array<double, 3> featuresX(const QRectF& r) { return {r.left(), r.right(), r.center().x()}; }
std::array<double, 3> featuresY(const QRectF& r) { return {r.top(), r.bottom(), r.center().y()}; }

void addLines(std::vector<double>& to, const std::array<double, 3>& features)
{
    for (double f : features)
        to.push_back(f);
}

double onGrid(double v, double tpp)
{
    return Twips::roundHalfEven(v / tpp) * tpp;
}

// A feature counts as lying on a line when it is off by less than half a
// device pixel: positions are whole pixels, centres may be halves.
bool holds(double feature, double line, double tpp)
{
    return std::fabs(feature - line) <= tpp / 2 + 1e-9;
}

struct Catch
{
    double shift = 0;   // what to add to the feature to reach the line
    double distance = 0;
};

// The nearest line within distance of any of the features; the first wins a tie.
std::optional<Catch> nearest(const std::vector<double>& features, const std::vector<double>& lines, double distance)
{
    std::optional<Catch> best;
    for (double f : features)
        for (double line : lines) {
            const double d = std::fabs(line - f);
            if (d <= distance && (!best || d < best->distance))
                best = Catch{line - f, d};
        }
    return best;
}

void addGuides(std::vector<Guide>& guides, Qt::Orientation o, const std::vector<double>& features,
               const std::vector<double>& lines, double tpp)
{
    for (double line : lines) {
        const Guide g{o, line};
        if (std::find(guides.begin(), guides.end(), g) != guides.end())
            continue;
        if (std::any_of(features.begin(), features.end(), [&](double f) { return holds(f, line, tpp); }))
            guides.push_back(g);
    }
}

double tppOf(int tpp)
{
    return tpp > 0 ? tpp : 15;
}

} // namespace

namespace Snapping {

Lines LinesOf(const Rects& rects, const std::vector<bool>& visible, const QList<int>& excluded, const QRectF& screen)
{
    Lines lines;
    addLines(lines.x, featuresX(screen));
    addLines(lines.y, featuresY(screen));
    for (int slot = 0; slot < int(rects.size()); ++slot) {
        if (excluded.contains(slot) || slot >= int(visible.size()) || !visible[slot])
            continue;
        addLines(lines.x, featuresX(rects[slot]));
        addLines(lines.y, featuresY(rects[slot]));
    }
    return lines;
}

QList<int> Followers(const Rects& rects, const ScreenRules& rules, int slot)
{
    QList<int> followers;
    if (slot < 0 || slot >= int(rects.size()))
        return followers;
    // Change every value of slot and see which other elements the rules move.
    Rects still = rects, changed = rects;
    changed[slot] = rects[slot].adjusted(7 * rules.twipsPerPixelX, 7 * rules.twipsPerPixelY,
                                         20 * rules.twipsPerPixelX, 20 * rules.twipsPerPixelY);
    Layout::ApplyDependents(still, rules, slot);
    Layout::ApplyDependents(changed, rules, slot);
    for (int k = 0; k < int(rects.size()); ++k)
        if (k != slot && !Layout::Same(still[k], changed[k]))
            followers << k;
    return followers;
}

Snap SnapMove(const Rects& atPress, const QList<int>& moving, const std::vector<Factors>& factors,
              const std::vector<Touch>& touch, QPointF delta, const Lines& lines, double distance,
              const ScreenRules& rules)
{
    const double tppX = tppOf(rules.twipsPerPixelX), tppY = tppOf(rules.twipsPerPixelY);
    // The features of every mover whose value along the axis may change, moved by d.
    const auto featuresAt = [&](bool horizontal, double d, double* factor) {
        const int index = horizontal ? ScreenBinding::NudgeX : ScreenBinding::NudgeY;
        std::vector<double> features;
        for (int slot : moving) {
            if (slot < 0 || slot >= int(atPress.size()) || slot >= int(factors.size()) || slot >= int(touch.size()))
                continue;
            const double f = factors[slot][index];
            if (f == 0 || !(horizontal ? touch[slot].x : touch[slot].y))
                continue;
            *factor = f;
            for (double v : horizontal ? featuresX(atPress[slot]) : featuresY(atPress[slot]))
                features.push_back(v + d * f);
        }
        return features;
    };
    const auto snapAxis = [&](bool horizontal, double d, std::vector<Guide>& guides) {
        const std::vector<double>& to = horizontal ? lines.x : lines.y;
        const double tpp = horizontal ? tppX : tppY;
        double factor = 1;
        const std::vector<double> features = featuresAt(horizontal, d, &factor);
        if (const auto c = nearest(features, to, distance); c && !features.empty())
            d += c->shift / factor;
        d = onGrid(d, tpp);
        addGuides(guides, horizontal ? Qt::Vertical : Qt::Horizontal, featuresAt(horizontal, d, &factor), to, tpp);
        return d;
    };

    Snap snap;
    snap.pointer.rx() = snapAxis(true, delta.x(), snap.guides);
    snap.pointer.ry() = snapAxis(false, delta.y(), snap.guides);
    return snap;
}

Snap SnapResize(const QRectF& r, const Grabs& grabs, QPointF pointer, const Factors& f, const Lines& lines,
                double distance, const ScreenRules& rules)
{
    const double tppX = tppOf(rules.twipsPerPixelX), tppY = tppOf(rules.twipsPerPixelY);
    // The grabbed edge where the pointer puts it, caught by a line, on whole pixels.
    const auto snapEdge = [&](double edge, const std::vector<double>& to, double tpp, std::vector<double>& held) {
        if (const auto c = nearest({edge}, to, distance))
            edge += c->shift;
        edge = onGrid(edge, tpp);
        held.push_back(edge);
        return edge;
    };

    Snap snap;
    snap.pointer = pointer;
    std::vector<double> heldX, heldY;
    const double fx = f[ScreenBinding::NudgeX], fy = f[ScreenBinding::NudgeY];
    const double fw = f[ScreenBinding::NudgeWidth], fh = f[ScreenBinding::NudgeHeight];
    // A narrow element grabbed at both edges follows its left (top) one.
    if (grabs.left && fx != 0)
        snap.pointer.rx() = (snapEdge(r.x() + pointer.x() * fx, lines.x, tppX, heldX) - r.x()) / fx;
    else if (grabs.right && fw != 0)
        snap.pointer.rx() =
            (snapEdge(r.right() + (pointer.x() - r.width()) * fw, lines.x, tppX, heldX) - r.right()) / fw + r.width();
    if (grabs.top && fy != 0)
        snap.pointer.ry() = (snapEdge(r.y() + pointer.y() * fy, lines.y, tppY, heldY) - r.y()) / fy;
    else if (grabs.bottom && fh != 0)
        snap.pointer.ry() =
            (snapEdge(r.bottom() + (pointer.y() - r.height()) * fh, lines.y, tppY, heldY) - r.bottom()) / fh
            + r.height();
    addGuides(snap.guides, Qt::Vertical, heldX, lines.x, tppX);
    addGuides(snap.guides, Qt::Horizontal, heldY, lines.y, tppY);
    return snap;
}

Snap SnapDrag(const Rects& atPress, int slot, const Grip& grip, QPointF pointer, const Factors& factor,
              const Touch& touch, const Lines& lines, double distance, const ScreenRules& rules)
{
    if (slot < 0 || slot >= int(atPress.size()))
        return {pointer, {}};
    const QPointF origin = atPress[slot].topLeft();
    if (grip.grabs.any()) {
        Snap snap = SnapResize(atPress[slot], grip.grabs, pointer - origin, factor, lines, distance, rules);
        snap.pointer += origin;
        return snap;
    }
    std::vector<Factors> factors(atPress.size(), factor);
    std::vector<Touch> touches(atPress.size(), touch);
    Snap snap = SnapMove(atPress, {slot}, factors, touches, pointer - origin - grip.start, lines, distance, rules);
    snap.pointer += origin + grip.start;
    return snap;
}

} // namespace Snapping

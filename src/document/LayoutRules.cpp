#include "LayoutRules.h"

#include "Twips.h"

#include <QByteArray>

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace {

// Width of the edge zones per unit of the marker's line width, in twips.
constexpr double ZoneTwipsPerLineWidth = 15.0;

bool usable(double v)
{
    return std::isfinite(v) && std::fabs(v) <= Twips::Limit;
}

// One statement of a rule: the new rectangle replaces the old one unless the
// canvas would refuse it.
void assign(QRectF& rect, const QRectF& next)
{
    if (Layout::Acceptable(next))
        rect = next;
}

void setLeft(QRectF& r, double v) { assign(r, QRectF(v, r.y(), r.width(), r.height())); }
void setTop(QRectF& r, double v) { assign(r, QRectF(r.x(), v, r.width(), r.height())); }
void setWidth(QRectF& r, double v) { assign(r, QRectF(r.x(), r.y(), v, r.height())); }
void setHeight(QRectF& r, double v) { assign(r, QRectF(r.x(), r.y(), r.width(), v)); }

double tppX(const ScreenRules& rules) { return rules.twipsPerPixelX > 0 ? rules.twipsPerPixelX : 15; }
double tppY(const ScreenRules& rules) { return rules.twipsPerPixelY > 0 ? rules.twipsPerPixelY : 15; }

// The list box is followed by its item column, "up", "down" and the OK
// button. Reads are whole twips; a statement that names a slot the screen does
// not have is skipped.
void listRules(Rects& r, const ListParts& parts, int s)
{
    const int list = parts.list, item = parts.item(), up = parts.up(), down = parts.down(), ok = parts.ok();
    const auto have = [&](std::initializer_list<int> needed) {
        return std::all_of(needed.begin(), needed.end(), [&](int k) { return k >= 0 && k < int(r.size()); });
    };
    const auto L = [&](int k) { return Twips::whole(r[k].x()); };
    const auto T = [&](int k) { return Twips::whole(r[k].y()); };
    const auto W = [&](int k) { return Twips::whole(r[k].width()); };
    const auto H = [&](int k) { return Twips::whole(r[k].height()); };
    const auto followItem = [&](int k) {
        if (have({k, item}))
            setLeft(r[k], L(item) + W(item));
        if (have({k, list, item}))
            setWidth(r[k], W(list) - W(item));
    };

    if (s == list || s == ok) {
        if (have({list, ok})) {
            setLeft(r[ok], L(list) + W(list) - W(ok));
            setTop(r[ok], Twips::whole(T(list) + H(list) / 2.0 - H(ok) / 2.0));
        }
        if (have({list, item}))
            setLeft(r[item], L(list));
        if (have({item, ok}))
            setTop(r[item], T(ok) + H(ok));
        for (int k : {up, down}) {
            followItem(k);
            if (have({k, list, ok}))
                setHeight(r[k], Twips::whole((H(list) - H(ok)) / 2.0));
            if (k == up && have({up, list}))
                setTop(r[up], T(list));
            if (k == down && have({down, list, up, ok}))
                setTop(r[down], T(list) + H(up) + H(ok));
        }
    } else if (s == item) {
        followItem(up);
        followItem(down);
    }
}

} // namespace

namespace Layout {

double EdgeZone(int lineWidth)
{
    return lineWidth * ZoneTwipsPerLineWidth;
}

Grabs GrabsAt(QSizeF size, QPointF at, double zone, Touch touch)
{
    const double W = size.width(), H = size.height(), X = at.x(), Y = at.y();
    Grabs g;
    g.left = X <= zone && touch.x;
    g.right = W - zone <= X && X <= W && touch.cx;
    g.top = Y <= zone && touch.y;
    g.bottom = H - zone <= Y && Y <= H && touch.cy;
    return g;
}

Qt::CursorShape PointerShapeAt(QSizeF size, QPointF at, double zone)
{
    const double W = size.width(), H = size.height(), X = at.x(), Y = at.y();
    const bool left = X <= zone, right = W - zone <= X, top = Y <= zone, bottom = H - zone <= Y;
    if ((top && left) || (bottom && right))
        return Qt::SizeFDiagCursor;
    if ((top && right) || (bottom && left))
        return Qt::SizeBDiagCursor;
    if (top || bottom)
        return Qt::SizeVerCursor;
    if (left || right)
        return Qt::SizeHorCursor;
    return Qt::ArrowCursor;
}

Rects DragResult(const Rects& atPress, int slot, const Grip& grip, QPointF pointer, const Factors& f,
                 const ScreenRules& rules)
{
    Rects rects = atPress;
    if (slot < 0 || slot >= int(rects.size()))
        return rects;
    QRectF& r = rects[slot];
    const double X = pointer.x(), Y = pointer.y();
    const double fx = f[ScreenBinding::NudgeX], fy = f[ScreenBinding::NudgeY];
    const double fw = f[ScreenBinding::NudgeWidth], fh = f[ScreenBinding::NudgeHeight];

    if (grip.grabs.left) {
        // The left edge stops at the right one instead of pushing the element along.
        const double x = fw > 0 ? std::min(X, r.width() / fw) : X;
        setWidth(r, r.width() - x * fw);
        setLeft(r, r.x() + x * fx);
    }
    if (grip.grabs.right)
        setWidth(r, std::max(0.0, r.width() + (X - r.width()) * fw));
    if (grip.grabs.top) {
        const double y = fh > 0 ? std::min(Y, r.height() / fh) : Y;
        setTop(r, r.y() + y * fy);
        setHeight(r, r.height() - y * fh);
    }
    if (grip.grabs.bottom)
        setHeight(r, std::max(0.0, r.height() + (Y - r.height()) * fh));
    if (grip.moveMode)
        assign(r, QRectF(r.x() + (X - grip.start.x()) * fx, r.y() + (Y - grip.start.y()) * fy, r.width(),
                         r.height()));

    ApplyDependents(rects, rules, slot);
    return rects;
}

void ApplyDependents(Rects& rects, const ScreenRules& rules, int slot)
{
    const int count = int(rects.size());
    if (slot < 0 || slot >= count)
        return;
    switch (rules.dependents) {
    case Dependents::None:
        return;
    case Dependents::List:
        if (rules.list.list >= 0)
            listRules(rects, rules.list, slot);
        return;
    case Dependents::Map: {
        // "from" and the dummy that stands for it in this view share their left edge.
        int target = -1;
        if (slot == MapSlots::From)
            target = rules.viewIndex == 0 ? MapSlots::SmallDummy : MapSlots::LargeDummy;
        else if (slot == MapSlots::LargeDummy || slot == MapSlots::SmallDummy)
            target = MapSlots::From;
        if (target >= 0 && target < count)
            setLeft(rects[target], Twips::whole(rects[slot].x()));
        return;
    }
    }
}

void ListPostPass(Rects& rects, const ScreenRules& rules)
{
    const ListParts& parts = rules.list;
    const int B = parts.list, I = parts.item(), U = parts.up(), D = parts.down(), K = parts.ok();
    if (B < 0 || K >= int(rects.size()))
        return;
    const auto W = [&](int s) { return Twips::whole(rects[s].width()) / tppX(rules); };
    const auto H = [&](int s) { return Twips::whole(rects[s].height()) / tppY(rules); };
    const QPointF origin(Twips::whole(rects[B].x()), Twips::whole(rects[B].y()));
    const auto place = [&](int s, double x, double y, double cx, double cy) {
        const FieldValues values{AsFieldText(x), AsFieldText(y), AsFieldText(cx), AsFieldText(cy)};
        if (const auto placed = Placed(origin, values, rules))
            rects[s] = *placed;
    };
    place(I, 0, (H(K) + H(B)) / 2, W(I), H(I));
    place(U, W(I), 0, W(B) - W(I), (H(B) - H(K)) / 2);
    place(D, W(I), (H(K) + H(B)) / 2, W(B) - W(I), (H(B) - H(K)) / 2);
    place(K, W(B) - W(K), (H(B) - H(K)) / 2, W(K), H(K));
}

ShownFloats ShownValues(const QRectF& rect, QPointF origin, const ScreenRules& rules)
{
    const float tx = float(tppX(rules));
    const float ty = float(tppY(rules));
    return {(float(rect.x()) - float(origin.x())) / tx, std::floor((float(rect.y()) - float(origin.y())) / ty),
            float(rect.width()) / tx, float(rect.height()) / ty};
}

FieldValues FieldNumbers(const ShownFloats& shown)
{
    FieldValues values;
    for (int f = 0; f < 4; ++f)
        values[f] = QByteArray::number(double(shown[f]), 'e', 6).toDouble();
    return values;
}

FieldValues Nudged(FieldValues v, NudgeMode mode, NudgeDirection direction, const Factors& f, Touch touch)
{
    const double fX = f[ScreenBinding::NudgeX], fY = f[ScreenBinding::NudgeY];
    const double fW = f[ScreenBinding::NudgeWidth], fH = f[ScreenBinding::NudgeHeight];
    const double tX = touch.x, tY = touch.y, tCX = touch.cx, tCY = touch.cy;
    const auto change = [&v](Field field, double delta) { v[field] = AsFieldText(v[field] + delta); };
    using D = NudgeDirection;
    switch (mode) {
    case NudgeMode::Position:
        switch (direction) {
        case D::North: change(FieldY, -fY); break;
        case D::South: change(FieldY, fY); break;
        case D::West: change(FieldX, -fX); break;
        case D::East: change(FieldX, fX); break;
        }
        break;
    case NudgeMode::Grow:
        switch (direction) {
        case D::North: change(FieldY, -fH * tY); change(FieldCY, fH * tY); break;
        case D::South: change(FieldCY, fH * tCY); break;
        case D::West: change(FieldX, -fW * tX); change(FieldCX, fW * tX); break;
        case D::East: change(FieldCX, fW * tCX); break;
        }
        break;
    case NudgeMode::Shrink:
        switch (direction) {
        case D::North: change(FieldCY, -fH); break;
        case D::South: change(FieldY, fH * tY); change(FieldCY, -fH * tY); break;
        case D::West: change(FieldCX, -fW * tCX); break;
        case D::East: change(FieldX, fW * tX); change(FieldCX, -fW * tX); break;
        }
        break;
    }
    return v;
}

std::optional<QRectF> Placed(QPointF origin, const FieldValues& v, const ScreenRules& rules)
{
    const double tx = tppX(rules), ty = tppY(rules);
    const QRectF rect(origin.x() + v[FieldX] * tx, origin.y() + v[FieldY] * ty, v[FieldCX] * tx, v[FieldCY] * ty);
    if (!Acceptable(rect))
        return std::nullopt;
    return rect;
}

double AsFieldText(double value)
{
    return QByteArray::number(value, 'g', 15).toDouble();
}

bool Acceptable(const QRectF& r)
{
    return usable(r.x()) && usable(r.y()) && usable(r.width()) && usable(r.height()) && r.width() >= 0
           && r.height() >= 0;
}

bool Same(const QRectF& a, const QRectF& b)
{
    return a.x() == b.x() && a.y() == b.y() && a.width() == b.width() && a.height() == b.height();
}

int NeighbourOf(const std::vector<Touch>& touch, int start, int step)
{
    const int last = int(touch.size()) - 1;
    if (start < 0 || start > last)
        return start;
    int slot = start;
    // At most one round, so a screen without any touchable element cannot hang.
    for (int tries = 0; tries <= last; ++tries) {
        slot = step > 0 ? (slot >= last ? 0 : slot + 1) : (slot <= 0 ? last : slot - 1);
        if (touch[slot].any())
            break;
    }
    return slot;
}

} // namespace Layout

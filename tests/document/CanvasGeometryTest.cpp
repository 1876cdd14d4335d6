#include "Alignment.h"
#include "Selection.h"
#include "Snapping.h"
#include "ViewTransform.h"

#include <gtest/gtest.h>

namespace {

using Snapping::Guide;
constexpr auto V = Qt::Vertical;
constexpr auto H = Qt::Horizontal;
const Factors Free{1, 1, 1, 1};
const QRectF Screen(0, 0, 3600, 4800);

TEST(ViewTransform, PixelsAndTwipsRoundTripAtEveryZoom)
{
    for (int zoom : ViewTransform::Zooms) {
        const ViewTransform view(zoom, 15, 15, {10, 20});
        for (QPointF px : {QPointF(10, 20), QPointF(11, 21), QPointF(249, 339), QPointF(10 + 240 * zoom, 20)})
            EXPECT_EQ(view.toWidget(view.toTwips(px)), px) << zoom;
        for (QPointF tw : {QPointF(0, 0), QPointF(15, 4800), QPointF(3585, 7.5), QPointF(-15, -30)})
            EXPECT_EQ(view.toTwips(view.toWidget(tw)), tw) << zoom;
        // One device pixel is zoom screen pixels, however many twips it has each way;
        // edge zones stay four screen pixels wide.
        for (const QSize tpp : {QSize(15, 15), QSize(15, 12), QSize(12, 15)}) {
            const ViewTransform skewed(zoom, tpp.width(), tpp.height(), {10, 20});
            EXPECT_EQ(skewed.toWidget(QRectF(150, 300, tpp.width(), tpp.height())).size(), QSizeF(zoom, zoom)) << tpp.height();
            EXPECT_EQ(skewed.toTwips(QRectF(10, 20, zoom, zoom)), QRectF(0, 0, tpp.width(), tpp.height())) << tpp.height();
        }
        EXPECT_DOUBLE_EQ(view.edgeZone(3), 60.0 / zoom);
    }
}

TEST(ViewTransform, ZoomStepsFitAndKeepThePointUnderThePointer)
{
    const struct { int zoom, steps, expected; } steps[] = {
        {1, 1, 2}, {4, 1, 6}, {8, 1, 8}, {1, -1, 1}, {6, -1, 4}, {3, 2, 6}, {5, 1, 6}, {5, -1, 4}, {0, 1, 2},
    };
    for (const auto& r : steps)
        EXPECT_EQ(ViewTransform::stepZoom(r.zoom, r.steps), r.expected) << r.zoom << " " << r.steps;
    const struct { QSizeF available; int expected; } fits[] = {
        {{1000, 700}, 2}, {{480, 640}, 2}, {{479, 2000}, 1}, {{100, 100}, 1}, {{1440, 1920}, 6}, {{4000, 4000}, 8},
    };
    for (const auto& r : fits)
        EXPECT_EQ(ViewTransform::fitZoom(r.available, {240, 320}), r.expected) << r.available.width();
    // Zooming from 1x to 4x with the pointer at 50,60 of the viewport, scrolled to 0,0.
    const QPointF under = ViewTransform(1, 15, 15, {8, 8}).toTwips({50, 60});
    const ViewTransform after(4, 15, 15, {8, 8});
    EXPECT_EQ(after.toTwips(after.scrollKeeping(under, {50, 60}) + QPointF(50, 60)), under);
}

// Slot 0 moves; 1 and 2 stand near the right, 3 partly off the screen, 4 is hidden.
const Rects Scene{{150, 150, 1500, 900}, {2250, 1500, 600, 600}, {2280, 3000, 300, 300},
                  {3630, 3600, 300, 300}, {900, 3900, 300, 300}};
const Snapping::Lines SceneLines = Snapping::LinesOf(Scene, {true, true, true, true, false}, {0}, Screen);

TEST(Snapping, MoveCatchesTheNearestLineWithinFourScreenPixels)
{
    const Touch all, noX{false, true, true, true};
    const struct { const char* what; QPointF delta; Touch t; double distance; QPointF pointer;
                   std::vector<Guide> guides; } rows[] = {
        {"left edge onto the screen's", {-120, 0}, all, 60, {-150, 0}, {{V, 0}}},
        {"at the distance", {-90, 0}, all, 60, {-150, 0}, {{V, 0}}},
        {"just beyond it", {-75, 0}, all, 60, {-75, 0}, {}},
        {"tie: the lower slot wins", {615, 0}, all, 60, {600, 0}, {{V, 2250}}},
        {"tie: the screen wins, the centre holds too", {1965, 0}, all, 60, {1950, 0}, {{V, 3600}, {V, 2850}}},
        {"hidden elements do not catch", {1035, 0}, all, 60, {1035, 0}, {}},
        {"both axes, two lines hold", {0, 1335}, all, 60, {0, 1350}, {{H, 2400}, {H, 1500}}},
        {"x locked by its Touch flag", {-120, 0}, noX, 60, {-120, 0}, {}},
        {"8x: half a pixel catches", {-142.5, 0}, all, 7.5, {-150, 0}, {{V, 0}}},
        {"8x: otherwise whole pixels", {-136.875, 3.75}, all, 7.5, {-135, 0}, {}},
    };
    const std::vector<Factors> factors(Scene.size(), Free);
    for (const auto& r : rows) {
        std::vector<Touch> touch(Scene.size());
        touch[0] = r.t;
        const Snapping::Snap s = Snapping::SnapMove(Scene, {0}, factors, touch, r.delta, SceneLines, r.distance, {});
        EXPECT_EQ(s.pointer, r.pointer) << r.what;
        EXPECT_EQ(s.guides, r.guides) << r.what;
    }
}

TEST(Snapping, ResizeCatchesTheGrabbedEdgeUnlessItsValueIsLocked)
{
    const Grabs left{true, false, false, false}, right{false, false, true, false};
    const struct { const char* what; Grabs grabs; QPointF pointer; Factors f; double distance; QPointF expected;
                   std::vector<Guide> guides; } rows[] = {
        {"right edge onto the next element", right, {2115, 450}, Free, 60, {2100, 450}, {{V, 2250}}},
        {"left edge onto the screen", left, {-135, 450}, Free, 60, {-150, 450}, {{V, 0}}},
        {"left edge with x locked", left, {-135, 450}, {0, 1, 1, 1}, 60, {-135, 450}, {}},
        {"right edge with width locked", right, {2115, 450}, {1, 1, 0, 1}, 60, {2115, 450}, {}},
        {"8x: out of reach, whole pixel", right, {2117, 450}, Free, 7.5, {2115, 450}, {}},
    };
    for (const auto& r : rows) {
        const Snapping::Snap s = Snapping::SnapResize(Scene[0], r.grabs, r.pointer, r.f, SceneLines, r.distance, {});
        EXPECT_EQ(s.pointer, r.expected) << r.what;
        EXPECT_EQ(s.guides, r.guides) << r.what;
    }
    // One element's drag, pressed 300 twips inside and moved 120 left: its left edge catches the screen's.
    const Grip move{{}, true, {300, 300}};
    EXPECT_EQ(Snapping::SnapDrag(Scene, 0, move, {330, 450}, Free, {}, SceneLines, 60, {}).pointer, QPointF(300, 450));
}

TEST(Snapping, FollowersAreWhatTheDependentRulesMove)
{
    const Rects map(21, QRectF(150, 150, 300, 300)), list(5, QRectF(150, 150, 300, 300));
    const struct { Dependents kind; int view; const Rects& rects; int slot; QList<int> followers; } rows[] = {
        {Dependents::Map, 0, map, MapSlots::From, {MapSlots::SmallDummy}},
        {Dependents::Map, 1, map, MapSlots::From, {MapSlots::LargeDummy}},
        {Dependents::Map, 0, map, 0, {}},
        {Dependents::List, 0, list, 0, {1, 2, 3, 4}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Snapping::Followers(r.rects, {r.kind, r.view, 15, 15, {0}}, r.slot), r.followers) << r.slot;
}

// 10,10 40x20; 100,40 60x30; 50,100 20x10; 180,160 20x20 (device pixels).
const Rects Group{{150, 150, 600, 300}, {1500, 600, 900, 450}, {750, 1500, 300, 150}, {2700, 2400, 300, 300}};

TEST(Alignment, LinesSpacingAndSizesRespectLocks)
{
    using A = Alignment::Action;
    const Alignment::Freedom all, none{false, false, false, false}, noX{false, true, true, true},
        noCX{true, true, false, true};
    const QList<int> three{0, 1, 2}, four{0, 1, 2, 3};
    const struct { const char* what; A action; QList<int> sel; std::vector<Alignment::Freedom> free; Rects expected; }
        rows[] = {
            {"left", A::Left, three, {all, all, all, all},
             {{150, 150, 600, 300}, {150, 600, 900, 450}, {150, 1500, 300, 150}, Group[3]}},
            {"right", A::Right, three, {all, all, all, all},
             {{1800, 150, 600, 300}, Group[1], {2100, 1500, 300, 150}, Group[3]}},
            {"vertical centre", A::VerticalCentre, three, {all, all, all, all},
             {{150, 750, 600, 300}, {1500, 675, 900, 450}, {750, 825, 300, 150}, Group[3]}},
            {"left onto the one that cannot move", A::Left, three, {all, noX, all, all},
             {{1500, 150, 600, 300}, Group[1], {1500, 1500, 300, 150}, Group[3]}},
            {"right onto the locked one", A::Right, three, {none, all, all, all},
             {Group[0], {-150, 600, 900, 450}, {450, 1500, 300, 150}, Group[3]}},
            {"equal gaps, whole pixels", A::DistributeHorizontally, four, {all, all, all, all},
             {Group[0], {1545, 600, 900, 450}, {1005, 1500, 300, 150}, Group[3]}},
            {"equal gaps up to a locked one", A::DistributeHorizontally, four, {all, noX, all, all},
             {Group[0], Group[1], {975, 1500, 300, 150}, Group[3]}},
            {"two elements are not distributed", A::DistributeVertically, {0, 2}, {all, all, all, all}, Group},
            {"same width as the current one", A::SameWidth, three, {all, all, noCX, all},
             {{150, 150, 900, 300}, Group[1], Group[2], Group[3]}},
        };
    for (const auto& r : rows)
        EXPECT_EQ(Alignment::Arranged(Group, r.sel, 1, r.action, r.free, {}), r.expected) << r.what;

    // The map's dummy follows "from" when alignment moves it.
    Rects map(21, QRectF(1500, 1500, 300, 300));
    map[5].moveLeft(150);
    const std::vector<Alignment::Freedom> free(21);
    const Rects aligned =
        Alignment::Arranged(map, {MapSlots::From, 5}, 5, A::Left, free, {Dependents::Map, 0, 15, 15});
    EXPECT_EQ(aligned[MapSlots::From].x(), 150);
    EXPECT_EQ(aligned[MapSlots::SmallDummy].x(), 150);
    // A value the binding locks, or a lock the user set, leaves the value free of nothing.
    EXPECT_FALSE(Alignment::FreedomOf({}, {1, 0, 1, 1}, false).y);
    EXPECT_FALSE(Alignment::FreedomOf({}, Free, true).x);
}

TEST(Selection, BandSelectsWhatItTouchesAndTheGroupMovesByItsFactors)
{
    const std::vector<bool> all(4, true), notSecond{true, false, true, true};
    const struct { QRectF band; std::vector<bool> selectable; QList<int> hits; } rows[] = {
        {QRectF(QPointF(160, 160), QPointF(0, 0)), all, {0}}, {Screen, notSecond, {0, 2, 3}},
        {{0, 0, 149, 149}, all, {}}, {{0, 0, 150, 150}, all, {0}}, {{700, 0, 0, 4800}, all, {}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Selection::BandHits(Group, r.selectable, r.band), r.hits) << r.band.x() << "," << r.band.y();

    Rects map(21, QRectF(1500, 1500, 300, 300));
    std::vector<Factors> factors(21, Free);
    factors[5] = {0, 1, 1, 1};
    const Rects moved = Selection::Moved(map, {MapSlots::From, 5}, factors, {150, 30}, {Dependents::Map, 0, 15, 15});
    EXPECT_EQ(moved[MapSlots::From], QRectF(1650, 1530, 300, 300));
    EXPECT_EQ(moved[5], QRectF(1500, 1530, 300, 300));
    EXPECT_EQ(moved[MapSlots::SmallDummy], QRectF(1650, 1500, 300, 300));
}

} // namespace

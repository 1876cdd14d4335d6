#include "LayoutRules.h"
#include "NumberText.h"

#include <QLocale>
#include <QStringList>

#include <limits>

#include <gtest/gtest.h>

namespace {

using namespace Layout;

// An element at 10,10 with 100 x 60 device pixels; edge zones of line width 3.
const QRectF Element(150, 150, 1500, 900);
const double Zone = EdgeZone(3);
const Factors Free{1, 1, 1, 1};

Grabs grabs(const char* edges)
{
    const QString e = QString::fromLatin1(edges);
    return {e.contains('L'), e.contains('T'), e.contains('R'), e.contains('B')};
}

QString edges(Grabs g)
{
    return QString(g.left ? "L" : "") + (g.top ? "T" : "") + (g.right ? "R" : "") + (g.bottom ? "B" : "");
}

TEST(LayoutRules, PressGrabsTheEdgesWithinTheZoneWhereTouchAllows)
{
    const Touch all, noX{false, true, true, true}, noCX{true, true, false, true};
    const struct { QPointF at; Touch touch; const char* grabbed; } rows[] = {
        {{45, 450}, all, "L"}, {{46, 450}, all, ""}, {{-3, 450}, all, "L"}, {{30, 450}, noX, ""},
        {{1455, 450}, all, "R"}, {{1454, 450}, all, ""}, {{1500, 450}, all, "R"}, {{1501, 450}, all, ""},
        {{1480, 450}, noCX, ""}, {{20, 20}, all, "LT"}, {{1480, 880}, all, "RB"}, {{700, 900}, all, "B"},
        {{700, 901}, all, ""},
    };
    for (const auto& r : rows)
        EXPECT_EQ(edges(GrabsAt(Element.size(), r.at, Zone, r.touch)), r.grabbed) << r.at.x() << "," << r.at.y();
    // An element narrower than two zones: one press takes both edges.
    EXPECT_EQ(edges(GrabsAt({60, 60}, {30, 30}, Zone, all)), "LTRB");
}

TEST(LayoutRules, HoverShowsThePointerOfTheZoneWhateverTheTouchFlags)
{
    const struct { QPointF at; Qt::CursorShape shape; } rows[] = {
        {{20, 20}, Qt::SizeFDiagCursor}, {{1480, 880}, Qt::SizeFDiagCursor}, {{1480, 20}, Qt::SizeBDiagCursor},
        {{20, 880}, Qt::SizeBDiagCursor}, {{700, 20}, Qt::SizeVerCursor}, {{700, 890}, Qt::SizeVerCursor},
        {{20, 450}, Qt::SizeHorCursor}, {{1600, 450}, Qt::SizeHorCursor}, {{700, 450}, Qt::ArrowCursor},
    };
    for (const auto& r : rows)
        EXPECT_EQ(PointerShapeAt(Element.size(), r.at, Zone), r.shape) << r.at.x() << "," << r.at.y();
}

TEST(LayoutRules, DragComputesFromThePressPuttingTheGrabbedEdgeUnderThePointer)
{
    const Factors noX{0, 1, 1, 1}, noY{1, 0, 1, 1}, noW{1, 1, 0, 1}, noH{1, 1, 1, 0};
    const struct { const char* what; const char* grabbed; QPointF pointer; Factors f; QRectF expected; } rows[] = {
        {"left", "L", {180, 450}, Free, {330, 150, 1320, 900}},
        {"left outwards", "L", {-15, 450}, Free, {135, 150, 1515, 900}},
        {"left stops at the right edge", "L", {1600, 450}, Free, {1650, 150, 0, 900}},
        {"left with x locked", "L", {180, 450}, noX, {150, 150, 1320, 900}},
        {"left with x locked stops at 0", "L", {1600, 450}, noX, {150, 150, 0, 900}},
        {"left with width locked moves", "L", {180, 450}, noW, {330, 150, 1500, 900}},
        {"right", "R", {1630, 450}, Free, {150, 150, 1630, 900}},
        {"right stops at the left edge", "R", {-100, 450}, Free, {150, 150, 0, 900}},
        {"right with width locked", "R", {1630, 450}, noW, Element},
        {"top", "T", {700, -55}, Free, {150, 95, 1500, 955}},
        {"top stops at the bottom edge", "T", {700, 1000}, Free, {150, 1050, 1500, 0}},
        {"top with y locked", "T", {700, 75}, noY, {150, 150, 1500, 825}},
        {"bottom", "B", {700, 955}, Free, {150, 150, 1500, 955}},
        {"bottom with height locked", "B", {700, 955}, noH, Element},
        {"top-left corner", "LT", {-130, -55}, Free, {20, 95, 1630, 955}},
        {"bottom-right corner", "RB", {1330, 805}, Free, {150, 150, 1330, 805}},
        // "M": moved, pressed at 700,450.
        {"move", "M", {850, 525}, Free, {300, 225, 1500, 900}},
        {"move with x locked", "M", {850, 525}, noX, {150, 225, 1500, 900}},
        {"move with y locked", "M", {850, 525}, noY, {300, 150, 1500, 900}},
        {"fractions of the pointer stay", "M", {850.5, 450.5}, Free, {300.5, 150.5, 1500, 900}},
        {"beyond the canvas range", "M", {1e9, 450}, Free, Element},
    };
    for (const auto& r : rows) {
        const Grip grip{grabs(r.grabbed), *r.grabbed == 'M', {700, 450}};
        EXPECT_EQ(DragResult({Element}, 0, grip, r.pointer, r.f, {})[0], r.expected) << r.what;
    }
}

// A list pop-up; the list box sits in slot base, followed by "listboxitem",
// "up", "down", "okbutton" and "back". In twips: list box 300,600,3000,2700;
// item 300,600,2250,600; up 2550,600,750,1050; down 2550,2250,750,1050;
// OK button 2700,1725,600,465; back 0,0,300,300.
// The expected parts; an empty or missing one keeps its place, the changed one what was set.
TEST(LayoutRules, ListPartsFollowTheListBoxTheItemAndTheOkButton)
{
    const Rects list = {{300, 600, 3000, 2700}, {300, 600, 2250, 600}, {2550, 600, 750, 1050},
                        {2550, 2250, 750, 1050}, {2700, 1725, 600, 465}, {0, 0, 300, 300}};
    const struct { const char* what; int slot; QRectF changed; Rects expected; } rows[] = {
        {"list box wider", 0, {300, 600, 3140, 2700},
         {{}, {300, 2183, 2250, 600}, {2550, 600, 890, 1118}, {2550, 2183, 890, 1118}, {2840, 1718, 600, 465}}},
        {"item wider", 1, {300, 600, 2540, 600}, {{}, {}, {2840, 600, 460, 1050}, {2840, 2250, 460, 1050}}},
        {"item wider than the list: no negative width", 1, {300, 600, 3200, 600},
         {{}, {}, {3500, 600, 750, 1050}, {3500, 2250, 750, 1050}}},
        {"OK button higher", 4, {2700, 1725, 600, 605},
         {{}, {300, 2253, 2250, 600}, {2550, 600, 750, 1048}, {2550, 2253, 750, 1048}, {2700, 1648, 600, 605}}},
        {"back button", 5, {150, 150, 300, 300}, {}},
    };
    for (const int base : {0, 1}) {
        for (const auto& r : rows) {
            SCOPED_TRACE(testing::Message() << (base ? "T9 list: " : "plain list: ") << r.what);
            Rects rects = list;
            if (base == 1)
                rects.insert(rects.begin(), QRectF(0, 0, 20, 20)); // the plain list box of a T9 screen
            rects[base + r.slot] = r.changed;
            ApplyDependents(rects, {.dependents = Dependents::List, .list = {base}}, base + r.slot);
            for (int k = 0; k < 6; ++k) {
                const QRectF kept = k == r.slot ? r.changed : list[k];
                EXPECT_EQ(rects[base + k], k < int(r.expected.size()) && !r.expected[k].isNull() ? r.expected[k] : kept)
                    << k;
            }
        }
    }
    Rects unbound = list;
    ApplyDependents(unbound, {.dependents = Dependents::List}, 3);
    EXPECT_EQ(unbound, list) << "no list box";
}

TEST(LayoutRules, ListPartsAreLaidOutFromTheSizesAfterLoading)
{
    // List box 200 x 150 at 20,40; item 150 wide, 30 high; OK button 40 x 52 (device pixels).
    for (const int base : {0, 1}) {
        Rects rects(base + 6, QRectF(0, 0, 300, 300));
        rects[base] = {300, 600, 3000, 2250};
        rects[base + 1] = {0, 0, 2250, 450};
        rects[base + 4] = {0, 0, 600, 780};
        ListPostPass(rects, {.list = {base}});
        EXPECT_EQ(Rects(rects.begin() + base, rects.end()),
                  (Rects{{300, 600, 3000, 2250}, {300, 2115, 2250, 450}, {2550, 600, 750, 735}, {2550, 2115, 750, 735},
                         {2700, 1335, 600, 780}, {0, 0, 300, 300}}));
    }
}

// A map view: "from" (slot 3) at 750; "largedummy" (19) at 150; "smalldummy" (20) at 1500.
TEST(LayoutRules, MapFromAndTheDummyOfTheViewShareTheirLeftEdge)
{
    const struct { const char* what; int view; int moved; double left; double from, large, small; } rows[] = {
        {"from on view 1", 0, 3, 900, 900, 150, 900}, {"from on view 2", 1, 3, 900, 900, 900, 1500},
        {"from on view 3", 2, 3, 900, 900, 900, 1500}, {"large dummy", 0, 19, 300, 300, 300, 1500},
        {"small dummy", 2, 20, 1650, 1650, 150, 1650}, {"another element", 0, 5, 900, 750, 150, 1500},
        {"half twip rounds to even, down", 0, 3, 772.5, 772.5, 150, 772},
        {"half twip rounds to even, up", 0, 3, 757.5, 757.5, 150, 758},
    };
    for (const auto& r : rows) {
        Rects rects(SlotCount, QRectF(0, 0, 600, 300));
        rects[3] = {750, 1500, 600, 300};
        rects[19] = {150, 3000, 450, 450};
        rects[20] = {1500, 3750, 450, 450};
        rects[r.moved].moveLeft(r.left);
        ApplyDependents(rects, {Dependents::Map, r.view}, r.moved);
        EXPECT_EQ(rects[3].x(), r.from) << r.what;
        EXPECT_EQ(rects[19].x(), r.large) << r.what;
        EXPECT_EQ(rects[20].x(), r.small) << r.what;
        EXPECT_EQ(rects[20].y(), 3750) << r.what;
    }
}

TEST(LayoutRules, FieldsShowSinglePrecisionAndYRoundedDown)
{
    const QLocale comma(QLocale::German, QLocale::Germany);
    const struct { const QLocale& locale; QRectF rect; QPointF origin; QStringList shown; } rows[] = {
        {QLocale::c(), {112.5, 112.5, 1500, 450}, {0, 0}, {"7.5", "7", "100", "30"}},
        {comma, {112.5, 112.5, 1500, 450}, {0, 0}, {"7,5", "7", "100", "30"}},
        {QLocale::c(), {100, 100, 100, 100}, {0, 0}, {"6.666667", "6", "6.666667", "6.666667"}},
        {comma, {-7.5, -7.5, 7.5, 7.5}, {0, 0}, {"-0,5", "-1", "0,5", "0,5"}},
        {QLocale::c(), {450, 600, 150, 150}, {300, 608}, {"10", "-1", "10", "10"}},
    };
    for (const auto& r : rows) {
        QStringList texts;
        for (float v : ShownValues(r.rect, r.origin, {}))
            texts << SingleText(v, r.locale);
        EXPECT_EQ(texts, r.shown);
    }
    EXPECT_EQ(FieldNumbers({6.666667f, 7, 1e-3f, -2.5f}), (FieldValues{6.666667, 7, 0.001, -2.5}));
}

TEST(LayoutRules, NudgesFollowTheModeTableAndTheLocks)
{
    const FieldValues home{10, 36, 105, 54};
    const Touch all, none{false, false, false, false};
    using M = NudgeMode;
    using D = NudgeDirection;
    const struct { M mode; D direction; Touch touch; Factors f; FieldValues expected; } rows[] = {
        {M::Position, D::North, all, Free, {10, 35, 105, 54}}, {M::Position, D::South, all, Free, {10, 37, 105, 54}},
        {M::Position, D::West, all, Free, {9, 36, 105, 54}}, {M::Position, D::East, all, Free, {11, 36, 105, 54}},
        {M::Grow, D::North, all, Free, {10, 35, 105, 55}}, {M::Grow, D::South, all, Free, {10, 36, 105, 55}},
        {M::Grow, D::West, all, Free, {9, 36, 106, 54}}, {M::Grow, D::East, all, Free, {10, 36, 106, 54}},
        {M::Shrink, D::North, all, Free, {10, 36, 105, 53}}, {M::Shrink, D::South, all, Free, {10, 37, 105, 53}},
        {M::Shrink, D::West, all, Free, {10, 36, 104, 54}}, {M::Shrink, D::East, all, Free, {11, 36, 104, 54}},
        {M::Grow, D::West, none, Free, home}, {M::Grow, D::South, none, Free, home},
        {M::Shrink, D::North, none, Free, {10, 36, 105, 53}}, // shrinking from the top ignores the flags
        {M::Position, D::West, all, {0, 0, 1, 1}, home}, {M::Position, D::North, all, {0, 0, 1, 1}, home},
        {M::Grow, D::East, all, {1, 1, 2, 1}, {10, 36, 107, 54}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(Nudged(home, r.mode, r.direction, r.f, r.touch), r.expected)
            << int(r.mode) << " " << int(r.direction);
}

TEST(LayoutRules, PlacingRefusesWhatTheCanvasCannotHold)
{
    EXPECT_EQ(Placed({300, 600}, {10, 5, 50, 20}, {}), QRectF(450, 675, 750, 300));
    EXPECT_EQ(Placed({0, 0}, {-5, 0, 0, 0}, {}), QRectF(-75, 0, 0, 0));
    EXPECT_EQ(Placed({0, 0}, {1, 2, 3, 4}, {Dependents::None, 0, 12, 20}), QRectF(12, 40, 36, 80));
    for (const FieldValues& refused : {FieldValues{0, 0, -1, 10}, FieldValues{0, 0, 10, -0.1}, FieldValues{4e7, 0, 10, 10}})
        EXPECT_FALSE(Placed({0, 0}, refused, {})) << refused[0] << " " << refused[2] << " " << refused[3];
    const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(Acceptable({nan, 0, 1, 1}) || Acceptable({0, inf, 1, 1}) || Acceptable({0, 0, 1, nan}));
}

TEST(LayoutRules, ShiftArrowsWalkTheSlotsWrappingAndSkippingLockedOnes)
{
    const Touch t, none{false, false, false, false};
    const std::vector<Touch> menu(12, t);
    const std::vector<Touch> list{t, {false, false, true, true}, none, none, {true, true, false, true}, t};
    const struct { const std::vector<Touch>& touch; int start, step; std::vector<int> visited; } rows[] = {
        {menu, 11, 1, {0, 1}}, {menu, 0, -1, {11, 10}}, {list, 4, 1, {5, 0, 1, 4}}, {list, 4, -1, {1, 0, 5, 4}},
        {std::vector<Touch>(3, none), 1, 1, {1}}, {menu, -1, 1, {-1}},
    };
    for (const auto& r : rows) {
        int slot = r.start;
        for (int expected : r.visited)
            EXPECT_EQ(slot = NeighbourOf(r.touch, slot, r.step), expected) << r.start << " " << r.step;
    }
}

} // namespace

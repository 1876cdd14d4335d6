#include "ElementFixture.h"

namespace {

enum Touch { X = 1, Y = 2, CX = 4, CY = 8, All = 15 };

// Slot 1 is an element at 10,10 with 100 x 60 device pixels: 150,150,1500,900
// twips; with a marker line width of 3 its edge zones are 45 twips wide.
class MouseTest : public ElementFixture
{
protected:
    clsImage* other = nullptr;
    clsImage* e = nullptr;

    void SetUp() override
    {
        other = &bind(0, 200, 300, 10, 10);
        e = &bind(1, 10, 10, 100, 60);
        select(0);
        state.LayoutChanged = false;
    }

    void touch(int mask)
    {
        e->TouchX(mask & X);
        e->TouchY(mask & Y);
        e->TouchCX(mask & CX);
        e->TouchCY(mask & CY);
    }

    // Press, the first move (ignored), one move and the release, as the window
    // delivers them through the bitmap item.
    void drag(double x, double y, double toX, double toY)
    {
        CanvasBitmap* b = canvas.bitmap(1);
        b->mouseDown(Qt::LeftButton, Qt::NoModifier, x, y);
        b->mouseMove(Qt::LeftButton, Qt::NoModifier, x, y);
        b->mouseMove(Qt::LeftButton, Qt::NoModifier, toX, toY);
        b->mouseUp(Qt::LeftButton, Qt::NoModifier, toX, toY);
    }

    QRectF rect() const { return canvas.bitmap(1)->rect(); }
};

TEST_F(MouseTest, PressDecidesGrabsByZoneAndTouchFlags)
{
    const struct { const char* what; int touch; QPointF press, to; QRectF expected; } rows[] = {
        {"left zone", All, {30, 450}, {180, 450}, {330, 150, 1320, 900}},
        {"left zone without TouchX moves", All & ~X, {30, 450}, {180, 450}, {300, 150, 1500, 900}},
        {"left zone inner border", All, {45, 450}, {-15, 450}, {135, 150, 1515, 900}},
        {"just inside the left zone", All, {46, 450}, {76, 450}, {180, 150, 1500, 900}},
        {"right zone", All, {1480, 450}, {1630, 450}, {150, 150, 1630, 900}},
        {"right zone without TouchCX moves", All & ~CX, {1480, 450}, {1630, 450}, {300, 150, 1500, 900}},
        {"beyond the right edge", All, {1510, 450}, {1540, 450}, {180, 150, 1500, 900}},
        {"top-left corner", All, {20, 20}, {-130, -55}, {20, 95, 1630, 955}},
        {"bottom zone", All, {700, 880}, {700, 955}, {150, 150, 1500, 955}},
        {"bottom-right corner", All, {1480, 880}, {1330, 805}, {150, 150, 1330, 805}},
        {"top zone without TouchY moves", All & ~Y, {700, 20}, {700, 95}, {150, 225, 1500, 900}},
        {"middle moves", All, {700, 450}, {850, 525}, {300, 225, 1500, 900}},
        {"only TouchCY still moves from the middle", CY, {700, 450}, {850, 525}, {300, 225, 1500, 900}},
        {"left edge stops at the right edge", All, {30, 450}, {1600, 450}, {1650, 150, 0, 900}},
        {"top edge stops at the bottom edge", All, {700, 20}, {700, 1000}, {150, 1050, 1500, 0}},
        {"right edge stops at the left edge", All, {1480, 450}, {-200, 450}, {150, 150, 0, 900}},
        {"start rounds halves to even", All, {700.5, 450.5}, {850.5, 450.5}, {300.5, 150.5, 1500, 900}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        SetUp();
        touch(r.touch);
        drag(r.press.x(), r.press.y(), r.to.x(), r.to.y());
        EXPECT_EQ(rect(), r.expected);
        EXPECT_EQ(canvas.selector()->tag(), "1");
        EXPECT_EQ(canvas.selector()->rect(), r.expected);
        EXPECT_EQ(canvas.frame(1)->rect(), wholeTwips(canvas.bitmap(1)));
        EXPECT_TRUE(state.LayoutChanged);
        EXPECT_FALSE(e->isActive());
        EXPECT_EQ(pixels(canvas.bitmap(0)), QRectF(200, 300, 10, 10));
    }
}

TEST_F(MouseTest, ReleaseEndsTheDragWithoutChangingTheRectangle)
{
    e->myImage_MouseDown(Qt::LeftButton, Qt::NoModifier, 700, 450);
    e->myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, 700, 450);
    e->myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, 715, 450);
    const QRectF dragged = rect();
    e->myImage_MouseUp(Qt::LeftButton, Qt::NoModifier, 9999, 9999);
    EXPECT_EQ(rect(), dragged);
    state.LayoutChanged = false;
    e->myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, 900, 500);
    EXPECT_EQ(rect(), dragged);
    EXPECT_FALSE(state.LayoutChanged);
}

TEST_F(MouseTest, ElementWithoutTouchFlagsIgnoresThePress)
{
    touch(0);
    e->myImage_MouseDown(Qt::LeftButton, Qt::NoModifier, 700, 450);
    EXPECT_EQ(canvas.selector()->tag(), "0");
    EXPECT_FALSE(e->isActive());
    e->myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, 700, 450);
    e->myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, 900, 600);
    EXPECT_EQ(rect(), QRectF(150, 150, 1500, 900));
    EXPECT_EQ(fields(), QStringList({"200", "300", "10", "10"}));
}

TEST_F(MouseTest, ZeroNudgeFactorFreezesThatValue)
{
    const struct { const char* what; int locked; QPointF press, to; QRectF expected; } rows[] = {
        {"move with x locked", ScreenBinding::NudgeX, {700, 450}, {850, 525}, {150, 225, 1500, 900}},
        {"move with y locked", ScreenBinding::NudgeY, {700, 450}, {850, 525}, {300, 150, 1500, 900}},
        {"right edge with width locked", ScreenBinding::NudgeWidth, {1480, 450}, {1630, 450}, {150, 150, 1500, 900}},
        {"left edge with x locked", ScreenBinding::NudgeX, {30, 450}, {180, 450}, {150, 150, 1320, 900}},
        {"top edge with y locked", ScreenBinding::NudgeY, {700, 20}, {700, 95}, {150, 150, 1500, 805}},
        {"bottom edge with height locked", ScreenBinding::NudgeHeight, {700, 880}, {700, 955}, {150, 150, 1500, 900}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        SetUp();
        state.Binding.NudgeFactor[1] = {1.0, 1.0, 1.0, 1.0};
        state.Binding.NudgeFactor[1][r.locked] = 0.0;
        drag(r.press.x(), r.press.y(), r.to.x(), r.to.y());
        EXPECT_EQ(rect(), r.expected);
    }
}

TEST_F(MouseTest, GrabOfAnEarlierPressStaysUntilTheRelease)
{
    e->myImage_MouseDown(Qt::LeftButton, Qt::NoModifier, 30, 450);   // grabs the left edge
    e->myImage_MouseDown(Qt::LeftButton, Qt::NoModifier, 700, 450);  // no release in between
    e->myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, 700, 450);
    e->myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, 850, 450);
    EXPECT_EQ(rect(), QRectF(1000, 150, 650, 900));
}

} // namespace

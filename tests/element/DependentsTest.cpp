#include "ElementFixture.h"

#include <array>

namespace {

using Rects = std::array<QRectF, 6>;

// A list pop-up as the loaders bind it. The list box sits in slot base (0 for
// the plain list, 1 for the T9 list), followed by "listboxitem", "up", "down",
// "okbutton" and "back". In twips: list box 300,600,3000,2700; item
// 300,600,2250,600; up 2550,600,750,1050; down 2550,2250,750,1050; OK button
// 2700,1725,600,465; back 0,0,300,300.
class ListDependentsTest : public ElementFixture
{
protected:
    void setUpList(int base)
    {
        elements.clear();
        state.Binding = ScreenBinding();
        if (base == 1)
            bind(0, 0, 0, 20, 20);   // the plain "listbox" of a T9 screen
        bind(base, 20, 40, 200, 180);
        CanvasShape* box = canvas.frame(base);
        bind(base + 1, 0, 0, 150, 40, box);
        bind(base + 2, 150, 0, 50, 70, box);
        bind(base + 3, 150, 110, 50, 70, box);
        bind(base + 4, 160, 75, 40, 31, box);
        bind(base + 5, 0, 0, 20, 20);
        for (int slot = 0; slot <= base + 5; ++slot) {
            clsImage* e = elements.at(slot);
            e->HasDepts(true);
            (base == 0 ? e->IsListbox(true) : e->IsListboxt9(true));
        }
        setTouch(base + 1, false, false, true, true);
        setTouch(base + 2, false, false, false, false);
        setTouch(base + 3, false, false, false, false);
        setTouch(base + 4, true, true, false, true);
        for (int slot : {base + 1, base + 4})
            state.Binding.NudgeFactor[slot] = {0.0, 0.0, 1.0, 1.0};
        state.LayoutChanged = false;
    }

    void setTouch(int slot, bool x, bool y, bool cx, bool cy)
    {
        clsImage* e = elements.at(slot);
        e->TouchX(x);
        e->TouchY(y);
        e->TouchCX(cx);
        e->TouchCY(cy);
    }

    void drag(int slot, QPointF press, QPointF to)
    {
        clsImage* e = elements.at(slot);
        e->myImage_MouseDown(Qt::LeftButton, Qt::NoModifier, press.x(), press.y());
        e->myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, press.x(), press.y());
        e->myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, to.x(), to.y());
        e->myImage_MouseUp(Qt::LeftButton, Qt::NoModifier, to.x(), to.y());
    }
};

const Rects unchanged = {QRectF(300, 600, 3000, 2700), QRectF(300, 600, 2250, 600), QRectF(2550, 600, 750, 1050),
                         QRectF(2550, 2250, 750, 1050), QRectF(2700, 1725, 600, 465), QRectF(0, 0, 300, 300)};

TEST_F(ListDependentsTest, PartsFollowTheListBoxTheItemAndTheOkButton)
{
    const struct {
        const char* what;
        int slot;          // relative to the list box
        QPointF press, to; // a drag; no press means the width field is typed instead
        const char* typedWidth;
        Rects expected;
    } rows[] = {
        {"list box right edge", 0, {2990, 1350}, {3140, 1350}, nullptr,
         {QRectF(300, 600, 3140, 2700), QRectF(300, 2183, 2250, 600), QRectF(2550, 600, 890, 1118),
          QRectF(2550, 2183, 890, 1118), QRectF(2840, 1718, 600, 465), QRectF(0, 0, 300, 300)}},
        {"list box width typed", 0, {}, {}, "210",
         {QRectF(300, 600, 3150, 2700), QRectF(300, 2183, 2250, 600), QRectF(2550, 600, 900, 1118),
          QRectF(2550, 2183, 900, 1118), QRectF(2850, 1718, 600, 465), QRectF(0, 0, 300, 300)}},
        {"item right edge", 1, {2240, 300}, {2540, 300}, nullptr,
         {QRectF(300, 600, 3000, 2700), QRectF(300, 600, 2540, 600), QRectF(2840, 600, 460, 1050),
          QRectF(2840, 2250, 460, 1050), QRectF(2700, 1725, 600, 465), QRectF(0, 0, 300, 300)}},
        {"item locked in move mode", 1, {1000, 300}, {1300, 450}, nullptr, unchanged},
        {"OK button bottom edge", 4, {300, 455}, {300, 605}, nullptr,
         {QRectF(300, 600, 3000, 2700), QRectF(300, 2253, 2250, 600), QRectF(2550, 600, 750, 1048),
          QRectF(2550, 2253, 750, 1048), QRectF(2700, 1648, 600, 605), QRectF(0, 0, 300, 300)}},
        {"back button", 5, {150, 150}, {300, 300}, nullptr,
         {QRectF(300, 600, 3000, 2700), QRectF(300, 600, 2250, 600), QRectF(2550, 600, 750, 1050),
          QRectF(2550, 2250, 750, 1050), QRectF(2700, 1725, 600, 465), QRectF(150, 150, 300, 300)}},
    };
    for (int base : {0, 1}) {
        for (const auto& r : rows) {
            SCOPED_TRACE(testing::Message() << (base ? "T9 list: " : "plain list: ") << r.what);
            setUpList(base);
            const int slot = base + r.slot;
            if (r.typedWidth) {
                select(slot);
                canvas.txtCX()->setText(QString::fromLatin1(r.typedWidth));
                canvas.txtCX()->keyUp(Qt::Key_0, Qt::NoModifier);
            } else {
                drag(slot, r.press, r.to);
            }
            for (int k = 0; k < 6; ++k) {
                SCOPED_TRACE(base + k);
                EXPECT_EQ(canvas.bitmap(base + k)->rect(), r.expected[k]);
                EXPECT_EQ(canvas.frame(base + k)->rect(), r.expected[k]);
            }
            EXPECT_EQ(canvas.selector()->rect(), r.expected[r.slot]);
            EXPECT_TRUE(state.LayoutChanged);
            if (base == 1) {
                EXPECT_EQ(canvas.bitmap(0)->rect(), QRectF(0, 0, 300, 300));
            }
        }
    }
}

// A map view: "from" (slot 3) at 750,1500; "largedummy" (19) at 150,3000;
// "smalldummy" (20) at 1500,3750 (twips).
class MapDependentsTest : public ElementFixture
{
protected:
    void setUpMap(qint16 view, bool hasDepts)
    {
        elements.clear();
        for (int slot = 0; slot < SlotCount; ++slot) {
            clsImage& e = slot == 3    ? bind(slot, 50, 100, 40, 20)
                          : slot == 19 ? bind(slot, 10, 200, 30, 30)
                          : slot == 20 ? bind(slot, 100, 250, 30, 30)
                                       : bind(slot, 5 * slot, 8 * slot, 40, 20);
            e.HasDepts(hasDepts);
        }
        state.ViewIndex = view;
    }
};

TEST_F(MapDependentsTest, FromAndTheDummyOfTheViewShareTheirLeftEdge)
{
    const struct {
        const char* what;
        qint16 view;
        bool hasDepts;
        int dragged;
        double dx;
        qint32 from, large, small; // resulting left edges
    } rows[] = {
        {"from on view 1", 0, true, 3, 150, 900, 150, 900}, {"from on view 2", 1, true, 3, 150, 900, 900, 1500},
        {"from on view 3", 2, true, 3, 150, 900, 900, 1500}, {"large dummy", 0, true, 19, 150, 300, 300, 1500},
        {"small dummy", 2, true, 20, 150, 1650, 150, 1650}, {"another element", 0, true, 5, 150, 750, 150, 1500},
        {"half twip rounds up to even", 0, true, 3, 7.5, 758, 150, 758},
        {"half twip rounds down to even", 0, true, 3, 22.5, 772, 150, 772},
        {"screen without dependents", 0, false, 3, 150, 900, 150, 1500},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        setUpMap(r.view, r.hasDepts);
        clsImage* e = elements.at(r.dragged);
        e->myImage_MouseDown(Qt::LeftButton, Qt::NoModifier, 200, 150);
        e->myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, 200, 150);
        e->myImage_MouseMove(Qt::LeftButton, Qt::NoModifier, 200 + r.dx, 225);
        e->myImage_MouseUp(Qt::LeftButton, Qt::NoModifier, 200 + r.dx, 225);
        EXPECT_EQ(elements.at(3)->Left(), r.from);
        EXPECT_EQ(elements.at(19)->Left(), r.large);
        EXPECT_EQ(elements.at(20)->Left(), r.small);
        for (int slot : {3, 19, 20}) {
            if (slot == r.dragged)
                continue;
            SCOPED_TRACE(slot);
            EXPECT_EQ(canvas.frame(slot)->rect(), wholeTwips(canvas.bitmap(slot)));
        }
        EXPECT_EQ(canvas.bitmap(3)->top(), r.dragged == 3 ? 1575 : 1500);
        EXPECT_EQ(canvas.bitmap(20)->top(), r.dragged == 20 ? 3825 : 3750);
        EXPECT_EQ(canvas.selector()->tag(), QString::number(r.dragged));
    }
}

} // namespace

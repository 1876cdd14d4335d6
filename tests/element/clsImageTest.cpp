#include "ElementFixture.h"

#include <QTemporaryDir>

namespace {

using ElementTest = ElementFixture;

TEST_F(ElementTest, IniValuesPlaceTheElementWithTheInfoBarShift)
{
    const struct { bool depend; qint32 infoBar; const char* y; double topPixels; const char* shownY; } rows[] = {
        {true, 30, "50", 22, "22"}, {false, 30, "50", 50, "50"}, {true, 0, "50", 52, "52"},
        {true, 30, "7.5", -20.5, "-21"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.y);
        clsImage& e = bind(0, 4, 0, 20, 10);
        state.LayoutChanged = false;
        e.SetInfoBarHeight(r.infoBar);
        e.SetDepend(r.depend);
        canvas.txtY()->setText(r.y);
        e.paintImage();
        EXPECT_EQ(pixels(canvas.bitmap(0)), QRectF(4, r.topPixels, 20, 10));
        EXPECT_EQ(canvas.txtY()->text(), r.shownY);
        EXPECT_EQ(canvas.selector()->rect(), canvas.bitmap(0)->rect());
        EXPECT_FALSE(state.LayoutChanged);
    }
}

TEST_F(ElementTest, PlacementCountsFromTheCoordinateFrame)
{
    bind(0, 20, 30, 200, 100);                              // a dialog box
    bind(1, 10, 5, 50, 20, canvas.frame(0));                // an element inside it
    EXPECT_EQ(pixels(canvas.bitmap(1)), QRectF(30, 35, 50, 20));
    EXPECT_EQ(fields(), QStringList({"10", "5", "50", "20"}));
    EXPECT_EQ(canvas.nameLabel()->text(), "slot1 in test.ini");
}

TEST_F(ElementTest, PlacementNeedsTheElementToBeActive)
{
    bind(0, 1, 2, 3, 4);
    bind(1, 5, 6, 7, 8);
    canvas.txtX()->setText("100");
    elements.at(0)->paintImage();
    elements.at(0)->stretchImage();
    EXPECT_EQ(pixels(canvas.bitmap(0)), QRectF(1, 2, 3, 4));
    EXPECT_EQ(canvas.txtX()->text(), "100");
    EXPECT_FALSE(state.LayoutChanged);
}

TEST_F(ElementTest, IniValueThatIsNoNumberLeavesTheBitmapButRefreshes)
{
    bind(0, 1, 2, 3, 4);
    canvas.frame(0)->setGeometry(0, 0, 1, 1);
    canvas.txtX()->setText("12");
    canvas.txtY()->setText("x12");
    elements.at(0)->paintImage();
    EXPECT_EQ(pixels(canvas.bitmap(0)), QRectF(1, 2, 3, 4));
    EXPECT_EQ(canvas.frame(0)->rect(), canvas.bitmap(0)->rect());
    EXPECT_EQ(fields(), QStringList({"1", "2", "3", "4"}));
}

TEST_F(ElementTest, TypedCoordinatesPlaceExactlyOnKeyRelease)
{
    const QLocale comma(QLocale::German, QLocale::Germany);
    const struct {
        const char* what;
        const QLocale& locale;
        CanvasText* (Canvas::*field)() const;
        const char* typed;
        QRectF expected; // device pixels
        QStringList shown;
    } rows[] = {
        {"x", QLocale::c(), &Canvas::txtX, "12", {12, 20, 30, 40}, {"12", "20", "30", "40"}},
        {"y", QLocale::c(), &Canvas::txtY, "0", {10, 0, 30, 40}, {"10", "0", "30", "40"}},
        {"fraction", comma, &Canvas::txtX, "7,5", {7.5, 20, 30, 40}, {"7,5", "20", "30", "40"}},
        // The field typed in keeps its text while the user types; the others follow the element.
        {"point in comma locale", comma, &Canvas::txtCX, "2.5", {10, 20, 2.5, 40}, {"10", "20", "2.5", "40"}},
        {"fractional y", QLocale::c(), &Canvas::txtY, "7.5", {10, 7.5, 30, 40}, {"10", "7.5", "30", "40"}},
        {"emptied", QLocale::c(), &Canvas::txtCY, "", {10, 20, 30, 40}, {"10", "20", "30", ""}},
        {"text", QLocale::c(), &Canvas::txtX, "abc", {10, 20, 30, 40}, {"abc", "20", "30", "40"}},
        {"negative size refused", QLocale::c(), &Canvas::txtCX, "-5", {10, 20, 30, 40}, {"10", "20", "-5", "40"}},
        {"negative position", QLocale::c(), &Canvas::txtX, "-5", {-5, 20, 30, 40}, {"-5", "20", "30", "40"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        elements.setLocale(r.locale);
        bind(0, 0, 0, 1, 1);
        bind(1, 10, 20, 30, 40);
        state.LayoutChanged = false;
        (canvas.*r.field)()->setText(QString::fromLatin1(r.typed));
        (canvas.*r.field)()->keyUp(Qt::Key_5, Qt::NoModifier);
        EXPECT_EQ(pixels(canvas.bitmap(1)), r.expected);
        EXPECT_EQ(pixels(canvas.bitmap(0)), QRectF(0, 0, 1, 1));
        EXPECT_EQ(canvas.frame(1)->rect(), wholeTwips(canvas.bitmap(1)));
        EXPECT_EQ(canvas.selector()->rect(), canvas.bitmap(1)->rect());
        EXPECT_EQ(fields(), r.shown);
        EXPECT_TRUE(state.LayoutChanged);
    }
}

TEST_F(ElementTest, KeyReleaseThatChangesNothingStillMarksTheLayout)
{
    bind(0, 10, 20, 30, 40);
    state.LayoutChanged = false;
    elements.at(0)->mytxtCY_KeyUp(Qt::Key_Tab, Qt::ShiftModifier);
    EXPECT_TRUE(state.LayoutChanged);
    EXPECT_EQ(pixels(canvas.bitmap(0)), QRectF(10, 20, 30, 40));
}

TEST_F(ElementTest, CoordinateFieldsShowSinglePrecisionAndFloorForY)
{
    const QLocale comma(QLocale::German, QLocale::Germany);
    const struct { const QLocale& locale; QRectF markerTwips; QStringList shown; } rows[] = {
        {QLocale::c(), {112.5, 112.5, 1500, 450}, {"7.5", "7", "100", "30"}},
        {comma, {112.5, 112.5, 1500, 450}, {"7,5", "7", "100", "30"}},
        {QLocale::c(), {100, 100, 100, 100}, {"6.666667", "6", "6.666667", "6.666667"}},
        {comma, {-7.5, -7.5, 7.5, 7.5}, {"-0,5", "-1", "0,5", "0,5"}},
    };
    for (const auto& r : rows) {
        elements.setLocale(r.locale);
        bind(0, 0, 0, 1, 1);
        canvas.bitmap(0)->setGeometry(r.markerTwips);
        elements.at(0)->paintSelector();
        EXPECT_EQ(fields(), r.shown);
    }
}

TEST_F(ElementTest, MarkerSynchronisesTheFrameOfTheSlotInItsTag)
{
    bind(0, 1, 2, 3, 4);
    bind(1, 10, 20, 30, 40);
    canvas.bitmap(0)->setGeometry(112.5, 37.5, 100.5, 50);
    canvas.selector()->setTag("0");
    elements.at(1)->paintSelector();
    EXPECT_EQ(canvas.frame(0)->rect(), QRectF(112, 38, 100, 50));
    EXPECT_EQ(canvas.selector()->rect(), canvas.bitmap(1)->rect());
    EXPECT_EQ(canvas.nameLabel()->text(), "slot1 in test.ini");

    canvas.selector()->setTag("-1");                   // nothing to synchronise
    elements.at(1)->paintSelector();
    canvas.selector()->setTag("24");                   // a slot with no element
    elements.at(1)->paintSelector();
    EXPECT_EQ(fields(), QStringList({"10", "20", "30", "40"}));
}

TEST_F(ElementTest, MissingPictureStillPlacesAndEdits)
{
    QTemporaryDir dir;
    clsImage& e = bind(0, 10, 20, 30, 40);
    e.Picture(dir.filePath("nothing.bmp"));
    EXPECT_TRUE(canvas.bitmap(0)->picture().isNull());
    canvas.txtX()->setText("11");
    e.stretchImage();
    EXPECT_EQ(pixels(canvas.bitmap(0)), QRectF(11, 20, 30, 40));
}

TEST_F(ElementTest, RebindingAndDiscardingCutTheEventRoutes)
{
    clsImage& e = bind(0, 10, 20, 30, 40);
    e.SetImage(canvas.bitmap(5));
    e.SetX(nullptr);
    canvas.bitmap(0)->mouseDown(Qt::LeftButton, Qt::NoModifier, 150, 150);
    EXPECT_FALSE(e.isActive());
    canvas.bitmap(5)->mouseDown(Qt::LeftButton, Qt::NoModifier, 150, 150);
    EXPECT_TRUE(e.isActive());

    elements.clear();
    state.LayoutChanged = false;
    canvas.bitmap(5)->mouseMove(Qt::LeftButton, Qt::NoModifier, 10, 10);
    canvas.txtX()->keyUp(Qt::Key_1, Qt::NoModifier);
    EXPECT_FALSE(state.LayoutChanged);
}

} // namespace

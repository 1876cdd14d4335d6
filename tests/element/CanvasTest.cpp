#include "Canvas.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

namespace {

class CanvasTest : public ::testing::Test
{
protected:
    Canvas canvas;
};

TEST_F(CanvasTest, ItemsCarryTheirNamesAndStartState)
{
    for (int n = 1; n <= SlotCount; ++n) {
        auto* bitmap = canvas.findChild<CanvasBitmap*>(QStringLiteral("myImage%1").arg(n));
        auto* frame = canvas.findChild<CanvasShape*>(QStringLiteral("ImShape%1").arg(n));
        ASSERT_TRUE(bitmap && frame) << n;
        EXPECT_EQ(bitmap, canvas.bitmap(n - 1));
        EXPECT_FALSE(bitmap->isVisible());
    }
    EXPECT_EQ(canvas.bitmap(SlotCount), nullptr);
    EXPECT_EQ(canvas.bitmap(-1), nullptr);

    auto* selector = canvas.findChild<CanvasShape*>(QStringLiteral("Selector"));
    ASSERT_TRUE(selector);
    EXPECT_EQ(selector->tag(), "-1");
    EXPECT_FALSE(selector->isVisible());

    auto* screen = canvas.findChild<CanvasShape*>(QStringLiteral("Shape1"));
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->rect(), QRectF(0, 0, 240 * 15, 320 * 15));
    EXPECT_TRUE(canvas.findChild<CanvasBitmap*>(QStringLiteral("Image1")));

    for (const char* name : {"txtX", "txtY", "txtCX", "txtCY", "LBLiniName"})
        EXPECT_TRUE(canvas.findChild<CanvasText*>(QLatin1String(name))) << name;

    canvas.setTwipsPerPixel(12, 20);
    EXPECT_EQ(screen->rect(), QRectF(0, 0, 240 * 12, 320 * 20));
}

TEST_F(CanvasTest, RefusedValuesLeaveTheItemAndSayNothing)
{
    CanvasBitmap* b = canvas.bitmap(0);
    ASSERT_TRUE(b->setGeometry(100, 200, 300, 400));
    QSignalSpy spy(&canvas, &Canvas::itemChanged);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct { const char* what; double l, t, w, h; } rows[] = {
        {"negative width", 0, 0, -1, 10}, {"negative height", 0, 0, 10, -0.5}, {"not a number", nan, 0, 10, 10},
        {"infinite", 0, inf, 10, 10}, {"beyond the limit", 2e9, 0, 10, 10},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_FALSE(b->setGeometry(r.l, r.t, r.w, r.h));
        EXPECT_EQ(b->rect(), QRectF(100, 200, 300, 400));
    }
    EXPECT_FALSE(b->setWidth(-15));
    EXPECT_TRUE(b->setWidth(0));  // an empty element is allowed
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(CanvasTest, ChangesAreReportedWithBothRectangles)
{
    CanvasShape* frame = canvas.frame(3);
    QSignalSpy spy(&canvas, &Canvas::itemChanged);
    frame->setGeometry(10, 20, 30, 40);
    frame->setGeometry(10, 20, 30, 40);      // no change, no report
    frame->setLeft(10.25);                   // small steps are changes too
    frame->setVisible(true);
    frame->setColor(Qt::red);
    ASSERT_EQ(spy.count(), 4);
    EXPECT_EQ(spy[0][0].value<CanvasItem*>(), frame);
    EXPECT_EQ(spy[0][1].toRectF(), QRectF());
    EXPECT_EQ(spy[0][2].toRectF(), QRectF(10, 20, 30, 40));
    EXPECT_EQ(spy[1][2].toRectF().x(), 10.25);
    EXPECT_EQ(spy[2][1].toRectF(), spy[2][2].toRectF());
}

TEST_F(CanvasTest, PicturesLoadFromBitmapFilesAndFailEmpty)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage image(12, 7, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString good = dir.filePath("button.bmp");
    ASSERT_TRUE(image.save(good, "BMP"));
    const QString garbage = dir.filePath("broken.bmp");
    {
        QFile f(garbage);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("BM this is not a bitmap");
    }
    QFile::copy(good, dir.filePath("cut.bmp"));
    QFile::resize(dir.filePath("cut.bmp"), 40);

    CanvasBitmap* b = canvas.bitmap(0);
    const struct { QString path; bool loads; } rows[] = {
        // Every failure follows a success, so a failed load must drop the previous picture.
        {good, true}, {dir.filePath("missing.bmp"), false}, {good, true}, {garbage, false}, {good, true},
        {dir.filePath("cut.bmp"), false}, {good, true}, {dir.path(), false}, {good, true}, {QString(), false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.path.toStdString());
        EXPECT_EQ(b->loadPicture(r.path), r.loads);
        EXPECT_EQ(b->picture().isNull(), !r.loads);
        if (r.loads) {
            EXPECT_EQ(b->picture().size(), QSize(12, 7));
        }
    }
}

} // namespace

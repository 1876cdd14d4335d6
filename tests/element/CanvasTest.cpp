#include "Canvas.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

class CanvasTest : public ::testing::Test
{
protected:
    Canvas canvas;
};

TEST_F(CanvasTest, OnlyRealChangesAreReportedWithBothRectangles)
{
    CanvasShape* frame = canvas.frame(3);
    QSignalSpy spy(&canvas, &Canvas::itemChanged);
    frame->setGeometry(10, 20, 30, 40);
    frame->setGeometry(10, 20, 30, 40);      // no change, no report
    EXPECT_FALSE(frame->setWidth(-15));      // refused, no report
    frame->setLeft(10.25);                   // small steps are changes too
    frame->setVisible(true);
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy[0][2].toRectF(), QRectF(10, 20, 30, 40));
    EXPECT_EQ(spy[1][1].toRectF(), QRectF(10, 20, 30, 40));
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
    writeFile(garbage, "BM this is not a bitmap");
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
    // A bitmap replaced on disk shows anew, however often it was shown before.
    QImage wider(20, 7, QImage::Format_RGB32);
    wider.fill(Qt::red);
    ASSERT_TRUE(wider.save(good, "BMP"));
    EXPECT_TRUE(b->loadPicture(good));
    EXPECT_EQ(b->picture().size(), QSize(20, 7));
}

} // namespace
